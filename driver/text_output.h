// Copying text into buffers the application owns, by ODBC's rule: cut to
// the buffer less one byte, always terminated, the full length reported.
#pragma once

#include <sql.h>

#include <cstring>
#include <string_view>

namespace vldr::driver {

// Copies text into buffer (bufferLength bytes; nothing is written when the
// buffer is null or has no room) and writes the text's full length in bytes
// to *length when length is not null. Returns true when the text was cut.
template <typename Length>
bool copyText(std::string_view text, SQLPOINTER buffer, SQLLEN bufferLength, Length* length)
{
    if (length) *length = static_cast<Length>(text.size());
    if (buffer == nullptr || bufferLength <= 0) return !text.empty() && buffer != nullptr;
    const std::size_t room = static_cast<std::size_t>(bufferLength) - 1;
    const std::size_t count = text.size() < room ? text.size() : room;
    std::memcpy(buffer, text.data(), count);
    static_cast<char*>(buffer)[count] = '\0';
    return count < text.size();
}

}  // namespace vldr::driver

namespace vldr::driver {

// An application's text argument of length bytes (SQL_NTS: zero-terminated;
// a null pointer: the empty text).
template <typename Length>
std::string_view textArgument(const SQLCHAR* text, Length length)
{
    if (text == nullptr) return {};
    const char* chars = reinterpret_cast<const char*>(text);
    if (length == SQL_NTS) return std::string_view(chars);
    return length > 0 ? std::string_view(chars, static_cast<std::size_t>(length)) : std::string_view();
}

}  // namespace vldr::driver
