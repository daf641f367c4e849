// The property that keeps a decoded value inside its SQL literal: every
// single quote comes doubled, so the value between two quotes stays one
// string literal however it was written in the query.
#pragma once

#include <string_view>

namespace vldr::fuzz {

// True when every run of single quotes in text has an even length.
inline bool quotesAreDoubled(std::string_view text)
{
    std::size_t run = 0;
    for (char c : text) {
        if (c == '\'') {
            ++run;
            continue;
        }
        if (run % 2 != 0) return false;
        run = 0;
    }
    return run % 2 == 0;
}

}  // namespace vldr::fuzz
