// Standard output caught in memory, so that a fuzz target can check the
// whole response a program procedure wrote.
#pragma once

#include <functional>
#include <string>

namespace vldr::fuzz {

// Runs action with the process's standard output stream pointed at memory
// and returns every byte it wrote. The real standard output is restored
// afterwards and receives nothing.
std::string captureStandardOutput(const std::function<void()>& action);

// The input as the CGI program would see it in QUERY_STRING: the bytes up
// to the first byte 0 (an environment value cannot hold one).
std::string queryTextOf(const unsigned char* data, std::size_t size);

}  // namespace vldr::fuzz
