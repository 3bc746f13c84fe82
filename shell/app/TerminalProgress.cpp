#include "shell/app/TerminalProgress.h"

#include <unistd.h>

#include <cerrno>

TerminalProgress::TerminalProgress() : TerminalProgress(STDERR_FILENO, ::isatty(STDERR_FILENO) == 1) {}

TerminalProgress::TerminalProgress(int fd, bool terminal) : m_fd(fd), m_terminal(terminal) {}

void TerminalProgress::show(const std::string& text) {
    if (!m_terminal) {
        return;
    }
    // Blanks over what a longer text left, then back to the end of the new one.
    std::string line = "\r" + text;
    if (text.size() < m_length) {
        const size_t extra = m_length - text.size();
        line += std::string(extra, ' ') + std::string(extra, '\b');
    }
    write(line);
    m_length = text.size();
    m_shown = true;
}

void TerminalProgress::finish(const std::string& text) {
    if (!m_shown) {
        return;
    }
    show(text);
    write("\n");
    m_shown = false;
    m_length = 0;
}

void TerminalProgress::write(const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(m_fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return;  // a terminal that went away takes no progress
        }
        done += static_cast<size_t>(n);
    }
}
