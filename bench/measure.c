/*
 * Runs one command to its end and reports what it cost:
 *
 *   bench_measure OUTPUT COMMAND [ARGUMENT ...]
 *
 * The command's standard output goes to the file OUTPUT (/dev/null to
 * drop it), its standard error to /dev/null. Prints one line: the time
 * from just before the fork to the end of the wait (nanoseconds), the
 * command's peak resident set (KiB, from the rusage of the child) and its
 * exit status (128 + signal when killed). A small process of its own, so
 * that the peak it reports is the command's and not that of a large parent
 * whose pages the child held until it exec'ed. Exit status 0, or 2 when
 * the command cannot be started.
 */
#include <fcntl.h>
#include <stdio.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static long long nowNanoseconds(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (long long)t.tv_sec * 1000000000LL + t.tv_nsec;
}

int main(int argc, char **argv)
{
    if (argc < 3) {
        fprintf(stderr, "usage: %s OUTPUT COMMAND [ARGUMENT ...]\n", argv[0]);
        return 2;
    }
    const long long start = nowNanoseconds();
    const pid_t child = fork();
    if (child < 0) return 2;
    if (child == 0) {
        const int out = open(argv[1], O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int null = open("/dev/null", O_WRONLY);
        if (out < 0 || null < 0) _exit(127);
        dup2(out, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        execv(argv[2], argv + 2);
        _exit(127);
    }
    int status = 0;
    struct rusage usage;
    if (wait4(child, &status, 0, &usage) < 0) return 2;
    const long long elapsed = nowNanoseconds() - start;
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    printf("%lld %ld %d\n", elapsed, usage.ru_maxrss, code);
    return 0;
}
