#include "http/PublicSuffix.h"

#include <libpsl.h>

#include <string>

namespace {

// The newest list on the system (the publicsuffix package), else the one
// built into the library. Loaded once, never freed: it lives as long as the
// process.
const psl_ctx_t* suffix_list()
{
    static const psl_ctx_t* const list = [] {
        const psl_ctx_t* latest = psl_latest(nullptr);
        return latest ? latest : psl_builtin();
    }();
    return list;
}

} // namespace

bool IsPublicSuffix(std::string_view domain)
{
    std::string lower(domain);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    if (lower.empty() || lower.find('\0') != std::string::npos)
        return false;
    const psl_ctx_t* list = suffix_list();
    // Without any list every single label counts as a suffix.
    if (!list)
        return lower.find('.') == std::string::npos;
    return psl_is_public_suffix2(list, lower.c_str(), PSL_TYPE_ANY | PSL_TYPE_NO_STAR_RULE) != 0;
}
