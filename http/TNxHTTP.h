#pragma once

#include "http/HttpConnection.h"
#include "http/HttpLimits.h"
#include "http/TNxHTTPRequest.h"
#include "http/TNxHTTPResponse.h"
#include "http/TNxURI.h"

#include <cstdint>
#include <memory>
#include <set>
#include <string>

class TMemoryStream;
class TNxCookieManager;
class ChannelOpener;
class ENxException;

enum class TNxHTTPOption { hoInProcessAuth, hoKeepOrigProtocol, hoForceEncodeParams };
enum class TNxMaxLineAction { maException, maSplit };

struct TNxProxyConnectionInfo {
    std::string ProxyServer;
    int ProxyPort = 0;
    bool BasicAuthentication = false;
    std::string ProxyUsername;
    std::string ProxyPassword;
};

// The blocking HTTP/1.1 client: one GET at a time over a kept TCP
// connection, with an in-memory cookie store. Every failure is raised.
class TNxHTTP {
public:
    TNxHTTP();
    // Connections come from opener (tests and fuzzing feed bytes from memory).
    explicit TNxHTTP(std::unique_ptr<ChannelOpener> opener);
    ~TNxHTTP();
    TNxHTTP(const TNxHTTP&) = delete;
    TNxHTTP& operator=(const TNxHTTP&) = delete;

    // Fetches url and writes the body into stream at its position.
    void Get(const std::string& url, TMemoryStream& stream);

    TNxHTTPRequest Request;
    TNxHTTPResponse Response;
    TNxProxyConnectionInfo ProxyParams;
    bool AllowCookies = true;
    std::set<TNxHTTPOption> HTTPOptions = {TNxHTTPOption::hoForceEncodeParams};
    // Milliseconds; the limit of every wait for bytes and of the connect.
    // 0 keeps the defaults kReadTimeoutMs and kConnectTimeoutMs.
    int ReadTimeout = 0;
    TNxMaxLineAction MaxLineAction = TNxMaxLineAction::maException;
    const int MaxLineLength = static_cast<int>(kMaxLineLength);
    TNxHTTPProtocolVersion ProtocolVersion = TNxHTTPProtocolVersion::pv1_1;
    bool HandleRedirects = false;
    int RedirectMaximum = 15;
    int AuthRetries = 3;
    int Port = 80;
    const int RecvBufferSize = static_cast<int>(kRecvBufferSize);

    // The store, once the first answer has created it.
    TNxCookieManager* CookieManager() const { return cookie_manager_.get(); }
    // Replaces the store (and frees the one the client made).
    void SetCookieManager(std::unique_ptr<TNxCookieManager> manager);
    // The URI that each request URL is merged into.
    const TNxURI& URL() const { return uri_; }
    bool Connected() const { return connection_.Connected(); }
    // TCP connections opened so far.
    int64_t ConnectionsOpened() const { return connections_opened_; }
    // Closes the kept connection.
    void Disconnect() { connection_.Close(); }

private:
    void set_limits();
    void prepare_request(const std::string& url);
    // True when a kept connection is used.
    bool choose_connection();
    void open_connection();
    // The failure is a close or reset of the connection before any byte of
    // the answer, for a request that may be repeated.
    bool closed_before_answer(const ENxException& e) const;
    void send_request();
    void read_response(TMemoryStream& stream);
    std::string read_header_line(int64_t& header_bytes);
    void read_body(TMemoryStream& stream);
    void read_chunked(TMemoryStream& stream);
    void take_cookies();
    [[noreturn]] void raise_status_error();
    void end_of_call();

    std::unique_ptr<ChannelOpener> opener_;
    HttpConnection connection_;
    std::string connection_host_;
    int connection_port_ = 0;
    TNxURI uri_;
    std::unique_ptr<TNxCookieManager> cookie_manager_;
    int redirect_count_ = 0;
    int auth_retry_count_ = 0;
    int proxy_auth_retry_count_ = 0;
    bool response_consumed_ = true;
    int64_t connections_opened_ = 0;
    bool sent_on_empty_buffer_ = false;
    int64_t received_at_send_ = 0;
};
