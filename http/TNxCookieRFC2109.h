#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

// One cookie from a "Set-cookie" line.
class TNxCookieRFC2109 {
public:
    virtual ~TNxCookieRFC2109() = default;

    std::string Name;
    std::string Value;
    std::string Path;     // empty when the line gave none
    std::string Domain;   // the request's host when the line gave none
    std::string Expires;  // date text; empty: lives as long as the program
    int64_t MaxAge = -1;  // -1 when absent or not a number
    bool Secure = false;
    std::string Version;
    std::string Comment;

    // Reads "name=value; Attr=value; Flag"; now_utc dates a MAX-AGE.
    void Load(std::string_view text, int64_t now_utc);
    virtual std::unique_ptr<TNxCookieRFC2109> Clone() const { return std::make_unique<TNxCookieRFC2109>(*this); }

protected:
    // Takes one attribute (name upper-cased); false when it is not one of ours.
    virtual bool take_attribute(const std::string& name, std::string_view value);
};
