#include "tests/e2e/ProgramRun.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

ProgramRun::ProgramRun(std::vector<std::string> arguments, Display display) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (::chdir(m_dir.path().c_str()) != 0) {
            ::_exit(127);
        }
        if (display == Display::None) {
            ::unsetenv("DISPLAY");
        }
        const int out = ::open("program.out", O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = ::open("program.err", O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(out, 1);
        ::dup2(err, 2);
        std::vector<char*> argv{const_cast<char*>(TESS_PROGRAM)};
        for (std::string& argument : arguments) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        ::execv(TESS_PROGRAM, argv.data());
        ::_exit(127);
    }
    if (child < 0) {
        return;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    int status = 0;
    while (::waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(child, SIGKILL);
            ::waitpid(child, nullptr, 0);
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    m_status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string ProgramRun::out() const {
    return readFile(m_dir.file("program.out"));
}

std::string ProgramRun::err() const {
    return readFile(m_dir.file("program.err"));
}

bool ProgramRun::exists(const std::string& name) const {
    struct stat info;
    return ::stat(m_dir.file(name).c_str(), &info) == 0;
}

bool ProgramRun::displayAvailable() {
    const char* display = std::getenv("DISPLAY");
    return display != nullptr && *display != '\0';
}
