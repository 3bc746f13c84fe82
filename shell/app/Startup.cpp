#include "shell/app/Startup.h"

#include <GL/freeglut.h>

#include <cstdio>
#include <memory>
#include <new>

#include "console/VDDEVSConsoleParser.h"
#include "console/VDExitCommand.h"
#include "control/VCSimulation.h"
#include "gui/VDMainWindow.h"
#include "gui/VDThemeStore.h"
#include "shell/EngineVariables.h"
#include "shell/GLExtensions.h"
#include "shell/Log.h"
#include "shell/VDGarbageCan.h"
#include "shell/app/FatalSignals.h"
#include "shell/app/GlutBridge.h"
#include "shell/app/GlutPlaybackTimer.h"
#include "shell/app/SyncProbe.h"
#include "view3d/VDTessaronerWindow.h"

namespace {

// A failed step ends start-up. No console exists to show the message, so it also goes to standard error,
// and the process reports the failure in its exit status.
int startupFailure(const char* message) {
    logMessage("%s", message);
    std::fprintf(stderr, "tessaron: %s\n", message);
    return 1;
}

// What Escape runs: the same question as the "exit" command.
std::unique_ptr<VDConsoleCommand> makeExitCommand() {
    return std::make_unique<VDExitCommand>();
}

}  // namespace

int runTessaron(int argc, char** argv) {
    resetLog();
    flushLogOnFatalSignals();

    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_ALPHA | GLUT_DEPTH | GLUT_STENCIL | GLUT_MULTISAMPLE);
    glutInitWindowSize(800, 600);
    glutInit(&argc, argv);
    glutCreateWindow("Tessaron");

    EngineVariables* vars = getEngineVariables();
    vars->setBool("console_logging", true);
    vars->setBool("file_logging", true);

    // The process-wide objects, in the order they depend on each other. Each step stops start-up with its
    // own message when its object cannot be built.
    if (createGarbageCan() == nullptr) {
        return startupFailure("Unable to create garbage collector");
    }
    // The main window builds the console, which takes over the parser.
    if (createMainWindow(800, 600, std::make_unique<VDDEVSConsoleParser>()) == nullptr) {
        return startupFailure("Unable to create Viewer Display Window");
    }
    getMainWindow()->setEscapeCommandFactory(&makeExitCommand);
    // The extension loader probes the context of the window created above.
    if (createGLExtensions() == nullptr) {
        return startupFailure("Unable to create glextension object");
    }
    // The theme builds its fonts, so it needs the GL context too.
    if (!createThemeStore()) {
        return startupFailure("Unable to create Theme store");
    }
    // The simulation controller: after the theme store, before the viewer window that draws through it.
    if (createSimulation() == nullptr) {
        return startupFailure("Unable to create simulation control object");
    }
    getSimulation()->setPlaybackTimer(std::make_unique<GlutPlaybackTimer>());
    // The 3D view; once attached, the main window owns it and routes drawing and input to it.
    std::unique_ptr<VDTessaronerWindow> viewer(new (std::nothrow) VDTessaronerWindow());
    if (viewer == nullptr) {
        return startupFailure("Unable to create DEVS application window");
    }
    getMainWindow()->setContentWindow(std::move(viewer));

    registerGlutCallbacks();
    initSyncProbe();
    logMessage("Startup successful...");
    // From here on every callback writes out what it logged; start-up's lines go now.
    flushLog();
    glutMainLoop();
    return 0;
}
