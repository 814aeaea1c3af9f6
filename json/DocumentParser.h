#pragma once

#include "json/TQvJSONbase.h"

#include <cstdint>
#include <cstring>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class DocumentArena;
class TQvJSONcustomlist;
class TQvJSONobject;

// One parse of one document: a recursive descent, one function per rule. A
// rule that fails returns none and leaves the position where it was; errors
// (a bad \u escape, a number out of range, nesting too deep) are raised and
// end the whole parse. Every value is placed in the document's arena; what a
// failed rule had built stays there unused, and any failure fails the whole
// document, whose arena then goes.
class DocumentParser {
public:
    DocumentParser(std::span<const uint8_t> text, DocumentArena& arena);

    // The first value from `position` on, or none.
    TQvJSONbase* ParseValue(size_t& position, int depth);

private:
    void SkipBlanks(size_t& position) const;
    TQvJSONbase* ParseBooleanLiteral(size_t& position) const;
    TQvJSONbase* ParseNullLiteral(size_t& position) const;
    TQvJSONbase* ParseNumber(size_t& position) const;
    bool ParseDigits(size_t& position) const;
    TQvJSONbase* ParseString(size_t& position);
    // The decoded units are placed in the arena.
    bool ParseStringText(size_t& position, std::u16string_view& text);
    TQvJSONbase* ParseList(size_t& position, int depth);
    TQvJSONbase* ParseObject(size_t& position, int depth);
    TQvJSONbase* ParsePair(size_t& position, int depth);
    // The children of the list or object at `position`, bracketed by `open`
    // and `close`, each read by `child`, are left pending from the returned
    // index on; none when the text there is not such a container.
    template <class Child>
    std::optional<size_t> ParseChildren(size_t& position, int depth, char open, char close, Child child);
    bool StartsWith(size_t position, std::string_view literal) const;
    std::u16string_view Keep(std::u16string_view units) const;
    // The children of a finished container, from `first` of the pending ones on.
    void MoveChildren(TQvJSONcustomlist& container, size_t first);
    // Fills the name index of a finished object from its pending pairs.
    void IndexMembers(TQvJSONobject& object, size_t first);

    std::span<const uint8_t> text_;
    DocumentArena& arena_;
    // Finished elements of the open containers, innermost last; a container
    // takes its own off the top once it is complete.
    std::vector<TQvJSONbase*> pending_;
    // The member names of the object being indexed and of the one indexed
    // last (units in the arena), and that one.
    std::vector<std::u16string_view> names_;
    std::vector<std::u16string_view> lastNames_;
    const TQvJSONobject* lastIndexed_ = nullptr;
    // Scratch for strings that need decoding, so that the kept text is
    // allocated once at its final size.
    std::string expanded_;
    std::u16string decoded_;
};

// Called from every rule: inline, so that each rule's file has them.
inline void DocumentParser::SkipBlanks(size_t& position) const
{
    while (position < text_.size() && text_[position] < 33)
        ++position;
}

inline bool DocumentParser::StartsWith(size_t position, std::string_view literal) const
{
    return text_.size() - position >= literal.size() &&
           std::memcmp(text_.data() + position, literal.data(), literal.size()) == 0;
}
