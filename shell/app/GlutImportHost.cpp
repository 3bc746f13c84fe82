#include "shell/app/GlutImportHost.h"

#include <GL/freeglut.h>

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
    glutPostRedisplay();
    glutTimerFunc(0, &GlutImportHost::onEnded, m_generation);
}

void GlutImportHost::sliceRead() {
    VCSimulation* simulation = getSimulation();
    const VCImportProgress progress = simulation->getImportProgress();
    if (!progress.worthShowing()) {
        return;
    }
    const auto now = std::chrono::steady_clock::now();
    if (m_progressShown && std::chrono::duration<double, std::milli>(now - m_lastShown).count() < kRedrawMs) {
        return;
    }
    m_progressShown = true;
    m_lastShown = now;
    m_terminal.show(progress.text());
    glutPostRedisplay();
}

void GlutImportHost::onSlice(int generation) {
    GlutCallbackScope scope;
    GlutImportHost* host = glutImportHost();
    VCSimulation* simulation = getSimulation();
    if (host == nullptr || generation != host->m_generation || !simulation->isImporting()) {
        return;
    }
    // An import that ends here has told the host already.
    if (simulation->continueImport(kSliceMs)) {
        host->sliceRead();
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
}
