// Linked into sanitised executables only.

// Mesa unloads its driver with dlclose before LeakSanitizer runs; the driver's allocations then have no
// module name and no suppression can match them. Keeping every library loaded lets the checked-in
// suppression name the driver, while the program's own leaks are still reported.
extern "C" int dlclose(void*) {
    return 0;
}

// Defaults for every run of a sanitised executable, so that tests and the program behave the same whether
// started by ctest, by a test harness or by hand. Options given in the environment still take precedence.
extern "C" const char* __lsan_default_options() {
    return "suppressions=" TESS_LSAN_SUPPRESSIONS ":print_suppressions=0";
}

extern "C" const char* __ubsan_default_options() {
    return "print_stacktrace=1:halt_on_error=1";
}
