#pragma once

#include <cstddef>
#include <string>

// The log file's side of the log: one file open for appending and the whole lines held for it. Everything
// lives in static storage and is never destroyed, so that a signal handler or an exit-time flush can still
// write out what is held. A full buffer of lines is written by a thread of its own while the next one
// fills; every other call is made from the program's one thread.
namespace logfile {

// The size of each of the two buffers: at most this many bytes are being filled and this many more being
// written. A longer line is written on its own, at once, after everything held.
constexpr size_t kHeldLimit = size_t{1} << 20;

// Opens `path` for appending unless a file is open already. False when it cannot be opened.
bool open(const std::string& path);
// Drops the held lines, closes the file and truncates `path`.
void truncate(const std::string& path);
// Writes out what is held, then closes the file.
void close();

// Adds `size` bytes and a '\n' to the file: held, and handed to the writer thread with the lines before it
// once they would pass the limit. Dropped while no file is open.
void appendLine(const char* text, size_t size);
// Writes every held byte; the file is complete when it returns. No system call when nothing is held.
void flush();
// The same with async-signal-safe calls only; lines still being appended when the signal came are left out.
void flushFromSignal();
// Bytes held, not yet written (those the writer thread is writing included).
size_t held();
// Writes out what is held and from then on writes every line at once: for the lines logged during the
// process's last moments, after the exit-time flush.
void writeThrough();

}  // namespace logfile
