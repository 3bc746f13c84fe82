#include "shell/app/FrameSequence.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

namespace {

constexpr const char* kPrefix = "frame_";
constexpr int kDigits = 6;

// The number of a name made like frame_000012.png; 0 for any other name.
int frameNumber(const std::string& name) {
    const size_t prefix = std::strlen(kPrefix);
    if (name.size() != prefix + kDigits + 4 || name.compare(0, prefix, kPrefix) != 0 ||
        name.compare(prefix + kDigits, 4, ".png") != 0) {
        return 0;
    }
    int number = 0;
    for (size_t i = prefix; i < prefix + kDigits; ++i) {
        if (name[i] < '0' || name[i] > '9') {
            return 0;
        }
        number = number * 10 + (name[i] - '0');
    }
    return number;
}

// Single quotes for the shell.
std::string quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text) {
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return out + "'";
}

}  // namespace

FrameSequence::FrameSequence(std::string folder, int every, double step)
    : m_folder(std::move(folder)), m_every(every < 1 ? 1 : every), m_step(step) {
    while (m_folder.size() > 1 && m_folder.back() == '/') {
        m_folder.pop_back();
    }
}

bool FrameSequence::checkFolder(std::string& error) const {
    struct stat info;
    if (::stat(m_folder.c_str(), &info) != 0) {
        error = std::strerror(errno);
        return false;
    }
    if (!S_ISDIR(info.st_mode)) {
        error = std::strerror(ENOTDIR);
        return false;
    }
    return true;
}

std::string FrameSequence::framePath(int n) const {
    char name[32];
    std::snprintf(name, sizeof name, "%s%0*d.png", kPrefix, kDigits, n);
    return m_folder + "/" + name;
}

bool FrameSequence::write(FrameClock& clock, const Drawer& draw, std::string& error) {
    m_written = 0;
    m_olderFrames = 0;
    m_firstOlderFrame.clear();
    FrameWalk walk(m_every, m_step);
    auto visit = [this, &draw](int number, double, std::string& why) {
        if (!draw(framePath(number), why)) {
            return false;
        }
        m_written = number;
        return true;
    };
    if (!walk.walk(clock, visit, error)) {
        return false;
    }
    countOlderFrames();
    return true;
}

// Files of that name may be the user's (or links to them): they are only counted, never removed.
void FrameSequence::countOlderFrames() {
    DIR* dir = ::opendir(m_folder.c_str());
    if (dir == nullptr) {
        return;
    }
    int lowest = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const int number = frameNumber(entry->d_name);
        if (number > m_written) {
            ++m_olderFrames;
            if (lowest == 0 || number < lowest) {
                lowest = number;
                m_firstOlderFrame = entry->d_name;
            }
        }
    }
    ::closedir(dir);
}

std::string FrameSequence::olderFramesNote() const {
    if (m_olderFrames == 0) {
        return "";
    }
    return std::to_string(m_olderFrames) + (m_olderFrames == 1 ? " older frame" : " older frames") +
           " left in " + m_folder + ", from " + m_firstOlderFrame;
}

std::string FrameSequence::videoCommand(int rate) const {
    // The pattern reads on past the last frame written into older ones that follow it: -frames:v stops it.
    // yuv420p, which every player takes, needs even sides.
    return "ffmpeg -framerate " + std::to_string(rate) + " -i " +
           quoted(m_folder + "/" + kPrefix + "%06d.png") + " -frames:v " + std::to_string(m_written) +
           " -vf 'pad=ceil(iw/2)*2:ceil(ih/2)*2' -c:v libx264 -pix_fmt yuv420p " +
           quoted(m_folder + "/run.mp4");
}
