#pragma once

#include "base/Exception.h"

#include <string>

// Errors of the HTTP client. Each class builds its message in one place.

// Root of the client's errors; also the class of the framing failures.
class ENxException : public Exception {
public:
    using Exception::Exception;
    const char* ClassName() const noexcept override { return "ENxException"; }

    static ENxException UndefinedSituation();   // "Undefined situation"
    static ENxException InvalidChunkSize();     // "Invalid chunk size"
    static ENxException ChunkNotTerminated();   // chunk data not followed by CR LF
    static ENxException HeaderBlockTooLarge();  // names kMaxHeaderBlockBytes
    static ENxException BodyTooLarge();         // names kMaxBodyBytes
};

// A socket call failed: "Socket Error # %d\r\n%s".
class ENxSocketError : public ENxException {
public:
    explicit ENxSocketError(int code);
    const char* ClassName() const noexcept override { return "ENxSocketError"; }
    int LastError() const { return code_; }
    // The text after the CR LF; empty for a number the table does not know.
    static const char* ErrorText(int code);

private:
    int code_;
};

class ENxConnClosedGracefully : public ENxException {
public:
    ENxConnClosedGracefully();
    const char* ClassName() const noexcept override { return "ENxConnClosedGracefully"; }
};

class ENxReadTimeout : public ENxException {
public:
    ENxReadTimeout();
    const char* ClassName() const noexcept override { return "ENxReadTimeout"; }
};

class ENxReadLnMaxLineLengthExceeded : public ENxException {
public:
    ENxReadLnMaxLineLengthExceeded();
    const char* ClassName() const noexcept override { return "ENxReadLnMaxLineLengthExceeded"; }
};

class ENxNotConnected : public ENxException {
public:
    ENxNotConnected();
    const char* ClassName() const noexcept override { return "ENxNotConnected"; }
};

class ENxIOHandlerPropInvalid : public ENxException {
public:
    ENxIOHandlerPropInvalid();
    const char* ClassName() const noexcept override { return "ENxIOHandlerPropInvalid"; }
};

class ENxUnknownProtocol : public ENxException {
public:
    ENxUnknownProtocol();
    const char* ClassName() const noexcept override { return "ENxUnknownProtocol"; }
};

class ENxInvalidSocket : public ENxException {
public:
    ENxInvalidSocket();
    const char* ClassName() const noexcept override { return "ENxInvalidSocket"; }
};

class ENxStackInitializationFailed : public ENxException {
public:
    ENxStackInitializationFailed();
    const char* ClassName() const noexcept override { return "ENxStackInitializationFailed"; }
};

class ENxWS2StubError : public ENxException {
public:
    using ENxException::ENxException;
    const char* ClassName() const noexcept override { return "ENxWS2StubError"; }
    static ENxWS2StubError LibraryNotLoaded();                       // names "WS2_32.DLL"
    static ENxWS2StubError FunctionNotFound(const std::string& name);
};

// A reply whose status is not what the call can use.
class ENxProtocolReplyError : public ENxException {
public:
    ENxProtocolReplyError(int code, std::string message) : ENxException(std::move(message)), code_(code) {}
    const char* ClassName() const noexcept override { return "ENxProtocolReplyError"; }
    int ErrorCode() const { return code_; }

private:
    int code_;
};

// Any final status other than 2xx, and every redirect: the message is the
// status line, the body of the error answer travels along.
class ENxHTTPProtocolException : public ENxProtocolReplyError {
public:
    ENxHTTPProtocolException(const std::string& status_line, int code, std::string body)
        : ENxProtocolReplyError(code, status_line), body_(std::move(body)) {}
    const char* ClassName() const noexcept override { return "ENxHTTPProtocolException"; }
    const std::string& ErrorMessage() const { return body_; }

private:
    std::string body_;
};
