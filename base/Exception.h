#pragma once

#include <exception>
#include <string>

// Root of every error the system raises. The message is 8-bit text in the
// ANSI code page (GBK), exactly as the user will see it.
class Exception : public std::exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}

    const std::string& Message() const noexcept { return message_; }
    const char* what() const noexcept override { return message_.c_str(); }
    // The class name as the error report and the diagnostics print it.
    virtual const char* ClassName() const noexcept { return "Exception"; }

private:
    std::string message_;
};
