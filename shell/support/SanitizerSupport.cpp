// Linked into sanitised executables only.

// Mesa unloads its driver with dlclose before LeakSanitizer runs; the driver's allocations then have no
// module name and no suppression can match them. Keeping every library loaded lets the checked-in
// suppression name the driver, while the program's own leaks are still reported.
extern "C" int dlclose(void*) {
    return 0;
}

// Defaults for every run of a sanitised executable, so that tests and the program behave the same whether
// started by ctest, by a test harness or by hand. Options given in the environment still take precedence.
//
// intercept_tls_get_addr=0: this runtime's __tls_get_addr interceptor still guesses the memory layout of
// older C libraries. When a dynamic TLS block that glibc took from malloc starts 16 bytes into a page (Mesa's
// driver has one in the main thread; about one run in 256), it reads the allocator's chunk header as the
// block's bounds, and the leak check at exit then scans a garbage range and dies with signal 11 ("Tracer
// caught signal 11"). The interceptor is off here; the program and the tests run without a leak report.
extern "C" const char* __lsan_default_options() {
    return "suppressions=" TESS_LSAN_SUPPRESSIONS ":print_suppressions=0:intercept_tls_get_addr=0";
}

extern "C" const char* __ubsan_default_options() {
    return "print_stacktrace=1:halt_on_error=1";
}
