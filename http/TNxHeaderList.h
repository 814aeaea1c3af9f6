#pragma once

#include "http/HttpLimits.h"

#include <string>
#include <string_view>
#include <vector>

// An ordered list of header lines "Name: value". Names match ignoring letter
// case; a line that begins with a space or a tab continues the line before it.
class TNxHeaderList {
public:
    TNxHeaderList() = default;
    explicit TNxHeaderList(size_t fold_width) : fold_width_(fold_width) {}

    void Clear() { lines_.clear(); }
    // Appends one raw line as received.
    void Add(std::string line) { lines_.push_back(std::move(line)); }
    size_t Count() const { return lines_.size(); }
    const std::string& Line(size_t index) const { return lines_[index]; }
    const std::vector<std::string>& Lines() const { return lines_; }

    // Value of the first line of that name, continuations joined; empty when absent.
    std::string Values(std::string_view name) const;
    // Replaces the first line of that name (and its continuations) in place,
    // or appends; an empty value removes the line. Lines longer than a
    // fold width given at construction are folded.
    void SetValue(std::string_view name, std::string_view value);
    void Remove(std::string_view name);
    // The values of every line of that name, in list order.
    std::vector<std::string> Extract(std::string_view name) const;
    // Every line followed by CR LF.
    std::string Text() const;

private:
    // Index of the first line of that name, or Count().
    size_t index_of(std::string_view name) const;
    // Number of lines the header at index spans (itself plus continuations).
    size_t span_at(size_t index) const;
    std::string value_at(size_t index) const;
    // Pieces of a set line; breaks only inside the value, which starts at value_start.
    std::vector<std::string> fold(std::string line, size_t value_start) const;

    std::vector<std::string> lines_;
    size_t fold_width_ = 0;  // 0: never folded (servers refuse folded lines)
};
