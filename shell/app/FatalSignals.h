#pragma once

// Makes SIGINT, SIGTERM, SIGSEGV, SIGABRT and SIGBUS write out the lines the log holds before the signal
// takes its course: the action that was in place before (the default, or a sanitizer's report) runs right
// after. A signal that is ignored stays ignored. Calling it again changes nothing.
void flushLogOnFatalSignals();
