#include "output.h"

#include <cstdarg>
#include <cstdio>
#include <string>

namespace vldr {
namespace {

// Where the bytes go instead of standard output while a FastCGI request is
// answered; null for standard output.
std::string* capturedResponse = nullptr;

}  // namespace

void captureOutput(std::string* response)
{
    capturedResponse = response;
}

void writeText(std::string_view text)
{
    if (capturedResponse)
        capturedResponse->append(text);
    else
        std::fwrite(text.data(), 1, text.size(), stdout);
}

void writeLine(std::string_view text)
{
    writeText(text);
    writeText("\n");
}

void writeFormatted(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    if (!capturedResponse) {
        std::vfprintf(stdout, format, args);
        va_end(args);
        return;
    }
    // The same conversion as vfprintf, into the captured response.
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (length > 0) {
        const std::size_t start = capturedResponse->size();
        capturedResponse->resize(start + static_cast<std::size_t>(length) + 1);
        std::vsnprintf(capturedResponse->data() + start, static_cast<std::size_t>(length) + 1, format, args);
        capturedResponse->resize(start + static_cast<std::size_t>(length));
    }
    va_end(args);
}

void writeNumber(double value, double smallLimit, const char* suffix)
{
    if (value < smallLimit)
        writeFormatted("%f%s", value, suffix);
    else
        writeFormatted("%g%s", value, suffix);
}

std::string_view escapeHtml(std::string_view text, std::string& storage)
{
    storage.clear();
    for (char c : text) {
        switch (c) {
        case '&': storage += "&amp;"; break;
        case '<': storage += "&lt;"; break;
        case '>': storage += "&gt;"; break;
        case '"': storage += "&quot;"; break;
        default: storage += c; break;
        }
    }
    return storage;
}

std::string_view escapeXml(std::string_view text, std::string& storage)
{
    storage.clear();
    for (char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        switch (c) {
        case '&': storage += "&amp;"; break;
        case '<': storage += "&lt;"; break;
        case '>': storage += "&gt;"; break;
        case '"': storage += "&quot;"; break;
        case '\'': storage += "&#39;"; break;
        default: storage += (byte < 0x20 && c != '\t' && c != '\n' && c != '\r') ? '?' : c; break;
        }
    }
    return storage;
}

void writeXmlText(std::string_view text)
{
    std::string storage;
    writeText(escapeXml(text, storage));
}

std::string_view escapeUrlQuery(std::string_view rawQuery, std::string& storage)
{
    static constexpr std::string_view kKept = "-_.~%+*=&,;:/!()$@";
    static constexpr char kHexDigits[] = "0123456789ABCDEF";
    storage.clear();
    for (char c : rawQuery) {
        const unsigned char byte = static_cast<unsigned char>(c);
        const bool alphanumeric = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (alphanumeric || kKept.find(c) != std::string_view::npos) {
            storage += c;
        } else {
            storage += '%';
            storage += kHexDigits[byte >> 4];
            storage += kHexDigits[byte & 0xF];
        }
    }
    return storage;
}

void writeQueryText(std::string_view text)
{
    std::string storage;
    writeText(escapeHtml(text, storage));
}

void writePlainTextHeader()
{
    writeText("Content-type: text/plain\n\n");
}

void writeHtmlHead(std::string_view titleLine)
{
    writeFormatted("Content-type: text/html%c%c", 10, 10);
    writeLine("<HTML>");
    writeLine("<HEAD>");
    writeLine("<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=windows-1252\">");
    writeLine("<META NAME=\"viewport\" CONTENT=\"width=device-width, initial-scale=1\">");
    writeLine(titleLine);
    writeLine("</HEAD>");
    writeLine("<BODY>");
}

void writeHtmlClose()
{
    writeLine("</BODY>\n</HTML>");
}

void flushOutput()
{
    std::fflush(stdout);
}

}  // namespace vldr
