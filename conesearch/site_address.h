// Where this site is reached, for the absolute URLs a cone search answers with.
#pragma once

#include <string>

namespace vldr {

// The scheme, host and port of this request's site as the web server's CGI
// environment gives them ("http://example.org:8080", from HTTPS,
// SERVER_NAME and SERVER_PORT; the port left out where it is the scheme's
// own), or an empty text, giving site-relative URLs, when SERVER_NAME is
// absent or holds anything but the characters of a host name.
std::string siteAddress();

}  // namespace vldr
