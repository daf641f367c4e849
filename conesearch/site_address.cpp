#include "site_address.h"

#include <cstdlib>
#include <string_view>

namespace vldr {
namespace {

bool isHostText(std::string_view text)
{
    if (text.empty()) return false;
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

}  // namespace

std::string siteAddress()
{
    const char* host = std::getenv("SERVER_NAME");
    if (!host || !isHostText(host)) return {};
    const char* https = std::getenv("HTTPS");
    const bool secure = https && std::string_view(https) == "on";
    std::string address = (secure ? "https://" : "http://") + std::string(host);
    const char* port = std::getenv("SERVER_PORT");
    if (port && isPortText(port) && std::string_view(port) != (secure ? "443" : "80")) address += ":" + std::string(port);
    return address;
}

}  // namespace vldr
