#include "shell/AtomicFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

bool writeFileAtomically(const std::string& path, const std::string& content, std::string& error) {
    std::string temporary = path + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        error = std::strerror(errno);
        return false;
    }
    int failure = 0;
    const char* data = content.data();
    size_t left = content.size();
    while (left > 0 && failure == 0) {
        const ssize_t written = ::write(fd, data, left);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            failure = written < 0 ? errno : EIO;
            break;
        }
        data += written;
        left -= static_cast<size_t>(written);
    }
    // mkstemp makes the file private; it gets the permissions any new file of the user would have.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    if (failure == 0 && ::fchmod(fd, 0666 & ~mask) != 0) {
        failure = errno;
    }
    if (::close(fd) != 0 && failure == 0) {
        failure = errno;
    }
    if (failure == 0 && ::rename(temporary.c_str(), path.c_str()) != 0) {
        failure = errno;
    }
    if (failure != 0) {
        ::unlink(temporary.c_str());
        error = std::strerror(failure);
        return false;
    }
    return true;
}
