#include "shell/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// As many links as the system itself follows before it gives up (ELOOP).
constexpr int kMostLinks = 40;

// The folder part of `path` with its slash, "" for a name alone.
std::string folderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The permissions a file created with open(..., 0666) would get. The mask is read, not set and put back:
// setting it would give a file another thread creates meanwhile the wrong permissions.
mode_t usualFileMode() {
    mode_t mask = 022;
    if (FILE* status = std::fopen("/proc/self/status", "r")) {
        char line[128];
        unsigned value = 0;
        while (std::fgets(line, sizeof line, status) != nullptr) {
            if (std::sscanf(line, "Umask: %o", &value) == 1) {
                mask = static_cast<mode_t>(value);
                break;
            }
        }
        std::fclose(status);
    }
    return 0666 & ~mask;
}

// Follows `path` through symbolic links to the file that would be written. 0 with `exists` telling whether
// it is there (and `info` its status when it is), or the errno that stops it.
int resolve(const std::string& path, std::string& target, struct stat& info, bool& exists) {
    target = path;
    exists = false;
    for (int links = 0;; ++links) {
        if (::lstat(target.c_str(), &info) != 0) {
            // A link that points nowhere yet is written through, as open(O_CREAT) would.
            return errno == ENOENT ? 0 : errno;
        }
        if (!S_ISLNK(info.st_mode)) {
            exists = true;
            return 0;
        }
        if (links == kMostLinks) {
            return ELOOP;
        }
        std::vector<char> text(static_cast<size_t>(info.st_size > 0 ? info.st_size : 255) + 1);
        const ssize_t length = ::readlink(target.c_str(), text.data(), text.size());
        if (length < 0) {
            return errno;
        }
        if (static_cast<size_t>(length) >= text.size()) {
            // The link changed while it was read: read it again.
            --links;
            continue;
        }
        const std::string link(text.data(), static_cast<size_t>(length));
        // A relative link is taken from the folder the link is in.
        target = !link.empty() && link[0] == '/' ? link : folderOf(target) + link;
    }
}

// 0 when the existing file `target` may be replaced, else the errno that says why not.
int mayReplace(const std::string& target, const struct stat& info) {
    if (S_ISDIR(info.st_mode)) {
        return EISDIR;
    }
    if (!S_ISREG(info.st_mode)) {
        return -1;
    }
    // A file without any write permission is read-only to whoever asks, root included (who may write
    // anything through open).
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        return EACCES;
    }
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
        return errno;
    }
    return 0;
}

std::string reason(int failure) {
    return failure < 0 ? "Not a regular file" : std::strerror(failure);
}

}  // namespace

AtomicFile::~AtomicFile() {
    discard();
}

void AtomicFile::discard() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_temporary.empty()) {
        ::unlink(m_temporary.c_str());
        m_temporary.clear();
    }
}

bool AtomicFile::open(const std::string& path, std::string& error) {
    discard();
    struct stat info;
    bool exists = false;
    int failure = path.empty() ? ENOENT : resolve(path, m_target, info, exists);
    if (failure == 0 && exists) {
        failure = mayReplace(m_target, info);
    }
    if (failure != 0) {
        error = reason(failure);
        return false;
    }
    std::string temporary = folderOf(m_target) + ".tessaron-XXXXXX";
    m_fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (m_fd < 0) {
        error = std::strerror(errno);
        return false;
    }
    m_temporary = temporary;
    // mkstemp makes the file private: it takes the replaced file's owner and permissions, or those of any
    // new file. An owner that cannot be given (not root) is the user, as with any file the user writes.
    mode_t mode = usualFileMode();
    if (exists) {
        mode = info.st_mode & 07777;
        if ((info.st_uid != ::geteuid() || info.st_gid != ::getegid()) &&
            ::fchown(m_fd, info.st_uid, info.st_gid) != 0) {
            [[maybe_unused]] const int ignored = ::fchown(m_fd, static_cast<uid_t>(-1), info.st_gid);
        }
    }
    if (::fchmod(m_fd, mode) != 0) {
        error = std::strerror(errno);
        discard();
        return false;
    }
    return true;
}

bool AtomicFile::commit(int writeError, std::string& error) {
    if (m_fd < 0) {
        error = std::strerror(EBADF);
        return false;
    }
    int failure = writeError;
    if (::close(m_fd) != 0 && failure == 0) {
        failure = errno;
    }
    m_fd = -1;
    if (failure == 0 && ::rename(m_temporary.c_str(), m_target.c_str()) != 0) {
        failure = errno;
    }
    if (failure != 0) {
        error = std::strerror(failure);
        discard();
        return false;
    }
    m_temporary.clear();
    return true;
}

bool writeFileAtomically(const std::string& path, const std::string& content, std::string& error) {
    AtomicFile file;
    if (!file.open(path, error)) {
        return false;
    }
    int failure = 0;
    const char* data = content.data();
    size_t left = content.size();
    while (left > 0) {
        const ssize_t written = ::write(file.descriptor(), data, left);
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
    return file.commit(failure, error);
}
