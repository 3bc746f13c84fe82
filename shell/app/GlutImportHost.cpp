#include "shell/app/GlutImportHost.h"

#include <GL/freeglut.h>

#include <algorithm>

#include "control/VCSimulation.h"
#include "gui/VDMainWindow.h"
#include "shell/app/GlutBridge.h"
#include "view3d/VDTessaronerWindow.h"

GlutImportHost* glutImportHost() {
    VCSimulation* simulation = getSimulation();
    return simulation != nullptr ? dynamic_cast<GlutImportHost*>(simulation->getImportHost()) : nullptr;
}

bool importKeepsInputWaiting() {
    VCSimulation* simulation = getSimulation();
    if (simulation != nullptr && simulation->isImporting()) {
        return true;
    }
    const GlutImportHost* host = glutImportHost();
    return host != nullptr && host->isEndPending();
}

void GlutImportHost::importStarted() {
    ++m_generation;
    m_endPending = false;
    m_progressShown = false;
    m_redrawMs = kRedrawMs;
    m_frameAsked = false;
    // The picture as it is before the first line is read; frames drawn during the import show it.
    if (VDMainWindow* mainWindow = getMainWindow()) {
        if (auto* viewer = dynamic_cast<VDTessaronerWindow*>(mainWindow->getContentWindow())) {
            viewer->freezePicture();
        }
    }
    glutTimerFunc(0, &GlutImportHost::onSlice, m_generation);
}

void GlutImportHost::importEnded() {
    m_endPending = true;
    if (m_terminal.shown()) {
        if (VCSimulation* simulation = getSimulation()) {
            m_terminal.finish(simulation->getImportProgress().text());
        }
    }
    // The frame that shows the run is asked for once the input held meanwhile has been handled: GLUT
    // would draw it before the timer runs, and draw again for what that input changes.
    glutTimerFunc(0, &GlutImportHost::onEnded, m_generation);
}

void GlutImportHost::sliceRead() {
    VCSimulation* simulation = getSimulation();
    const VCImportProgress progress = simulation->getImportProgress();
    if (!progress.worthShowing()) {
        return;
    }
    const auto now = std::chrono::steady_clock::now();
    if (m_progressShown &&
        std::chrono::duration<double, std::milli>(now - m_lastShown).count() < m_redrawMs) {
        return;
    }
    m_progressShown = true;
    m_lastShown = now;
    m_terminal.show(progress.text());
    glutPostRedisplay();
    m_frameAsked = true;
}

void GlutImportHost::onSlice(int generation) {
    GlutCallbackScope scope;
    GlutImportHost* host = glutImportHost();
    VCSimulation* simulation = getSimulation();
    if (host == nullptr || generation != host->m_generation || !simulation->isImporting()) {
        return;
    }
    if (host->m_frameAsked) {
        // The loop's pass between two slices went mostly on the frame the first asked for. Over a full
        // console on a software renderer that can be a third of the import's time at the usual pace.
        const double betweenMs =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - host->m_sliceEnded)
                .count();
        host->m_redrawMs = std::max(kRedrawMs, kFrameShare * betweenMs);
        host->m_frameAsked = false;
    }
    // An import that ends here has told the host already.
    if (simulation->continueImport(kSliceMs)) {
        host->sliceRead();
        host->m_sliceEnded = std::chrono::steady_clock::now();
        glutTimerFunc(0, &GlutImportHost::onSlice, generation);
    }
}

void GlutImportHost::onEnded(int generation) {
    GlutCallbackScope scope;
    GlutImportHost* host = glutImportHost();
    if (host == nullptr || generation != host->m_generation || !host->m_endPending) {
        return;
    }
    host->m_endPending = false;
    if (host->m_endListener) {
        host->m_endListener();
    }
    replayHeldInput();
    glutPostRedisplay();
}
