#pragma once

#include <string_view>

// True when domain (no leading dot, any letter case) is a public suffix such
// as "com", "co.uk" or "com.cn", by the system's public suffix list.
bool IsPublicSuffix(std::string_view domain);
