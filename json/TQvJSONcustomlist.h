#pragma once

#include "json/TQvJSONbase.h"

#include <memory>
#include <string>

// Base of the containers: an ordered list of owned children.
class TQvJSONcustomlist : public TQvJSONbase {
public:
    TQvJSONcustomlist() = default;
    // Frees the children from the last to the first.
    ~TQvJSONcustomlist() override;

    TQvJSONbase* ChildAt(int32_t position) const override;
    void SetChildAt(int32_t position, std::unique_ptr<TQvJSONbase> value) override;
    int32_t ChildCount() const override;
    // A numeric key (truncated, saturated) reads the child at that position.
    TQvJSONbase* Lookup(const Variant& key) override;

    // The value at a position and its name (a list names it by its position).
    virtual TQvJSONbase* EntryAt(int32_t position, std::string& name);
    // Appends and gives the new position; none is refused with -1.
    virtual int32_t AppendChild(std::unique_ptr<TQvJSONbase> value);
    // Frees the child; the last child moves into its place.
    virtual void RemoveChildAt(int32_t position);
    // The position of that very value, or -1.
    virtual int32_t IndexOfChild(const TQvJSONbase* value) const;

    // Typed reads of the value at a position: none gives the default, a value
    // of another kind raises EInvalidCast.
    virtual int32_t IntAt(int32_t position) const;
    virtual std::string TextAt(int32_t position) const;
    virtual std::u16string WideTextAt(int32_t position) const;
    virtual double DoubleAt(int32_t position) const;
    virtual bool BoolAt(int32_t position) const;

    // Room for this many children without growing again.
    void ReserveChildren(size_t count);

protected:
    static int32_t IntOf(const TQvJSONbase* value);
    static std::string TextOf(const TQvJSONbase* value);
    static std::u16string WideTextOf(const TQvJSONbase* value);
    static double DoubleOf(const TQvJSONbase* value);
    static bool BoolOf(const TQvJSONbase* value);

private:
    friend class DocumentParser;

    // The list of a document's container lives in its arena, others on the heap.
    TQvJSONbase** children_ = nullptr;
    int32_t count_ = 0;
    int32_t capacity_ = 0;
};
