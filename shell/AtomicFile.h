#pragma once

#include <sys/types.h>

#include <string>

// A file written whole or not at all: the content goes to a temporary file with a short name of its own in
// the target's folder (so that it fits wherever the target's name fits), which is then renamed over the
// target. A failure (a missing folder, a read-only place, a full disk) leaves no partial file behind and an
// existing file as it was.
//
// The target is checked first, as a plain open for writing would see it: a symbolic link is followed and its
// final target written; anything but a regular file (a folder, a FIFO, a device) is refused; so is a file the
// user may not write, and a file that has no write permission for anyone (read-only, even to root). A file
// replaced keeps its permissions and, where the system allows, its owner and group; a new one gets the
// permissions any new file of the user would have.
class AtomicFile {
  public:
    AtomicFile() = default;
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;
    // Removes the temporary file unless commit() placed it.
    ~AtomicFile();

    // Checks `path` and makes the temporary file. False, with the system's reason in `error` ("Permission
    // denied", "Is a directory", "Not a regular file"), when the target may not be written.
    bool open(const std::string& path, std::string& error);
    // Where the content goes, from a successful open() until commit().
    int descriptor() const { return m_fd; }
    // The temporary file's name, for a writer that opens the file itself (another process); empty when
    // there is none.
    const std::string& temporary() const { return m_temporary; }
    // The file that will be replaced or made: `path`, or the final target of the link it names.
    const std::string& target() const { return m_target; }
    // Closes the temporary file and puts it in the target's place, unless `writeError` (the errno of a
    // failed write, 0 when all went out) or a failure here says otherwise. On failure `error` says why and
    // the temporary file is gone.
    bool commit(int writeError, std::string& error);
    // Closes and removes the temporary file, leaving the target as it was.
    void discard();

  private:
    std::string m_target;
    std::string m_temporary;
    int m_fd = -1;
};

// The whole of `content` into `path` through an AtomicFile. On failure `error` holds the system's reason
// ("No such file or directory").
bool writeFileAtomically(const std::string& path, const std::string& content, std::string& error);
