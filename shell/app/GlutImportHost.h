#pragma once

#include <chrono>
#include <functional>

#include "control/VCImportHost.h"
#include "shell/app/TerminalProgress.h"

// The program's host for imports read in slices: each slice is a GLUT timer that reads for kSliceMs and
// returns to the loop, so that GLUT draws and reads input in between (input waits in the GLUT bridge;
// Escape cancels). The window keeps the picture it showed when the import began and shows the progress in
// its strip, redrawn every kRedrawMs once the import has run for a moment (less often when a frame takes
// long: a frame waits for kFrameShare times its own time of reading); a terminal on standard error
// shows the same text on one line. When the import ends, the end listener runs (the command line's next
// log or command), and then the input held during the import is handed on.
class GlutImportHost : public VCImportHost {
  public:
    static constexpr double kSliceMs = 30.0;
    static constexpr double kRedrawMs = 125.0;
    static constexpr double kFrameShare = 8.0;

    void importStarted() override;
    void importEnded() override;

    // Called once each import has ended, before held input is replayed.
    void setEndListener(std::function<void()> listener) { m_endListener = std::move(listener); }
    // From the end of an import until its listener has run and held input has been handed on.
    bool isEndPending() const { return m_endPending; }

    // The timer callbacks, for GLUT.
    static void onSlice(int generation);
    static void onEnded(int generation);

  private:
    void sliceRead();

    int m_generation = 0;  // of the running import: a timer of an earlier one finds it stale
    bool m_endPending = false;
    bool m_progressShown = false;  // since the running import began
    std::chrono::steady_clock::time_point m_lastShown;
    double m_redrawMs = kRedrawMs;  // between two frames of the running import
    bool m_frameAsked = false;      // by the last slice
    std::chrono::steady_clock::time_point m_sliceEnded;
    TerminalProgress m_terminal;
    std::function<void()> m_endListener;
};

// The host the controller was given, or null.
GlutImportHost* glutImportHost();
// Whether input must wait: an import is being read, or what follows its end has not run yet.
bool importKeepsInputWaiting();
