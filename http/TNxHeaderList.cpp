#include "http/TNxHeaderList.h"

#include "http/AnsiText.h"

#include <cstddef>

namespace {

bool is_continuation(const std::string& line)
{
    return !line.empty() && (line[0] == ' ' || line[0] == '\t');
}

std::string_view name_of(std::string_view line)
{
    size_t colon = ansi::find(line, ':');
    return colon == ansi::npos ? line : line.substr(0, colon);
}

} // namespace

size_t TNxHeaderList::index_of(std::string_view name) const
{
    for (size_t i = 0; i < lines_.size(); ++i) {
        if (!is_continuation(lines_[i]) && ansi::equals_ignore_case(ansi::trim(name_of(lines_[i])), name))
            return i;
    }
    return lines_.size();
}

size_t TNxHeaderList::span_at(size_t index) const
{
    size_t end = index + 1;
    while (end < lines_.size() && is_continuation(lines_[end]))
        ++end;
    return end - index;
}

std::string TNxHeaderList::value_at(size_t index) const
{
    std::string_view line = lines_[index];
    size_t colon = ansi::find(line, ':');
    std::string value = colon == ansi::npos ? std::string() : std::string(ansi::trim(line.substr(colon + 1)));
    for (size_t i = index + 1; i < lines_.size() && is_continuation(lines_[i]); ++i) {
        value += ' ';
        value.append(ansi::trim(lines_[i]));
    }
    return value;
}

std::string TNxHeaderList::Values(std::string_view name) const
{
    size_t index = index_of(name);
    return index < lines_.size() ? value_at(index) : std::string();
}

std::vector<std::string> TNxHeaderList::Extract(std::string_view name) const
{
    std::vector<std::string> values;
    for (size_t i = 0; i < lines_.size(); ++i) {
        if (!is_continuation(lines_[i]) && ansi::equals_ignore_case(ansi::trim(name_of(lines_[i])), name))
            values.push_back(value_at(i));
    }
    return values;
}

void TNxHeaderList::Remove(std::string_view name)
{
    size_t index = index_of(name);
    if (index < lines_.size())
        lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(index),
                     lines_.begin() + static_cast<std::ptrdiff_t>(index + span_at(index)));
}

void TNxHeaderList::SetValue(std::string_view name, std::string_view value)
{
    if (value.empty()) {
        Remove(name);
        return;
    }
    std::string line(name);
    line += ": ";
    line.append(value);
    std::vector<std::string> pieces = fold(std::move(line), name.size() + 2);
    size_t index = index_of(name);
    if (index == lines_.size()) {
        lines_.insert(lines_.end(), pieces.begin(), pieces.end());
        return;
    }
    auto first = lines_.begin() + static_cast<std::ptrdiff_t>(index);
    first = lines_.erase(first, first + static_cast<std::ptrdiff_t>(span_at(index)));
    lines_.insert(first, pieces.begin(), pieces.end());
}

std::vector<std::string> TNxHeaderList::fold(std::string line, size_t value_start) const
{
    std::vector<std::string> pieces;
    while (fold_width_ > 0 && line.size() > fold_width_) {
        // Break after the last blank or comma outside quotes that keeps the
        // piece within the width, else after the first one beyond it.
        size_t last_fit = 0;
        size_t first_beyond = 0;
        bool quoted = false;
        for (size_t i = 0; i < line.size(); ++i) {
            char c = line[i];
            if (ansi::is_lead_byte(static_cast<unsigned char>(c)) && i + 1 < line.size()) {
                ++i;
                continue;
            }
            if (c == '"')
                quoted = !quoted;
            else if (!quoted && i >= value_start && (c == ' ' || c == '\t' || c == ',') && i + 1 < line.size()) {
                if (i + 1 <= fold_width_)
                    last_fit = i + 1;
                else if (first_beyond == 0) {
                    first_beyond = i + 1;
                    break;
                }
            }
        }
        size_t cut = last_fit > 1 ? last_fit : first_beyond;
        if (cut == 0)
            break;
        std::string rest(ansi::trim_left(std::string_view(line).substr(cut)));
        line.erase(cut);
        pieces.emplace_back(ansi::trim_right(line));
        if (rest.empty()) {
            line.clear();
            break;
        }
        line = " " + rest;
        value_start = 1;
    }
    if (!line.empty())
        pieces.emplace_back(ansi::trim_right(line));
    return pieces;
}

std::string TNxHeaderList::Text() const
{
    std::string text;
    for (const auto& line : lines_) {
        text += line;
        text += "\r\n";
    }
    return text;
}
