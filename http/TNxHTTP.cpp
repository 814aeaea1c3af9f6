#include "http/TNxHTTP.h"

#include "base/ConvertErrors.h"
#include "base/IntegerText.h"
#include "base/TMemoryStream.h"
#include "http/AnsiText.h"
#include "http/ByteChannel.h"
#include "http/HttpErrors.h"
#include "http/RequestTarget.h"
#include "http/TNxCookieManager.h"

#include <algorithm>

namespace {

int port_or_zero(const std::string& text)
{
    try {
        return StrToInt(text);
    } catch (const EConvertError&) {
        return 0;
    }
}

// Joins a relative path onto the directory held; ".." drops a segment.
std::string resolve_path(const std::string& base, const std::string& relative)
{
    std::string joined = base + relative;
    std::vector<std::string> segments;
    size_t start = 0;
    bool ends_with_slash = !joined.empty() && joined.back() == '/';
    while (start <= joined.size()) {
        size_t slash = ansi::find(joined, '/', start);
        std::string segment = joined.substr(start, slash == ansi::npos ? std::string::npos : slash - start);
        if (segment == "..") {
            if (!segments.empty())
                segments.pop_back();
        } else if (!segment.empty() && segment != ".") {
            segments.push_back(segment);
        }
        if (slash == ansi::npos)
            break;
        start = slash + 1;
    }
    std::string path = "/";
    for (const auto& s : segments)
        path += s + "/";
    if (!ends_with_slash && !segments.empty())
        path.pop_back();
    return path;
}

// The size of a chunk: hexadecimal digits up to a blank or ";".
int64_t chunk_size_of(std::string_view line)
{
    line = ansi::trim(line);
    size_t end = line.find_first_of(" \t;");
    std::string_view digits = line.substr(0, end);
    if (digits.empty())
        throw ENxException::InvalidChunkSize();
    uint64_t size = 0;
    for (char c : digits) {
        int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
        if (digit < 0)
            throw ENxException::InvalidChunkSize();
        if (size > (UINT64_MAX >> 4))
            throw ENxException::BodyTooLarge();
        size = size * 16 + static_cast<uint64_t>(digit);
    }
    if (size > static_cast<uint64_t>(kMaxBodyBytes))
        throw ENxException::BodyTooLarge();
    return static_cast<int64_t>(size);
}

} // namespace

TNxHTTP::TNxHTTP() : TNxHTTP(MakeSocketOpener()) {}

TNxHTTP::TNxHTTP(std::unique_ptr<ChannelOpener> opener) : opener_(std::move(opener)), connection_(*opener_) {}

TNxHTTP::~TNxHTTP()
{
    connection_.Close();
}

void TNxHTTP::SetCookieManager(std::unique_ptr<TNxCookieManager> manager)
{
    cookie_manager_ = std::move(manager);
}

void TNxHTTP::Get(const std::string& url, TMemoryStream& stream)
{
    auth_retry_count_ = 0;
    proxy_auth_retry_count_ = 0;
    ++redirect_count_;
    set_limits();
    try {
        prepare_request(url);
        bool reused = choose_connection();
        try {
            send_request();
            read_response(stream);
        } catch (const ENxException& e) {
            if (!reused || !closed_before_answer(e))
                throw;
            // The server closed the kept connection as the request went out,
            // so it was never seen: a GET may be sent once more.
            connection_.Close();
            open_connection();
            send_request();
            read_response(stream);
        }
    } catch (...) {
        // A half-read answer would be taken for the next one.
        if (!response_consumed_)
            connection_.Close();
        response_consumed_ = true;
        set_limits();
        end_of_call();
        throw;
    }
    redirect_count_ = 0;
    end_of_call();
}

void TNxHTTP::set_limits()
{
    connection_.SetReadTimeout(ReadTimeout > 0 ? ReadTimeout : kReadTimeoutMs);
    connection_.SetConnectTimeout(ReadTimeout > 0 ? ReadTimeout : kConnectTimeoutMs);
}

bool TNxHTTP::closed_before_answer(const ENxException& e) const
{
    if (!ansi::equals_ignore_case(Request.Method, "GET") || !sent_on_empty_buffer_ ||
        connection_.Received() != received_at_send_)
        return false;
    if (dynamic_cast<const ENxConnClosedGracefully*>(&e) || dynamic_cast<const ENxNotConnected*>(&e))
        return true;
    const auto* socket_error = dynamic_cast<const ENxSocketError*>(&e);
    return socket_error && (socket_error->LastError() == 10053 || socket_error->LastError() == 10054 ||
                            socket_error->LastError() == 10058);
}

void TNxHTTP::prepare_request(const std::string& url)
{
    TNxURI l = TNxURI::Split(url);
    if (!l.Username.empty()) {
        Request.Username = l.Username;
        Request.Password = l.Password;
        uri_.Username = Request.Username;
        uri_.Password = Request.Password;
    }
    uri_.Path = l.Path.starts_with('/') ? l.Path : resolve_path(uri_.Path, l.Path);
    uri_.Document = l.Document;
    uri_.Params = l.Params;
    if (!l.Host.empty())
        uri_.Host = l.Host;
    uri_.Protocol = l.Protocol.empty() ? "http" : l.Protocol;
    if (!l.Port.empty()) {
        uri_.Port = l.Port;
    } else {
        int held = port_or_zero(uri_.Port);
        if (held == 0 || held == 80 || held == 443) {
            if (ansi::equals_ignore_case(uri_.Protocol, "http"))
                uri_.Port = "80";
            else if (ansi::equals_ignore_case(uri_.Protocol, "https"))
                uri_.Port = "443";
            else
                throw ENxUnknownProtocol();
        }
    }
    Request.URL = EncodeRequestTarget(uri_.Path + uri_.Document + uri_.Params);
    Request.ContentLength = -1;
    Request.Host = uri_.Port == "80" ? uri_.Host : uri_.Host + ":" + uri_.Port;
}

bool TNxHTTP::choose_connection()
{
    int port = StrToInt(uri_.Port);
    if (!ansi::equals_ignore_case(connection_host_, uri_.Host) || connection_port_ != port) {
        connection_.Close();
        connection_host_ = uri_.Host;
        connection_port_ = port;
    }
    if (ansi::equals_ignore_case(uri_.Protocol, "https"))
        throw ENxIOHandlerPropInvalid();
    if (ProtocolVersion == TNxHTTPProtocolVersion::pv1_0 && Request.Connection.empty())
        Request.Connection = "keep-alive";
    connection_.CloseIfPeerClosed();
    if (connection_.Connected() && !Response.HeadersAllowKeepAlive(ProtocolVersion))
        connection_.Close();
    connection_.CheckForDisconnect();
    if (connection_.Connected())
        return true;
    open_connection();
    return false;
}

void TNxHTTP::open_connection()
{
    connection_.Open(connection_host_, connection_port_);
    ++connections_opened_;
}

void TNxHTTP::send_request()
{
    std::string cookie;
    if (cookie_manager_)
        cookie = cookie_manager_->GenerateCookieList(uri_, false);
    std::string version = ProtocolVersion == TNxHTTPProtocolVersion::pv1_0 ? "1.0" : "1.1";
    std::string head = Request.ComposeHead(version, cookie);
    response_consumed_ = false;
    sent_on_empty_buffer_ = connection_.Buffered() == 0;
    received_at_send_ = connection_.Received();
    connection_.Write(head);
}

std::string TNxHTTP::read_header_line(int64_t& header_bytes)
{
    std::string line = connection_.ReadLn();
    header_bytes += static_cast<int64_t>(line.size()) + 2;
    if (header_bytes > kMaxHeaderBlockBytes)
        throw ENxException::HeaderBlockTooLarge();
    return line;
}

void TNxHTTP::read_response(TMemoryStream& stream)
{
    int64_t header_bytes = 0;
    Response.Clear();
    Response.ContentStream = &stream;
    do {
        Response.ResponseText = read_header_line(header_bytes);
        Response.RawHeaders.Clear();
        try {
            for (;;) {
                std::string line = read_header_line(header_bytes);
                if (line.empty())
                    break;
                Response.RawHeaders.Add(std::move(line));
            }
        } catch (const ENxConnClosedGracefully&) {
            if (Response.RawHeaders.Count() == 0)
                throw;
            connection_.Close();
        }
        Response.ParseHeaderFields();
        take_cookies();
        Response.ResponseCode = TNxHTTPResponse::CodeFromStatusLine(Response.ResponseText);
        // Interim answers (100 Continue, 103 Early Hints, ...) precede the
        // real one; 101 would switch protocols and ends the call as an error.
    } while (Response.ResponseCode / 100 == 1 && Response.ResponseCode != 101);

    int code = Response.ResponseCode;
    bool redirect = (code / 100 == 3 && code != 304) || !Response.Location.empty();
    if (redirect || code / 100 != 2) {
        if (!redirect && code == 401)
            ++auth_retry_count_;
        else if (!redirect && code == 407)
            ++proxy_auth_retry_count_;
        else if (code == 101)
            connection_.Close();  // it no longer speaks HTTP
        raise_status_error();
    }
    if (!connection_.Connected())
        throw ENxException::UndefinedSituation();
    read_body(stream);
    response_consumed_ = true;
}

void TNxHTTP::raise_status_error()
{
    TMemoryStream body;
    int saved = connection_.ReadTimeout();
    connection_.SetReadTimeout(kErrorBodyTimeoutMs);
    read_body(body);
    connection_.SetReadTimeout(saved);
    response_consumed_ = true;
    std::string text(reinterpret_cast<const char*>(body.Memory()), static_cast<size_t>(body.Size()));
    throw ENxHTTPProtocolException(Response.ResponseText, Response.ResponseCode, std::move(text));
}

void TNxHTTP::read_body(TMemoryStream& stream)
{
    int code = Response.ResponseCode;
    // These never have a body, whatever their headers say.
    if (code / 100 == 1 || code == 204 || code == 304) {
    } else if (Response.ContentLength > 0) {
        if (Response.ContentLength > kMaxBodyBytes)
            throw ENxException::BodyTooLarge();
        int64_t end = stream.Position() + Response.ContentLength;
        if (stream.Size() < end)
            stream.SetSize(end);
        connection_.ReadBytes(stream, Response.ContentLength);
    } else if (Response.RawHeaders.Values("Transfer-Encoding").find("chunked") != std::string::npos) {
        read_chunked(stream);
    } else if (!Response.HasContentLength) {
        connection_.ReadUntilClose(stream, kMaxBodyBytes);
    }
    if (stream.Size() > stream.Position())
        stream.SetSize(stream.Position());
}

void TNxHTTP::read_chunked(TMemoryStream& stream)
{
    int64_t total = 0;
    for (;;) {
        int64_t size = chunk_size_of(connection_.ReadLn());
        if (size == 0)
            break;
        if (size > kMaxBodyBytes - total)
            throw ENxException::BodyTooLarge();
        if (connection_.ReadBytes(stream, size) < size)
            throw ENxConnClosedGracefully();
        total += size;
        if (!connection_.ReadCrLf())
            throw ENxException::ChunkNotTerminated();
    }
    // Trailer lines up to the empty line, so the next answer starts clean.
    int64_t trailer_bytes = 0;
    while (!read_header_line(trailer_bytes).empty()) {
    }
}

void TNxHTTP::take_cookies()
{
    if (!cookie_manager_ && AllowCookies)
        cookie_manager_ = std::make_unique<TNxCookieManager>();
    if (!cookie_manager_)
        return;
    for (const auto& value : Response.RawHeaders.Extract("Set-cookie"))
        cookie_manager_->AddCookie(value, uri_.Host);
    for (const auto& value : Response.RawHeaders.Extract("Set-cookie2"))
        cookie_manager_->AddCookie2(value, uri_.Host);
}

void TNxHTTP::end_of_call()
{
    Response.ContentStream = nullptr;  // the caller's stream is only lent for the call
    connection_.CloseIfPeerClosed();
    if (connection_.Connected() && !Response.HeadersAllowKeepAlive(ProtocolVersion))
        connection_.Close();
}
