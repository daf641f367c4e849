#include "captured_output.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace vldr::fuzz {

std::string captureStandardOutput(const std::function<void()>& action)
{
    std::fflush(stdout);
    char* buffer = nullptr;
    std::size_t size = 0;
    FILE* memory = open_memstream(&buffer, &size);
    if (!memory) std::abort();
    FILE* const saved = stdout;
    stdout = memory;  // glibc's stdout is an assignable variable
    action();
    stdout = saved;
    std::fclose(memory);
    std::string text(buffer, size);
    std::free(buffer);
    return text;
}

std::string queryTextOf(const unsigned char* data, std::size_t size)
{
    const void* zero = std::memchr(data, 0, size);
    const std::size_t length = zero ? static_cast<const unsigned char*>(zero) - data : size;
    return std::string(reinterpret_cast<const char*>(data), length);
}

}  // namespace vldr::fuzz
