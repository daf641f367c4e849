#include "xml_output.h"

#include <cstdint>

#include "output.h"

namespace vldr {
namespace {

// The Unicode characters of windows-1252's bytes 0x80 to 0x9F; 0 where the
// byte names none. The other bytes are the Unicode characters of their value.
constexpr std::uint16_t kWindows1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,       // 0x88
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,  // 0x98
};

// U+FFFD, written for a byte that names no character XML may hold.
constexpr std::uint32_t kReplacementCharacter = 0xFFFD;

// The character a windows-1252 byte stands for in an XML document.
std::uint32_t characterOf(unsigned char byte)
{
    if (byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r') return kReplacementCharacter;
    if (byte >= 0x80 && byte < 0xA0) {
        const std::uint32_t mapped = kWindows1252High[byte - 0x80];
        return mapped ? mapped : kReplacementCharacter;
    }
    return byte;
}

// Appends one character (below U+10000) as UTF-8.
void appendUtf8(std::string& out, std::uint32_t character)
{
    if (character < 0x80) {
        out += static_cast<char>(character);
    } else if (character < 0x800) {
        out += static_cast<char>(0xC0 | (character >> 6));
        out += static_cast<char>(0x80 | (character & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (character >> 12));
        out += static_cast<char>(0x80 | ((character >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (character & 0x3F));
    }
}

}  // namespace

void appendUtf8Text(std::string& out, std::string_view text)
{
    for (const char c : text) appendUtf8(out, characterOf(static_cast<unsigned char>(c)));
}

void appendXmlText(std::string& out, std::string_view text)
{
    for (const char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&apos;"; break;
        default: appendUtf8(out, characterOf(static_cast<unsigned char>(c))); break;
        }
    }
}

void writeUtf8XmlText(std::string_view text)
{
    std::string storage;
    appendXmlText(storage, text);
    writeText(storage);
}

}  // namespace vldr
