#include "shell/app/GlutPlaybackTimer.h"

#include <GL/freeglut.h>

#include <chrono>

#include "control/VCSimulation.h"

void GlutPlaybackTimer::schedule(unsigned milliseconds, unsigned token) {
    glutTimerFunc(milliseconds, onGlutPlaybackTimer, static_cast<int>(token));
}

double GlutPlaybackTimer::now() const {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

void onGlutPlaybackTimer(int token) {
    // The controller is gone once the exit confirmation has taken the program down.
    VCSimulation* simulation = getSimulation();
    if (simulation != nullptr && simulation->playbackTimerFired(static_cast<unsigned>(token))) {
        glutPostRedisplay();
    }
}
