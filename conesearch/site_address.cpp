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

bool isPortText(std::string_view text)
{
    if (text.empty() || text.size() > 5) return false;
    for (const char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

// True when host ends in a port (a colon after any bracketed IPv6 address).
bool namesPort(std::string_view host)
{
    const std::size_t bracket = host.rfind(']');
    return host.find(':', bracket == std::string_view::npos ? 0 : bracket) != std::string_view::npos;
}

}  // namespace

std::string siteAddress()
{
    const char* host = std::getenv("HTTP_HOST");
    if (!host || !isHostText(host)) return {};
    const char* https = std::getenv("HTTPS");
    const bool secure = https && std::string_view(https) == "on";
    std::string address = (secure ? "https://" : "http://") + std::string(host);
    // Some servers pass the host without the port the client named (Debian's
    // nginx, for one): the port the request came in on then stands for it.
    const char* port = std::getenv("SERVER_PORT");
    if (!namesPort(host) && port && isPortText(port) && std::string_view(port) != (secure ? "443" : "80"))
        address += ":" + std::string(port);
    return address;
}

}  // namespace vldr
