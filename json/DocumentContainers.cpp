// The parser's list, object and pair rules, and how a finished container
// takes its children and an object its name index.
#include "json/DocumentParser.h"

#include "json/DocumentArena.h"
#include "json/ParseAbandoned.h"
#include "json/TQvJSON.h"
#include "json/TQvJSONlist.h"
#include "json/TQvJSONobject.h"
#include "json/TQvJSONobjectmethod.h"

#include <algorithm>
#include <cstddef>
#include <limits>
#include <new>

template <class Child>
std::optional<size_t> DocumentParser::ParseChildren(size_t& position, int depth, char open, char close, Child child)
{
    size_t p = position;
    if (p >= text_.size() || text_[p] != open)
        return std::nullopt;
    if (depth >= TQvJSON::MaxNestingDepth)
        throw EParseAbandoned::NestingTooDeep();
    ++p;
    const size_t first = pending_.size();
    // Commas are optional between children, and one may follow the last.
    while (TQvJSONbase* element = child(p, depth + 1)) {
        pending_.push_back(element);
        SkipBlanks(p);
        if (p < text_.size() && text_[p] == ',')
            ++p;
    }
    SkipBlanks(p);
    if (p >= text_.size() || text_[p] != close) {
        pending_.resize(first);
        return std::nullopt;
    }
    position = p + 1;
    return first;
}

TQvJSONbase* DocumentParser::ParseList(size_t& position, int depth)
{
    const std::optional<size_t> first =
        ParseChildren(position, depth, '[', ']', [this](size_t& p, int d) { return ParseValue(p, d); });
    if (!first)
        return nullptr;
    auto* list = arena_.Make<TQvJSONlist>();
    MoveChildren(*list, *first);
    return list;
}

TQvJSONbase* DocumentParser::ParsePair(size_t& position, int depth)
{
    size_t p = position;
    SkipBlanks(p);
    std::u16string_view name;
    if (!ParseStringText(p, name))
        return nullptr;
    SkipBlanks(p);
    if (p >= text_.size() || text_[p] != ':')
        return nullptr;
    ++p;
    TQvJSONbase* value = ParseValue(p, depth);
    if (!value)
        return nullptr;
    position = p;
    auto* pair = arena_.Make<TQvJSONobjectmethod>();
    pair->name_ = name.data();
    pair->nameSize_ = name.size();
    pair->value_ = value;
    return pair;
}

TQvJSONbase* DocumentParser::ParseObject(size_t& position, int depth)
{
    const std::optional<size_t> first =
        ParseChildren(position, depth, '{', '}', [this](size_t& p, int d) { return ParsePair(p, d); });
    if (!first)
        return nullptr;
    auto* object = arena_.Make<TQvJSONobject>(TQvJSONobject::NameLookup::Indexed, &arena_);
    IndexMembers(*object, *first);
    MoveChildren(*object, *first);
    object->onlyPairs_ = true;
    return object;
}

void DocumentParser::IndexMembers(TQvJSONobject& object, size_t first)
{
    const size_t count = pending_.size() - first;
    names_.clear();
    for (size_t i = first; i < pending_.size(); ++i)
        names_.push_back(static_cast<const TQvJSONobjectmethod*>(pending_[i])->PairName());
    // The objects of a list mostly repeat the names of the one before them:
    // then the index takes the same shape as that one's.
    if (lastIndexed_ && count == lastNames_.size() && std::equal(names_.begin(), names_.end(), lastNames_.begin())) {
        object.NameIndex().CopyShape(lastIndexed_->NameIndex(), names_);
    } else {
        // The index keeps the first position of a name; a repeat is not
        // inserted. Names live in the arena as long as the index.
        for (size_t i = 0; i < count; ++i)
            object.NameIndex().InsertLasting(names_[i], static_cast<int32_t>(i));
    }
    lastIndexed_ = &object;
    lastNames_.swap(names_);
}

void DocumentParser::MoveChildren(TQvJSONcustomlist& container, size_t first)
{
    // Sized to the container once it is complete.
    const size_t count = pending_.size() - first;
    if (count > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
        throw std::bad_alloc();
    if (count > 0) {
        auto** children =
            static_cast<TQvJSONbase**>(arena_.Allocate(count * sizeof(TQvJSONbase*), alignof(TQvJSONbase*)));
        std::copy(pending_.begin() + static_cast<std::ptrdiff_t>(first), pending_.end(), children);
        container.children_ = children;
        container.count_ = static_cast<int32_t>(count);
        container.capacity_ = static_cast<int32_t>(count);
    }
    pending_.resize(first);
}
