#pragma once

#include "json/DocumentArena.h"
#include "json/Variant.h"

#include <cstdint>
#include <memory>

// The kind of a value, numbered as stored.
enum TQvJSONkind : uint8_t { jsBase = 0, jsNumber, jsString, jsBoolean, jsNull, jsList, jsObject };

// Root of every JSON value. Values handed out by ChildAt, Lookup and the
// object's lookups are borrowed: they live as long as the root of their tree.
class TQvJSONbase {
public:
    TQvJSONbase() = default;
    virtual ~TQvJSONbase() = default;
    TQvJSONbase(const TQvJSONbase&) = delete;
    TQvJSONbase& operator=(const TQvJSONbase&) = delete;

    // Null unless the value is a leaf.
    virtual Variant AsVariant() const;
    // Ignored unless the value is a leaf.
    virtual void SetAsVariant(const Variant& value);
    // None unless a container holds that position.
    virtual TQvJSONbase* ChildAt(int32_t position) const;
    // Replaces (and frees) a container's child in range; otherwise nothing.
    virtual void SetChildAt(int32_t position, std::unique_ptr<TQvJSONbase> value);
    virtual int32_t ChildCount() const;
    // A member by name or a child by position on a container; any other key,
    // and any key on a leaf, gives the value itself.
    virtual TQvJSONbase* Lookup(const Variant& key);
    virtual TQvJSONkind Kind() const;
    virtual const char* KindName() const;

    // The parsed document the value lives in; none for a value made on the heap.
    DocumentArena* Arena() const { return arena_; }

protected:
    // Gives up a value that `holder` held: a heap value is deleted, a value of
    // a document stays in that document's memory until the document goes.
    static void Release(TQvJSONbase* value, const TQvJSONbase& holder);
    // Takes a heap value over for `holder`.
    static TQvJSONbase* Take(std::unique_ptr<TQvJSONbase> value, const TQvJSONbase& holder);

private:
    friend class DocumentArena;
    DocumentArena* arena_ = nullptr;
};

template <class T, class... Args>
T* DocumentArena::Make(Args&&... args)
{
    T* value = new (Allocate(sizeof(T), alignof(T))) T(std::forward<Args>(args)...);
    value->arena_ = this;
    return value;
}
