#include "site_address.h"

#include <cstdlib>
#include <string_view>

namespace vldr {
namespace {

// Longest host and port taken (characters): a host name has at most 253,
// a port 6 more with its colon.
constexpr std::size_t kMaxHostLength = 259;

bool isHostText(std::string_view text)
{
    if (text.empty() || text.size() > kMaxHostLength) return false;
    for (const char c : text) {
        const bool allowed = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                             c == '.' || c == '-' || c == ':' || c == '[' || c == ']';
        if (!allowed) return false;
    }
    return true;
}

}  // namespace

std::string siteAddress()
{
    const char* host = std::getenv("HTTP_HOST");
    if (!host || !isHostText(host)) return {};
    const char* https = std::getenv("HTTPS");
    const bool secure = https && std::string_view(https) == "on";
    return (secure ? "https://" : "http://") + std::string(host);
}

}  // namespace vldr
