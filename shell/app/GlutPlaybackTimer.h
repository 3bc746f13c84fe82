#pragma once

#include "control/VCPlayback.h"

// Playback's timer on GLUT: each call back is a GLUT timer, registered only while playback asks for the
// next step, so a program that plays nothing has no timer at all. A step that was taken is drawn: the call
// back posts a redisplay.
class GlutPlaybackTimer : public VCPlaybackTimer {
  public:
    void schedule(unsigned milliseconds, unsigned token) override;
    double now() const override;
};

// What GLUT calls: the token travels as GLUT's int value.
void onGlutPlaybackTimer(int token);
