#include "shell/app/Startup.h"

#include <GL/freeglut.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "console/VDDEVSConsoleParser.h"
#include "console/VDExitCommand.h"
#include "console/VDSnapshotCommand.h"
#include "control/VCSimulation.h"
#include "gui/VDConsole.h"
#include "gui/VDConsoleCommand.h"
#include "gui/VDMainWindow.h"
#include "gui/VDThemeStore.h"
#include "shell/EngineVariables.h"
#include "shell/GLExtensions.h"
#include "shell/Log.h"
#include "shell/MemoryReuse.h"
#include "shell/VDGarbageCan.h"
#include "shell/app/CommandLine.h"
#include "shell/app/CommandLineCommands.h"
#include "shell/app/FatalSignals.h"
#include "shell/app/FrameSequence.h"
#include "shell/app/FrameWalk.h"
#include "shell/app/GlutBridge.h"
#include "shell/app/GlutImportHost.h"
#include "shell/app/GlutPlaybackTimer.h"
#include "shell/app/Interruption.h"
#include "shell/app/OpenLogs.h"
#include "shell/app/Snapshot.h"
#include "shell/app/SyncProbe.h"
#include "shell/app/TerminalProgress.h"
#include "shell/app/VideoEncoder.h"
#include "simdata/SDTime.h"
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

// The command line of this run; the timer below reads it once the main loop runs.
CommandLine g_commandLine;
// Its logs, read one after another while the main loop runs.
std::unique_ptr<CommandLineImports> g_imports;
// Its commands, run once the logs are read; an import one of them asks for holds the rest.
std::unique_ptr<CommandLineCommands> g_commands;
// Whether the window shows the run once they are read (--snapshot and --frames show it themselves).
bool g_showWhenImported = false;
// Whether the logs were read whole and the palettes applied.
bool g_importedWell = false;

// Once the commands have run. Only a run that went well hides the console: otherwise the console shows the
// loader's messages.
void finishCommandLineRun() {
    if (g_importedWell && g_commands->allRan()) {
        if (VDConsole* console = getConsole()) {
            console->close();
        }
    }
    glutPostRedisplay();
}

// What follows the command line's imports in the window.
void showCommandLineRun(bool imported) {
    g_importedWell = applyCommandLinePalettes(g_commandLine.palettes) && imported;
    fitViewToRun();
    if (!g_commandLine.time.empty()) {
        moveTimeCursor(g_commandLine.time);
    }
    g_commands = std::make_unique<CommandLineCommands>(g_commandLine.commands);
    g_commands->start();
    if (g_commands->done()) {
        finishCommandLineRun();
    }
}

// Each import's end moves the command line on: its next log, or, once they are read, its next command.
void advanceCommandLine() {
    if (g_imports != nullptr && !g_imports->done()) {
        g_imports->advance();
        if (g_imports->done() && g_showWhenImported) {
            showCommandLineRun(g_imports->allImported());
        }
        return;
    }
    if (g_commands != nullptr && !g_commands->done()) {
        g_commands->advance();
        if (g_commands->done() && g_showWhenImported) {
            finishCommandLineRun();
        }
    }
}

// Opens the logs of the command line once the window is up.
void openCommandLineLogs(int) {
    GlutCallbackScope scope;
    g_showWhenImported = true;
    g_imports = std::make_unique<CommandLineImports>(g_commandLine.logs);
    g_imports->start();
    if (g_imports->done()) {
        showCommandLineRun(g_imports->allImported());
    }
}

// For --snapshot and --frames, which end once their pictures are written: the logs are imported, and the
// commands run, before the main loop would start, GLUT's events handled meanwhile so that the window shows
// an import's progress and Escape cancels it. The window shows only that: a frame asked for once they end
// would draw the whole run, unfitted and at its start, just before the pictures are drawn (1.6 s for a
// million cells).
void handleEventsUntil(const std::function<bool()>& finished) {
    drawOnlyWhileImporting(true);
    while (!finished()) {
        glutMainLoopEvent();
    }
    drawOnlyWhileImporting(false);
}

// True when every log was read whole.
bool importBeforeTheLoop(const std::vector<std::string>& logs) {
    g_imports = std::make_unique<CommandLineImports>(logs);
    g_imports->start();
    handleEventsUntil([] { return g_imports->done(); });
    return g_imports->allImported();
}

// True when every command was taken and every import they asked for was read whole.
bool runCommandsBeforeTheLoop(const std::vector<std::string>& commands) {
    g_commands = std::make_unique<CommandLineCommands>(commands);
    g_commands->start();
    handleEventsUntil([] { return g_commands->done(); });
    return g_commands->allRan();
}

// The orderly end that the exit command also takes, for runs that end without being asked.
void destroyProgramObjects() {
    destroySimulation();
    destroyGLExtensions();
    destroyThemeStore();
    destroyMainWindow();
    destroyGarbageCan();
}

// --snapshot: the logs, the view fitted, one frame written. 0 when the picture was written; a log that
// could not be imported writes none, since the picture would not show what was asked for.
int drawSnapshot(const CommandLine& line) {
    int status = 1;
    // A palette that could not be applied, like a log that could not be read, leaves no picture.
    if (importBeforeTheLoop(line.logs) && applyCommandLinePalettes(line.palettes)) {
        fitViewToRun();
        if (!line.time.empty()) {
            moveTimeCursor(line.time);
        }
        if (VDConsole* console = getConsole()) {
            console->close();
        }
        // A command refused, or an import one asked for that was not read whole, leaves no picture, as a
        // palette that could not be applied does.
        if (!runCommandsBeforeTheLoop(line.commands)) {
            destroyProgramObjects();
            return status;
        }
        int width = 0;
        int height = 0;
        std::string error;
        if (writeSnapshot(line.snapshot, width, height, error)) {
            logMessage("Snapshot written: %s (%dx%d)", line.snapshot.c_str(), width, height);
            std::printf("Snapshot written: %s (%dx%d)\n", line.snapshot.c_str(), width, height);
            status = 0;
        } else {
            logMessage("Unable to write snapshot: %s: %s", line.snapshot.c_str(), error.c_str());
            std::fprintf(stderr, "tessaron: Unable to write snapshot: %s: %s\n", line.snapshot.c_str(),
                         error.c_str());
        }
    }
    destroyProgramObjects();
    return status;
}

// --frames: the logs, the view fitted, one picture per N event times. 0 when every frame was written.
int drawFrames(const CommandLine& line) {
    int status = 1;
    FrameSequence frames(line.framesDir, line.every, line.step);
    std::string error;
    if (!frames.checkFolder(error)) {
        std::fprintf(stderr, "tessaron: Unable to write frames: %s: %s\n", line.framesDir.c_str(),
                     error.c_str());
    } else if (importBeforeTheLoop(line.logs) && applyCommandLinePalettes(line.palettes) &&
               (fitViewToRun(), runCommandsBeforeTheLoop(line.commands))) {
        if (VDConsole* console = getConsole()) {
            console->close();
        }
        CursorClock clock(*getSimulation());
        Snapshotter snapshotter(true);
        auto draw = [&snapshotter](const std::string& path, std::string& why) {
            int width = 0;
            int height = 0;
            return snapshotter.write(path, width, height, why);
        };
        if (frames.write(clock, draw, error)) {
            logMessage("Frames written: %d into %s", frames.written(), line.framesDir.c_str());
            std::printf(
                "Frames written: %d into %s\nTo make a video of them:\n  %s\n", frames.written(),
                line.framesDir.c_str(),
                frames.videoCommand(line.fps != 0 ? line.fps : defaultFrameRate(frames.written())).c_str());
            if (frames.olderFrames() > 0) {
                logMessage("%s", frames.olderFramesNote().c_str());
                std::fprintf(stderr, "tessaron: %s\n", frames.olderFramesNote().c_str());
            }
            status = 0;
        } else {
            logMessage("Unable to write frames: %s: %s", line.framesDir.c_str(), error.c_str());
            std::fprintf(stderr, "tessaron: Unable to write frames: %s: %s\n", line.framesDir.c_str(),
                         error.c_str());
        }
    }
    destroyProgramObjects();
    return status;
}

// Escape while a video is written: the video stops, as Ctrl+C stops it.
class StopVideoCommand : public VDConsoleCommand {
  public:
    StopVideoCommand() : VDConsoleCommand("stop") {}
    void execute() override {
        Interruption::request();
        dispose();
    }
    bool parseArguments(const std::vector<std::string>&, std::string&) override { return true; }
};

std::unique_ptr<VDConsoleCommand> makeStopVideoCommand() {
    return std::make_unique<StopVideoCommand>();
}

// Where --time starts a video: the run's start, its last event time, or a time of the run.
double videoStart(const std::string& time) {
    if (time.empty() || time == "start") {
        return -HUGE_VAL;
    }
    if (time == "end") {
        return HUGE_VAL;
    }
    SDTime at;
    at.parse(time);
    return at.getMilliseconds();
}

// The frames of the run drawn one after another and handed to ffmpeg; only the frame being handed over is
// held. Escape (between frames) and Ctrl+C stop it, leaving no file. 0 when the video was written.
int writeVideo(const CommandLine& line, const std::string& ffmpeg) {
    CursorClock clock(*getSimulation());
    FrameWalk walk(line.every, line.step, videoStart(line.time));
    const size_t frames = walk.count(clock);
    const int rate = line.fps != 0 ? line.fps : defaultFrameRate(frames);
    const VDMainWindow* mainWindow = getMainWindow();
    Interruption interruption;
    getMainWindow()->setEscapeCommandFactory(&makeStopVideoCommand);
    // Escape is read between frames and while a frame waits for ffmpeg; the window draws nothing meanwhile.
    auto stop = [] {
        drawOnlyWhileImporting(true);
        glutMainLoopEvent();
        drawOnlyWhileImporting(false);
        return Interruption::requested();
    };
    VideoEncoder encoder(ffmpeg, stop);
    Snapshotter snapshotter;
    std::vector<uint8_t> rgb;
    TerminalProgress progress;
    const std::string total = std::to_string(frames);
    logMessage("Writing video: %s (%s frames, %d a second)", line.video.c_str(), total.c_str(), rate);
    std::string error;
    auto visit = [&](int number, double time, std::string& why) {
        if (stop() || !snapshotter.draw(rgb, why) || Interruption::requested() ||
            !encoder.writeFrame(rgb, why)) {
            return false;
        }
        progress.show("Video: frame " + std::to_string(number) + " of " + total + ", " +
                      SDTime(time).toString());
        return true;
    };
    bool written = frames > 0 && encoder.open(line.video, videoFormatOf(line.video), mainWindow->getWidth(),
                                              mainWindow->getHeight(), rate, error);
    if (frames == 0) {
        error = "the run has no event times";
    }
    written =
        written && walk.walk(clock, visit, error) && !Interruption::requested() && encoder.finish(error);
    const bool stopped = Interruption::requested();
    if (!written) {
        encoder.abandon();
    }
    getMainWindow()->setEscapeCommandFactory(&makeExitCommand);
    progress.finish(written ? "Video: " + total + " frames" : "Video: not written");
    if (written) {
        logMessage("Video written: %s (%s frames, %d a second)", line.video.c_str(), total.c_str(), rate);
        std::printf("Video written: %s (%s frames, %d a second)\n", line.video.c_str(), total.c_str(), rate);
        return 0;
    }
    if (stopped) {
        logMessage("Video stopped: %s was not written", line.video.c_str());
        std::fprintf(stderr, "tessaron: Video stopped: %s was not written\n", line.video.c_str());
    } else {
        logMessage("Unable to write video: %s: %s", line.video.c_str(), error.c_str());
        std::fprintf(stderr, "tessaron: Unable to write video: %s: %s\n", line.video.c_str(), error.c_str());
    }
    return 1;
}

// --video: the logs, the view fitted, the commands run, then the video. 0 when it was written.
int drawVideo(const CommandLine& line, const std::string& ffmpeg) {
    int status = 1;
    if (importBeforeTheLoop(line.logs) && applyCommandLinePalettes(line.palettes) &&
        (fitViewToRun(), runCommandsBeforeTheLoop(line.commands))) {
        if (VDConsole* console = getConsole()) {
            console->close();
        }
        status = writeVideo(line, ffmpeg);
    }
    destroyProgramObjects();
    return status;
}

// What --video needs before anything is drawn or written: a file name it can tell the format from, and
// ffmpeg. Empty, with a message on standard error, when either is missing.
std::string videoEncoderFor(const std::string& video) {
    if (videoFormatOf(video) == VideoFormat::Unknown) {
        std::fprintf(stderr, "tessaron: --video %s: the name must end in .mp4, .webm or .gif\n",
                     video.c_str());
        return "";
    }
    const char* searchPath = std::getenv("PATH");
    const std::string ffmpeg = findProgram("ffmpeg", searchPath != nullptr ? searchPath : "/usr/bin:/bin");
    if (ffmpeg.empty()) {
        std::fprintf(
            stderr,
            "tessaron: ffmpeg was not found: install it (apt-get install ffmpeg) or write frames with "
            "--frames\n");
    }
    return ffmpeg;
}

// An explicit --log place that cannot be written is worth a word; the log itself just drops its lines.
void checkLogPlace(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) {
        std::fprintf(stderr, "tessaron: cannot write the log to %s: %s\n", path.c_str(),
                     std::strerror(errno));
        return;
    }
    ::close(fd);
}

}  // namespace

int runTessaron(int argc, char** argv) {
    g_commandLine = parseCommandLine(argc, argv);
    const CommandLine& line = g_commandLine;
    switch (line.action) {
        case CommandLine::Action::Help:
            std::fputs(commandLineUsage().c_str(), stdout);
            return 0;
        case CommandLine::Action::Version:
            std::printf("%s\n", programVersion().c_str());
            return 0;
        case CommandLine::Action::Error:
            std::fprintf(stderr, "tessaron: %s\n%s", line.error.c_str(), commandLineUsage().c_str());
            return 2;
        case CommandLine::Action::Run:
            break;
    }
    std::string ffmpeg;
    if (!line.video.empty() && (ffmpeg = videoEncoderFor(line.video)).empty()) {
        return 1;
    }
    keepFreedMemoryForReuse();

    if (!line.noLog) {
        if (!line.logPath.empty()) {
            setLogFilePath(line.logPath);
            checkLogPlace(line.logPath);
        }
        resetLog();
    }
    flushLogOnFatalSignals();
    const char* everyMessage = std::getenv("TESSARON_LOG_EVERY_MESSAGE");
    setLogEveryMessage(line.logEveryMessage || (everyMessage != nullptr && std::string(everyMessage) == "1"));

    // GLUT sees its own options only; ours are gone from the list.
    std::vector<char*> glutArgv;
    for (const std::string& arg : line.glutArguments) {
        glutArgv.push_back(const_cast<char*>(arg.c_str()));
    }
    int glutArgc = static_cast<int>(glutArgv.size());
    glutArgv.push_back(nullptr);

    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_ALPHA | GLUT_DEPTH | GLUT_STENCIL | GLUT_MULTISAMPLE);
    glutInitWindowSize(line.width, line.height);
    glutInit(&glutArgc, glutArgv.data());
    glutCreateWindow("Tessaron");

    EngineVariables* vars = getEngineVariables();
    vars->setBool("console_logging", true);
    vars->setBool("file_logging", !line.noLog);

    // The process-wide objects, in the order they depend on each other. Each step stops start-up with its
    // own message when its object cannot be built.
    if (createGarbageCan() == nullptr) {
        return startupFailure("Unable to create garbage collector");
    }
    // The main window builds the console, which takes over the parser.
    if (createMainWindow(line.width, line.height, std::make_unique<VDDEVSConsoleParser>()) == nullptr) {
        return startupFailure("Unable to create Viewer Display Window");
    }
    getMainWindow()->setEscapeCommandFactory(&makeExitCommand);
    VDSnapshotCommand::setWriter(&writeCommandSnapshot);
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
    auto importHost = std::make_unique<GlutImportHost>();
    importHost->setEndListener(&advanceCommandLine);
    getSimulation()->setImportHost(std::move(importHost));
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
    if (!line.snapshot.empty()) {
        return drawSnapshot(line);
    }
    if (!line.framesDir.empty()) {
        return drawFrames(line);
    }
    if (!line.video.empty()) {
        return drawVideo(line, ffmpeg);
    }
    if (!line.logs.empty()) {
        // After the loop has started, so that the window is up while the logs are read.
        glutTimerFunc(0, openCommandLineLogs, 0);
    }
    glutMainLoop();
    return 0;
}
