#pragma once

#include "http/TNxCookieRFC2109.h"

// One cookie from a "Set-cookie2" line: the same, plus three attributes that
// are kept but not used.
class TNxCookieRFC2965 : public TNxCookieRFC2109 {
public:
    std::string CommentURL;
    bool Discard = false;
    std::string PortList;

    std::unique_ptr<TNxCookieRFC2109> Clone() const override { return std::make_unique<TNxCookieRFC2965>(*this); }

protected:
    bool take_attribute(const std::string& name, std::string_view value) override;
};
