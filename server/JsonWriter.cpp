#include "server/JsonWriter.h"

#include "server/Utf8Text.h"


void JsonWriter::BeforeValue()
{
    if (after_key_) {
        after_key_ = false;
        return;
    }
    if (!level_has_member_.empty()) {
        if (level_has_member_.back())
            out_ += ',';
        level_has_member_.back() = true;
    }
}

void JsonWriter::Open(char bracket)
{
    BeforeValue();
    out_ += bracket;
    level_has_member_.push_back(false);
}

void JsonWriter::Close(char bracket)
{
    if (!level_has_member_.empty())
        level_has_member_.pop_back();
    out_ += bracket;
}

void JsonWriter::BeginObject() { Open('{'); }
void JsonWriter::EndObject() { Close('}'); }
void JsonWriter::BeginArray() { Open('['); }
void JsonWriter::EndArray() { Close(']'); }

void JsonWriter::Key(std::string_view name)
{
    String(name, NonAsciiText::Raw);
    out_ += ':';
    after_key_ = true;
}

namespace {

void append_u_escape(std::string& out, unsigned unit)
{
    static constexpr char kHex[] = "0123456789abcdef";
    const char escape[6] = {'\\', 'u', kHex[(unit >> 12) & 15], kHex[(unit >> 8) & 15], kHex[(unit >> 4) & 15],
                            kHex[unit & 15]};
    out.append(escape, sizeof escape);
}

bool plain_ascii(unsigned char byte) { return byte >= 0x20 && byte < 0x80 && byte != '"' && byte != '\\'; }

} // namespace

void JsonWriter::String(std::string_view utf8, NonAsciiText form)
{
    BeforeValue();
    out_ += '"';
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        // Runs of text that needs no escape go out in one piece.
        std::size_t run = pos;
        while (run < utf8.size() && plain_ascii(static_cast<unsigned char>(utf8[run])))
            ++run;
        if (run > pos) {
            out_.append(utf8.data() + pos, run - pos);
            pos = run;
            continue;
        }
        const unsigned char byte = static_cast<unsigned char>(utf8[pos]);
        if (byte < 0x80) {
            ++pos;
            switch (byte) {
            case '"': out_ += "\\\""; break;
            case '\\': out_ += "\\\\"; break;
            case '\b': out_ += "\\b"; break;
            case '\f': out_ += "\\f"; break;
            case '\n': out_ += "\\n"; break;
            case '\r': out_ += "\\r"; break;
            case '\t': out_ += "\\t"; break;
            default:
                if (byte < 0x20)
                    append_u_escape(out_, byte);
                else
                    out_ += static_cast<char>(byte);
            }
            continue;
        }
        const char32_t code = next_code_point(utf8, pos);
        if (form == NonAsciiText::Raw) {
            append_utf8(out_, code);
        } else if (code > 0xFFFF) {
            const char32_t v = code - 0x10000;
            append_u_escape(out_, 0xD800u + static_cast<unsigned>(v >> 10));
            append_u_escape(out_, 0xDC00u + static_cast<unsigned>(v & 0x3FF));
        } else {
            append_u_escape(out_, static_cast<unsigned>(code));
        }
    }
    out_ += '"';
}

void JsonWriter::Integer(std::int64_t value)
{
    BeforeValue();
    out_ += std::to_string(value);
}

void JsonWriter::Hundredths(std::int64_t hundredths)
{
    BeforeValue();
    out_ += hundredths_text(hundredths);
}

void JsonWriter::Bool(bool value)
{
    BeforeValue();
    out_ += value ? "true" : "false";
}

void JsonWriter::Null()
{
    BeforeValue();
    out_ += "null";
}

namespace {

// Magnitude split without negating INT64_MIN.
std::string split_hundredths(std::int64_t hundredths, bool keep_zeros)
{
    const bool negative = hundredths < 0;
    const std::uint64_t magnitude =
        negative ? 0u - static_cast<std::uint64_t>(hundredths) : static_cast<std::uint64_t>(hundredths);
    std::string text = negative ? "-" : "";
    text += std::to_string(magnitude / 100);
    const unsigned fraction = static_cast<unsigned>(magnitude % 100);
    if (fraction == 0 && !keep_zeros)
        return text;
    text += '.';
    text += static_cast<char>('0' + fraction / 10);
    if (keep_zeros || fraction % 10 != 0)
        text += static_cast<char>('0' + fraction % 10);
    return text;
}

} // namespace

std::string hundredths_text(std::int64_t hundredths) { return split_hundredths(hundredths, false); }
std::string hundredths_text_fixed(std::int64_t hundredths) { return split_hundredths(hundredths, true); }
