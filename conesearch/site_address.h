// Where this site is reached, for the absolute URLs a cone search answers with.
#pragma once

#include <string>

namespace vldr {

// The scheme and host of this request's site as the client reached it
// ("http://example.org:8080", from HTTPS and the HTTP_HOST header the web
// server passes on, with SERVER_PORT where that names no port and the port
// is not the scheme's own), or an empty text, giving site-relative URLs, when
// HTTP_HOST is absent, longer than a host name and port can be, or holds
// anything but the characters of one.
std::string siteAddress();

}  // namespace vldr
