/*
 * Default options for the sanitized build, linked into every program and
 * test program of that build, so that a program run by hand and a program
 * run by a test behave alike.
 *
 * Leak checking stays on for our code. The ODBC driver manager and the
 * SQLite driver keep some memory for the life of the process; the slow
 * unwinder walks through those libraries (they have no frame pointers), so
 * that the suppressions file can name them.
 */
const char *__asan_default_options(void)
{
    return "detect_leaks=1:fast_unwind_on_malloc=0:exitcode=86";
}

const char *__lsan_default_options(void)
{
    return "suppressions=" VLDR_LSAN_SUPPRESSIONS ":print_suppressions=0";
}

const char *__ubsan_default_options(void)
{
    return "print_stacktrace=1:halt_on_error=1";
}
