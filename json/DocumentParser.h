#pragma once

#include "json/TQvJSONbase.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

class TQvJSONstring;

// One parse of one document: a recursive descent, one function per rule. A
// rule that fails returns none and leaves the position where it was; errors
// (a bad \u escape, a number out of range, nesting too deep) are raised and
// end the whole parse.
class DocumentParser {
public:
    explicit DocumentParser(std::span<const uint8_t> text) : text_(text) {}

    // The first value from `position` on, or none.
    std::unique_ptr<TQvJSONbase> ParseValue(size_t& position, int depth);

private:
    void SkipBlanks(size_t& position) const;
    std::unique_ptr<TQvJSONbase> ParseBooleanLiteral(size_t& position) const;
    std::unique_ptr<TQvJSONbase> ParseNullLiteral(size_t& position) const;
    std::unique_ptr<TQvJSONbase> ParseNumber(size_t& position) const;
    bool ParseDigits(size_t& position) const;
    std::unique_ptr<TQvJSONbase> ParseString(size_t& position);
    bool ParseStringText(size_t& position, std::u16string& text);
    std::unique_ptr<TQvJSONbase> ParseList(size_t& position, int depth);
    std::unique_ptr<TQvJSONbase> ParseObject(size_t& position, int depth);
    std::unique_ptr<TQvJSONbase> ParsePair(size_t& position, int depth);
    bool StartsWith(size_t position, std::string_view literal) const;

    std::span<const uint8_t> text_;
    // Finished elements of the open containers, innermost last; a container
    // takes its own off the top once it is complete.
    std::vector<std::unique_ptr<TQvJSONbase>> pending_;
    // Scratch for strings that need decoding, so that the kept text is
    // allocated once at its final size.
    std::string expanded_;
    std::u16string decoded_;
};
