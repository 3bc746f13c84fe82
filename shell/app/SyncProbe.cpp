#include "shell/app/SyncProbe.h"

#include <GL/freeglut.h>
#include <GL/glx.h>
#include <X11/Xlib.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <map>
#include <string>

#include "shell/app/GlutBridge.h"

namespace {

int g_fd = -1;

struct Position {
    int x;
    int y;
};
// Moves waiting for their answer, by the number the timers carry.
std::map<int, Position> g_pending;
int g_next = 0;

void afterInput(int index);

// Second stage, a loop pass later: the pass in which the move was handled has drawn by now. The frame must
// also have reached the server before a test takes its picture, so wait for the server to have handled every
// request sent so far (the buffer swap among them). While an import runs, or input held during one waits to
// be handed on, the program has not finished with what came before: the answer waits for that, and then
// for the frame drawn after it.
void answer(int index) {
    GlutCallbackScope scope;
    if (inputWaits()) {
        glutTimerFunc(10, afterInput, index);
        return;
    }
    glFinish();
    if (Display* display = glXGetCurrentDisplay()) {
        XSync(display, False);
    }
    const auto found = g_pending.find(index);
    if (found == g_pending.end()) {
        return;
    }
    const Position position = found->second;
    g_pending.erase(found);
    const std::string line = "sync " + std::to_string(position.x) + " " + std::to_string(position.y) + "\n";
    // One write: a reader never sees half a line.
    [[maybe_unused]] ssize_t written = ::write(g_fd, line.data(), line.size());
}

// First stage, in the timer pass of the loop pass that handled the move: GLUT handles all pending input, then
// its timers, then draws. A 1 ms timer set here runs in the next pass, after that drawing.
void afterInput(int index) {
    GlutCallbackScope scope;
    glutTimerFunc(1, answer, index);
}

}  // namespace

void initSyncProbe() {
    const char* path = std::getenv("TESSARON_SYNC_FILE");
    if (path == nullptr || *path == '\0' || g_fd >= 0) {
        return;
    }
    g_fd = ::open(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
}

void syncProbePointerMoved(int x, int y) {
    if (g_fd < 0) {
        return;
    }
    const int index = g_next++;
    g_pending.emplace(index, Position{x, y});
    glutTimerFunc(0, afterInput, index);
}
