#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// How text outside ASCII goes into a JSON string.
enum class NonAsciiText {
    Raw,     // the UTF-8 bytes themselves
    Escaped, // \uXXXX escapes, surrogate pairs above U+FFFF
};

// Builds JSON text member by member, in the order of the calls, so that the position of a
// member in the document is under the caller's control. Commas come by themselves.
// Input text is UTF-8; a malformed sequence becomes U+FFFD, so the output is always valid.
class JsonWriter {
public:
    void BeginObject();
    void EndObject();
    void BeginArray();
    void EndArray();
    void Key(std::string_view name);

    void String(std::string_view utf8, NonAsciiText form = NonAsciiText::Raw);
    void Integer(std::int64_t value);
    // A number given in hundredths, written in its shortest form: 8950 -> 89.5, 900 -> 9.
    void Hundredths(std::int64_t hundredths);
    void Bool(bool value);
    void Null();

    void Reserve(std::size_t bytes) { out_.reserve(bytes); }
    const std::string& Text() const { return out_; }
    std::string TakeText() { return std::move(out_); }

private:
    void BeforeValue();
    void Open(char bracket);
    void Close(char bracket);

    std::string out_;
    std::vector<bool> level_has_member_;
    bool after_key_ = false;
};

// The shortest decimal text of a value in hundredths: 8950 -> "89.5", -5 -> "-0.05".
std::string hundredths_text(std::int64_t hundredths);
// Always two decimals: 8950 -> "89.50".
std::string hundredths_text_fixed(std::int64_t hundredths);
