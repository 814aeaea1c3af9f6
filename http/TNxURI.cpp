#include "http/TNxURI.h"

#include "http/AnsiText.h"

namespace {

// The text before the first ":" and after it; without one, all of it is before.
void split_at_colon(const std::string& text, std::string& before, std::string& after)
{
    size_t colon = ansi::find(text, ':');
    before = text.substr(0, colon);
    after = colon == ansi::npos ? std::string() : text.substr(colon + 1);
}

std::string slashes_forward(std::string_view url)
{
    std::string out(url);
    for (size_t i = 0; i < out.size(); ++i) {
        if (ansi::is_lead_byte(static_cast<unsigned char>(out[i])) && i + 1 < out.size())
            ++i;  // the trail byte of a two-byte character may be 0x5C
        else if (out[i] == '\\')
            out[i] = '/';
    }
    return out;
}

// Cuts the rest of a URL into directory piece, Document and Params.
void split_rest(std::string_view rest, bool absolute, std::string& path_piece, TNxURI& uri)
{
    size_t q = ansi::find(rest, '?');
    if (q == ansi::npos)
        q = ansi::find(rest, '=');
    size_t slash = ansi::find_last(rest, '/', q == ansi::npos ? ansi::npos : q);
    size_t e = slash == ansi::npos ? 0 : slash + 1;
    path_piece = std::string(rest.substr(0, e));
    if (q == ansi::npos) {
        uri.Document = std::string(rest);
    } else {
        uri.Document = std::string(rest.substr(0, q));
        uri.Params = std::string(rest.substr(q));
    }
    uri.Document.erase(0, e);
    if (absolute) {
        size_t hash = ansi::find(uri.Document, '#');
        if (hash != ansi::npos) {
            uri.Bookmark = uri.Document.substr(hash + 1);
            uri.Document.erase(hash);
        }
    }
}

} // namespace

TNxURI TNxURI::Split(std::string_view url)
{
    TNxURI uri;
    std::string u = slashes_forward(url);
    std::string path_piece;

    size_t scheme_end = ansi::find(u, "://");
    if (scheme_end != ansi::npos) {
        uri.Protocol = u.substr(0, scheme_end);
        u.erase(0, scheme_end + 3);
        std::string authority;
        size_t slash = ansi::find(u, '/');
        if (slash == ansi::npos) {
            authority = u;
            u.clear();
        } else {
            authority = u.substr(0, slash);
            u.erase(0, slash + 1);
        }
        size_t at = ansi::find(authority, '@');
        if (at != ansi::npos) {
            std::string user_info = authority.substr(0, at);
            authority.erase(0, at + 1);
            split_at_colon(user_info, uri.Username, uri.Password);
            if (uri.Username.empty())
                uri.Password.clear();
        }
        split_at_colon(authority, uri.Host, uri.Port);
        split_rest(u, true, path_piece, uri);
        uri.Path = "/" + path_piece;
    } else {
        split_rest(u, false, path_piece, uri);
        uri.Path = path_piece;
    }

    if (uri.Bookmark.empty()) {
        size_t hash = ansi::find(uri.Params, '#');
        if (hash != ansi::npos) {
            uri.Bookmark = uri.Params.substr(hash + 1);
            uri.Params.erase(hash);
        }
    }
    return uri;
}
