#include "shell/app/VideoEncoder.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

extern char** environ;

namespace {

// ffmpeg's last words are what matter; a long-winded one is cut down to its end.
constexpr size_t kErrorTail = 4096;
// How long a frame waits on the pipe between two looks at `stop`.
constexpr int kStopLookMs = 100;

std::string lowerCase(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
    return text;
}

bool endsWith(const std::string& text, const std::string& tail) {
    return text.size() > tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

bool isExecutableFile(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

}  // namespace

VideoFormat videoFormatOf(const std::string& path) {
    const std::string name =
        lowerCase(path.substr(path.rfind('/') == std::string::npos ? 0 : path.rfind('/') + 1));
    if (endsWith(name, ".mp4")) {
        return VideoFormat::Mp4;
    }
    if (endsWith(name, ".webm")) {
        return VideoFormat::WebM;
    }
    if (endsWith(name, ".gif")) {
        return VideoFormat::Gif;
    }
    return VideoFormat::Unknown;
}

std::string findProgram(const std::string& program, const std::string& searchPath) {
    size_t at = 0;
    while (at <= searchPath.size()) {
        size_t colon = searchPath.find(':', at);
        if (colon == std::string::npos) {
            colon = searchPath.size();
        }
        const std::string folder = searchPath.substr(at, colon - at);
        const std::string candidate = (folder.empty() ? "." : folder) + "/" + program;
        if (isExecutableFile(candidate)) {
            return candidate;
        }
        at = colon + 1;
    }
    return "";
}

std::vector<std::string> encoderArguments(VideoFormat format, int width, int height, int rate,
                                          const std::string& output) {
    std::vector<std::string> arguments = {
        "-hide_banner", "-nostats",
        "-loglevel",    "error",
        "-f",           "rawvideo",
        "-pix_fmt",     "rgb24",
        "-s",           std::to_string(width) + "x" + std::to_string(height),
        "-framerate",   std::to_string(rate),
        "-i",           "-"};
    // yuv420p, which every player takes, needs even sides.
    const char* even = "pad=ceil(iw/2)*2:ceil(ih/2)*2";
    switch (format) {
        case VideoFormat::Mp4:
            arguments.insert(arguments.end(),
                             {"-vf", even, "-c:v", "libx264", "-pix_fmt", "yuv420p", "-f", "mp4"});
            break;
        case VideoFormat::WebM:
            arguments.insert(arguments.end(), {"-vf", even, "-c:v", "libvpx-vp9", "-deadline", "good",
                                               "-cpu-used", "5", "-row-mt", "1", "-b:v", "0", "-crf", "33",
                                               "-pix_fmt", "yuv420p", "-f", "webm"});
            break;
        case VideoFormat::Gif:
            // A palette of the video's own colours rather than a fixed one: cells keep their colours.
            arguments.insert(arguments.end(),
                             {"-vf", "split[a][b];[a]palettegen[p];[b][p]paletteuse", "-f", "gif"});
            break;
        case VideoFormat::Unknown:
            break;
    }
    // The temporary file exists already (AtomicFile made it): ffmpeg may write over it.
    arguments.insert(arguments.end(), {"-y", output});
    return arguments;
}

VideoEncoder::VideoEncoder(std::string ffmpeg, std::function<bool()> stop)
    : m_ffmpeg(std::move(ffmpeg)), m_stop(std::move(stop)) {}

VideoEncoder::~VideoEncoder() {
    abandon();
}

bool VideoEncoder::open(const std::string& path, VideoFormat format, int width, int height, int rate,
                        std::string& error) {
    abandon();
    if (!m_file.open(path, error)) {
        return false;
    }
    int input[2];
    int errors[2];
    if (::pipe2(input, O_CLOEXEC) != 0) {
        error = std::strerror(errno);
        m_file.discard();
        return false;
    }
    if (::pipe2(errors, O_CLOEXEC) != 0) {
        error = std::strerror(errno);
        ::close(input[0]);
        ::close(input[1]);
        m_file.discard();
        return false;
    }

    const std::vector<std::string> arguments =
        encoderArguments(format, width, height, rate, m_file.temporary());
    std::vector<char*> argv{const_cast<char*>(m_ffmpeg.c_str())};
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input[0], STDIN_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, errors[1], STDERR_FILENO);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    // A group of its own, so that the whole of it can be stopped, and Ctrl+C on the terminal reaches only
    // this program, which decides what becomes of the file. Signals this program ignores or catches while
    // it writes are ffmpeg's to take as usual.
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    sigaddset(&defaults, SIGINT);
    sigaddset(&defaults, SIGTERM);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setpgroup(&attributes, 0);
    posix_spawnattr_setflags(&attributes,
                             POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETPGROUP);
    const int spawned =
        ::posix_spawn(&m_child, m_ffmpeg.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    ::close(input[0]);
    ::close(errors[1]);
    if (spawned != 0) {
        m_child = -1;
        ::close(input[1]);
        ::close(errors[0]);
        error = "ffmpeg could not be started: " + std::string(std::strerror(spawned));
        m_file.discard();
        return false;
    }
    m_input = input[1];
    // Frames wait on the pipe in slices, so that a request to stop is seen while ffmpeg is busy.
    ::fcntl(m_input, F_SETFL, ::fcntl(m_input, F_GETFL) | O_NONBLOCK);
    // A pipe that ffmpeg closed is a failure to report, not a reason for the program to end.
    struct sigaction ignore;
    std::memset(&ignore, 0, sizeof ignore);
    ignore.sa_handler = SIG_IGN;
    m_pipeActionSaved = ::sigaction(SIGPIPE, &ignore, &m_previousPipeAction) == 0;

    m_errorTail.clear();
    const int errorOutput = errors[0];
    m_errorReader = std::thread([this, errorOutput] {
        char buffer[1024];
        for (;;) {
            const ssize_t n = ::read(errorOutput, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                break;
            }
            m_errorTail.append(buffer, static_cast<size_t>(n));
            if (m_errorTail.size() > 2 * kErrorTail) {
                m_errorTail.erase(0, m_errorTail.size() - kErrorTail);
            }
        }
        ::close(errorOutput);
    });
    m_frameBytes = static_cast<size_t>(width) * static_cast<size_t>(height) * 3;
    return true;
}

bool VideoEncoder::writeFrame(const std::vector<uint8_t>& rgb, std::string& error) {
    if (m_input < 0) {
        error = "ffmpeg is not running";
        return false;
    }
    if (rgb.size() != m_frameBytes) {
        error = "the frame has another size than the video";
        return false;
    }
    size_t done = 0;
    while (done < rgb.size()) {
        if (m_stop && m_stop()) {
            error = "stopped";
            return false;
        }
        const ssize_t n = ::write(m_input, rgb.data() + done, rgb.size() - done);
        if (n > 0) {
            done += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            pollfd wait{m_input, POLLOUT, 0};
            ::poll(&wait, 1, kStopLookMs);
            continue;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        // ffmpeg no longer reads: it ended, and says why.
        const int failure = n < 0 ? errno : EIO;
        closeInput();
        if (reap(error)) {
            error = "ffmpeg stopped reading frames: " + std::string(std::strerror(failure));
        }
        m_file.discard();
        return false;
    }
    return true;
}

bool VideoEncoder::finish(std::string& error) {
    if (m_child < 0) {
        error = "ffmpeg is not running";
        return false;
    }
    closeInput();
    if (!reap(error)) {
        m_file.discard();
        return false;
    }
    struct stat info;
    if (::stat(m_file.temporary().c_str(), &info) != 0 || info.st_size == 0) {
        error = "ffmpeg wrote nothing";
        m_file.discard();
        return false;
    }
    return m_file.commit(0, error);
}

void VideoEncoder::abandon() {
    closeInput();
    if (m_child > 0) {
        ::kill(-m_child, SIGTERM);
        std::string ignored;
        reap(ignored);
    }
    m_file.discard();
}

void VideoEncoder::closeInput() {
    if (m_input >= 0) {
        ::close(m_input);
        m_input = -1;
    }
}

bool VideoEncoder::reap(std::string& error) {
    int status = 0;
    pid_t ended = -1;
    bool stopped = false;
    for (;;) {
        ended = ::waitpid(m_child, &status, 0);
        if (ended >= 0 || errno != EINTR) {
            break;
        }
        // Asked to stop while ffmpeg finishes the file (a long GIF takes a while): it is not waited for.
        if (!stopped && m_stop && m_stop()) {
            ::kill(-m_child, SIGTERM);
            stopped = true;
        }
    }
    m_child = -1;
    // Whatever of the group still holds ffmpeg's standard error open goes with it.
    if (m_errorReader.joinable()) {
        m_errorReader.join();
    }
    if (m_pipeActionSaved) {
        ::sigaction(SIGPIPE, &m_previousPipeAction, nullptr);
        m_pipeActionSaved = false;
    }
    if (ended < 0) {
        error = "ffmpeg could not be waited for: " + std::string(std::strerror(errno));
        return false;
    }
    const std::string said = lastErrorLine();
    if (WIFSIGNALED(status)) {
        error = "ffmpeg was ended by signal " + std::to_string(WTERMSIG(status));
    } else if (WEXITSTATUS(status) != 0) {
        error = "ffmpeg failed with exit status " + std::to_string(WEXITSTATUS(status));
    } else {
        return true;
    }
    if (!said.empty()) {
        error += ": " + said;
    }
    return false;
}

std::string VideoEncoder::lastErrorLine() const {
    // Lines may end in "\r\n", or in "\r" alone for lines rewritten in place.
    size_t end = m_errorTail.find_last_not_of("\r\n \t");
    if (end == std::string::npos) {
        return "";
    }
    const size_t start = m_errorTail.find_last_of("\r\n", end);
    return m_errorTail.substr(start == std::string::npos ? 0 : start + 1,
                              end - (start == std::string::npos ? 0 : start + 1) + 1);
}
