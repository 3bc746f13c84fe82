#include "shell/app/GlutPlaybackTimer.h"

#include <GL/freeglut.h>

#include <chrono>

#include "control/VCSimulation.h"
#include "shell/app/GlutBridge.h"

void GlutPlaybackTimer::schedule(unsigned milliseconds, unsigned token) {
    glutTimerFunc(milliseconds, onGlutPlaybackTimer, static_cast<int>(token));
}

double GlutPlaybackTimer::now() const {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

void onGlutPlaybackTimer(int token) {
    // The step's log line is in the file when the callback returns, as with every callback.
    GlutCallbackScope scope;
    // The controller is gone once the exit confirmation has taken the program down.
    VCSimulation* simulation = getSimulation();
    if (simulation != nullptr && simulation->playbackTimerFired(static_cast<unsigned>(token))) {
        glutPostRedisplay();
    }
}
