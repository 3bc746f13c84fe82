#pragma once

#include <string>
#include <vector>

// The program's diagnostic channel. A message goes, each switched by an engine variable, to the file
// log.txt of the directory the program started in ("file_logging") and to the console ("console_logging").
// An absent switch counts as off.
//
// The file channel holds whole lines in memory (at most 1 MiB) and writes them out in large pieces: one
// system call per line would set the pace of an import that logs millions. The file is complete after
// flushLog(), which the GLUT bridge calls at the end of every callback, at process exit (exit() or a return
// from main) and, through flushLogFromSignal(), when a fatal signal arrives. What is written out always ends
// with a complete line.

// Truncates the log file and drops the lines held for it. The first call also fixes the file's absolute
// path for the rest of the run.
void resetLog();

// Puts the log file at `path` instead of ./log.txt; a relative path is taken from the current directory
// now. Call before the first message, or the earlier ones stay in the old file.
void setLogFilePath(const std::string& path);

// printf-style; the formatted text is one message, written whole whatever its length.
void logMessage(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The same channels for a text that is used as it stands (no format directives are read in it).
void logText(const std::string& text);

// Each of `lines` as logText would log it, in order.
void logLines(const std::vector<std::string>& lines);

// The file channel alone, for a line that the console shows by other means (a command's reply), so that
// the console does not show it twice.
void logFileText(const std::string& text);
// How many lines logFileText was given so far, whether the file channel was on or not: compared before and
// after a call, it tells whether the call left to the console a line that the log file has already.
unsigned long logFileTextCount();

// Whether a line logged now would reach a channel: code that builds a line at some cost for every message
// of an import asks first.
bool logWanted();

// While held, every line logged by the functions above is dropped, on both channels. An import that has
// logged the lines of its first messages holds them around its reader, and writes a summary instead.
void holdLogLines(bool held);

// Whether an import logs the lines of every message it reads (--log-every-message on the command line,
// TESSARON_LOG_EVERY_MESSAGE=1 in the environment) rather than those of its first ones and a summary.
void setLogEveryMessage(bool every);
bool logEveryMessage();

// Writes every line held for the file. Cheap when nothing is held (no system call).
void flushLog();

// The same for a signal handler: only async-signal-safe calls, no allocation, no lock. Lines being added
// when the signal arrived are left out rather than written in part.
void flushLogFromSignal();

// The absolute path of the log file, resolving it if that has not happened yet.
std::string logFilePath();

namespace logdetail {
// Writes out what is held, closes the file and forgets the resolved path, as at program start. For tests
// that change directory.
void forgetLogFile();
}  // namespace logdetail
