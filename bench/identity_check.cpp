// What a FastCGI request pays to see whether the database file is still
// the one its kept connection opened: the stat call and the comparison of
// SessionKeeper::open, timed over many calls on a given file.
//
//   bench_identity_check FILE [CALLS]
//
// Prints the mean cost of one check (nanoseconds).
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "session_keeper.h"

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE [CALLS]\n", argv[0]);
        return 2;
    }
    const long calls = argc > 2 ? std::atol(argv[2]) : 1000000;
    const vldr::FileIdentity opened = vldr::fileIdentity(argv[1]);
    long same = 0;
    const auto start = std::chrono::steady_clock::now();
    for (long i = 0; i < calls; ++i) same += vldr::sameFile(vldr::fileIdentity(argv[1]), opened);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    const double nanoseconds = std::chrono::duration<double, std::nano>(elapsed).count() / static_cast<double>(calls);
    std::printf("identity check: %.0f ns per request (%ld of %ld calls saw the same file)\n", nanoseconds, same, calls);
    return same == calls ? 0 : 1;
}
