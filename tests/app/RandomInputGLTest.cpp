// Several thousand random toolkit events through the GLUT bridge into the real main window, built as the
// program builds it: keys with and without modifiers, special keys, mouse moves, presses and releases
// anywhere, resizes and redisplays, with the console open and closed and the exit question open, and ten
// thousand more while a run plays on GLUT's own timers. The program must survive it without a leak
// (LeakSanitizer at exit) and still run commands afterwards.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "console/VDDEVSConsoleParser.h"
#include "console/VDExitCommand.h"
#include "control/VCSimulation.h"
#include "gui/VDConsole.h"
#include "gui/VDEditBox.h"
#include "gui/VDEvent.h"
#include "gui/VDMainWindow.h"
#include "gui/VDMessageBox.h"
#include "gui/VDStringLog.h"
#include "gui/VDTextBox.h"
#include "gui/VDThemeStore.h"
#include "shell/EngineVariables.h"
#include "shell/GLExtensions.h"
#include "shell/Log.h"
#include "shell/VDGarbageCan.h"
#include "shell/app/GlutBridge.h"
#include "shell/app/GlutPlaybackTimer.h"
#include "simdata/SDVisualization.h"
#include "tests/support/GLTestContext.h"
#include "tests/support/TempDir.h"
#include "view3d/VDFirstPersonCamera.h"
#include "view3d/VDTessaronerWindow.h"

namespace {

int g_confirmed = 0;  // Yes answers to the exit question, each turned into No

// An exit from inside the test (a Yes that got through) would end the process with status 0, which would
// read as a pass.
bool g_running = false;
void failIfRunning() {
    if (g_running) {
        std::fputs("The process exited in the middle of the random input test\n", stderr);
        std::_Exit(1);
    }
}

// The exit question as the program asks it, except that Yes does not end the test's process.
class StayingExitCommand : public VDExitCommand {
  public:
    void onResult(int result) override {
        if (result == RESULT_YES) {
            ++g_confirmed;
            result = RESULT_NO;
        }
        VDExitCommand::onResult(result);
    }
};

std::unique_ptr<VDConsoleCommand> makeStayingExitCommand() {
    return std::make_unique<StayingExitCommand>();
}

// The program's command language with the same one exception for "exit".
class StayingParser : public VDDEVSConsoleParser {
  public:
    bool parse(std::string line, VDConsoleCommand** command, std::string& reply) override {
        if (!VDDEVSConsoleParser::parse(line, command, reply)) {
            return false;
        }
        if (*command != nullptr && (*command)->getName() == "exit") {
            delete *command;
            *command = makeStayingExitCommand().release();
        }
        return true;
    }
};

class RandomInputGLTest : public ::testing::Test {
  protected:
    // The start-up sequence of the program without its GLUT set-up (the test context's window stands in)
    // and without entering the main loop: the 3D view draws the imported cells and takes the mouse.
    void SetUp() override {
        ASSERT_TRUE(GLTestContext::ensure());
        g_running = true;
        std::atexit(failIfRunning);
        resetLog();
        getEngineVariables()->setBool("console_logging", true);
        getEngineVariables()->setBool("file_logging", true);
        ASSERT_NE(nullptr, createGarbageCan());
        ASSERT_NE(nullptr, createMainWindow(800, 600, std::make_unique<StayingParser>()));
        getMainWindow()->setEscapeCommandFactory(&makeStayingExitCommand);
        ASSERT_NE(nullptr, createGLExtensions());
        ASSERT_TRUE(createThemeStore());
        ASSERT_NE(nullptr, createSimulation());
        getMainWindow()->setContentWindow(std::make_unique<VDTessaronerWindow>());
        onGlutReshape(800, 600);
        small = dir.write("small.log",
                          "msg Y / 00:00:00:100 / life(1,2)(9) / out / 1 to life(02)\n"
                          "msg X / 00:00:00:100 / life(02) / neighborchange / 1 to life(2,2)(10)\n");
    }
    // As the exit confirmation takes the program down.
    void TearDown() override {
        destroySimulation();
        destroyGLExtensions();
        destroyThemeStore();
        destroyMainWindow();
        destroyGarbageCan();
        getEngineVariables()->setBool("file_logging", false);
        getEngineVariables()->setBool("console_logging", false);
        g_running = false;
    }

    // Types a line as GLUT reports it (Shift with capitals and '_') and presses Enter.
    void typeLine(const std::string& line) {
        for (unsigned char c : line + "\r") {
            const bool shifted = (c >= 'A' && c <= 'Z') || c == '_';
            key(c, shifted ? GLUT_ACTIVE_SHIFT : 0);
        }
    }
    void key(unsigned char c, int modifiers) {
        VDKeyDownEvent down = keyDownFromGlutCharacter(c, modifiers);
        getMainWindow()->handleEvent(&down);
        VDKeyUpEvent up = keyUpFromGlutCharacter(c);
        getMainWindow()->handleEvent(&up);
    }
    void special(int code, int modifiers) {
        VDKeyDownEvent down = keyDownFromGlutSpecial(code, modifiers);
        getMainWindow()->handleEvent(&down);
        if (code % 2 == 0) {  // some releases go missing, as when focus leaves the window
            VDKeyUpEvent up = keyUpFromGlutSpecial(code);
            getMainWindow()->handleEvent(&up);
        }
    }

    std::vector<std::string> consoleLines() const {
        const VDStringLog& log = getConsole()->getOutput()->getLog();
        return std::vector<std::string>(log.begin(), log.end());  // newest first
    }

    TempDir dir{true};  // the log file goes here
    std::string small;
};

TEST_F(RandomInputGLTest, ThousandsOfRandomEventsLeaveTheProgramWorking) {
    typeLine("vis_new demo");
    typeLine("vis_import_logfile " + std::string(TESS_SOURCE_DIR) + "/samples/life_20x20.log");
    ASSERT_NE(nullptr, getVisualization());

    const std::vector<std::string> commands = {"print VIS",
                                               "print VIS_NL",
                                               "print VIS_ML",
                                               "print VIS_EL",
                                               "vis_close",
                                               "vis_new again",
                                               "exit",
                                               "exit now",
                                               "vis_import_logfile " + small,
                                               "cam_move 1 2 3",
                                               "cam_rotate 10 -5 1e999",
                                               "vis_add_detail_node CUBE 1 2 3 4"};
    const int modifiers[] = {0,
                             0,
                             0,
                             0,
                             GLUT_ACTIVE_SHIFT,
                             GLUT_ACTIVE_CTRL,
                             GLUT_ACTIVE_ALT,
                             GLUT_ACTIVE_SHIFT | GLUT_ACTIVE_CTRL};
    std::mt19937 random(20261208);
    auto below = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    int withConsole = 0, withoutConsole = 0, withBox = 0, questions = 0;
    for (int i = 0; i < 6000; ++i) {
        if (getMainWindow()->getMessageBox() != nullptr) {
            ++withBox;
        } else if (getConsole()->isOpen()) {
            ++withConsole;
        } else {
            ++withoutConsole;
        }
        const int roll = below(1000);
        if (roll < 350) {
            key(static_cast<unsigned char>(32 + below(95)), modifiers[below(8)]);
        } else if (roll < 420) {
            key(static_cast<unsigned char>(below(256)), modifiers[below(8)]);
        } else if (roll < 470) {
            key('\r', 0);
        } else if (roll < 540) {
            // F1-F12, the arrows and paging keys, the keys freeglut adds (modifiers, Delete) and unknown
            // codes
            const int codes[] = {1 + below(12), 100 + below(9), 109 + below(11), below(256)};
            special(codes[below(4)], modifiers[below(8)]);
        } else if (roll < 720) {
            onGlutMotion(below(900) - 50, below(700) - 50);
        } else if (roll < 860) {
            onGlutMouse(below(5), below(2) == 0 ? GLUT_DOWN : GLUT_UP, below(900) - 50, below(700) - 50);
        } else if (roll < 870) {
            const int sizes[] = {0, 1, below(1600)};
            onGlutReshape(sizes[below(3)], sizes[below(3)]);
        } else if (roll < 940) {
            onGlutDisplay();
        } else if (roll < 965) {
            typeLine(commands[static_cast<size_t>(below(static_cast<int>(commands.size())))]);
        } else if (roll < 985) {
            key('`', 0);
        } else {
            questions += getMainWindow()->getMessageBox() == nullptr ? 1 : 0;
            key(27, 0);
        }
    }
    // Every situation had its share.
    EXPECT_GT(withConsole, 500);
    EXPECT_GT(withoutConsole, 500);
    EXPECT_GT(withBox, 500);
    EXPECT_GT(questions, 5);
    EXPECT_GT(g_confirmed, 0);
    std::printf(
        "events with the console open %d, closed %d, with a question open %d; %d questions, %d "
        "answered Yes\n",
        withConsole, withoutConsole, withBox, questions, g_confirmed);

    // Answer an open question with No, open the console and use it.
    if (VDMessageBox* box = getMainWindow()->getMessageBox()) {
        VDButtonPressEvent no(1);
        box->handleEvent(&no);
    }
    onGlutReshape(800, 600);
    onGlutDisplay();
    ASSERT_EQ(nullptr, getMainWindow()->getMessageBox());
    if (!getConsole()->isOpen()) {
        key('`', 0);
    }
    ASSERT_TRUE(getConsole()->isOpen());
    // As a user would: click into the command line (Tab also moves the focus round), then clear it.
    VDEditBox* commandLine = getConsole()->getCommandLine();
    const VDRect place = commandLine->getRectangle();
    const int clickX = static_cast<int>((place.getX1() + place.getX2()) / 2);
    const int clickY = 600 - static_cast<int>((place.getY1() + place.getY2()) / 2);
    onGlutMouse(GLUT_LEFT_BUTTON, GLUT_DOWN, clickX, clickY);
    onGlutMouse(GLUT_LEFT_BUTTON, GLUT_UP, clickX, clickY);
    for (int i = 0; i < 4 && !commandLine->isFocused(); ++i) {
        key('\t', 0);
    }
    ASSERT_TRUE(commandLine->isFocused());
    special(GLUT_KEY_END, 0);
    for (int i = 0; i < 300 && !commandLine->getText().empty(); ++i) {
        key(8, 0);
    }
    ASSERT_EQ("", commandLine->getText());
    typeLine("vis_close");
    typeLine("vis_new after");
    typeLine("print VIS");
    ASSERT_NE(nullptr, getVisualization());
    EXPECT_EQ("after.vis", getVisualization()->getName());
    const std::vector<std::string> lines = consoleLines();
    ASSERT_GE(lines.size(), 5u);
    EXPECT_EQ("Name: after.vis", lines[2]);
    EXPECT_EQ("Current Visualization:", lines[3]);
    onGlutDisplay();
}

}  // namespace

// Playback runs on real GLUT timers, which the test's loop lets fire as the main loop would, between the
// events. Whenever it has stopped (at the end of the run, by Space, "stop", the exit question or a close)
// it is started again, on a run imported again if need be, so that the events land while it plays.
TEST_F(RandomInputGLTest, TenThousandRandomEventsDuringPlaybackLeaveTheProgramWorking) {
    VCSimulation* simulation = getSimulation();
    simulation->setPlaybackTimer(std::make_unique<GlutPlaybackTimer>());
    const std::string run = std::string(TESS_SOURCE_DIR) + "/samples/life_20x20.log";
    typeLine("vis_new demo");
    typeLine("vis_import_logfile " + run);
    key('`', 0);
    ASSERT_FALSE(getConsole()->isOpen());

    const std::vector<std::string> commands = {"play",
                                               "play 1000",
                                               "play 0.1",
                                               "play 0",
                                               "stop",
                                               "time_goto end",
                                               "vis_close",
                                               "vis_new again",
                                               "vis_import_logfile " + run,
                                               "vis_import_logfile " + small};
    // Space, the arrows, Home, End, and keys that mean nothing to the view.
    const int timeKeys[] = {GLUT_KEY_LEFT, GLUT_KEY_RIGHT, GLUT_KEY_HOME, GLUT_KEY_END, GLUT_KEY_UP};
    std::mt19937 random(20261209);
    auto below = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    int whilePlaying = 0, restarts = 0, steps = 0, resizedWhilePlaying = 0;
    for (int i = 0; i < 10000; ++i) {
        if (!simulation->isPlaying()) {
            if (getVisualization() == nullptr) {
                simulation->newVisualization("again");
            }
            if (simulation->timeCount() == 0) {
                simulation->importLogFile(run);
            }
            simulation->play(below(2) == 0 ? 1000.0 : 50.0);
            ++restarts;
        }
        const bool playing = simulation->isPlaying();
        whilePlaying += playing ? 1 : 0;
        const double before = simulation->currentTime();
        const int roll = below(1000);
        if (roll < 200) {
            key(static_cast<unsigned char>(below(4) == 0 ? ' ' : 32 + below(95)),
                below(8) == 0 ? GLUT_ACTIVE_SHIFT : 0);
        } else if (roll < 350) {
            special(timeKeys[below(5)], below(6) == 0 ? GLUT_ACTIVE_SHIFT : 0);
        } else if (roll < 550) {
            onGlutMotion(below(900) - 50, below(700) - 50);
        } else if (roll < 750) {
            // Half of the presses and releases on the strip: its buttons and the time bar.
            const int y = below(2) == 0 ? below(45) : below(700) - 50;
            onGlutMouse(below(3), below(2) == 0 ? GLUT_DOWN : GLUT_UP, below(900) - 50, y);
        } else if (roll < 770) {
            const int sizes[] = {1, 640, 800, below(1600)};
            onGlutReshape(sizes[below(4)], sizes[below(4)]);
            if (playing) {
                ++resizedWhilePlaying;
                EXPECT_TRUE(simulation->isPlaying()) << "a resize keeps playing";
            }
        } else if (roll < 850) {
            onGlutDisplay();
        } else if (roll < 870) {
            if (!getConsole()->isOpen()) {
                key('`', 0);
            }
            typeLine(commands[static_cast<size_t>(below(static_cast<int>(commands.size())))]);
            key('`', 0);
        } else if (roll < 880) {
            key(27, 0);
        } else if (roll < 890) {
            key('\r', 0);  // answers an open question: the staying "Yes"
        } else {
            // A pass of the main loop: due timers step the run.
            glutMainLoopEvent();
        }
        steps += simulation->currentTime() != before ? 1 : 0;
    }
    EXPECT_GT(whilePlaying, 9000);
    EXPECT_GT(restarts, 20);
    EXPECT_GT(steps, 300);
    EXPECT_GT(resizedWhilePlaying, 50);
    std::printf("%d events while playing, %d starts, %d moves of the time, %d resizes while playing\n",
                whilePlaying, restarts, steps, resizedWhilePlaying);

    // A question left open is answered No; the run still plays and stops.
    if (VDMessageBox* box = getMainWindow()->getMessageBox()) {
        VDButtonPressEvent no(1);
        box->handleEvent(&no);
    }
    onGlutDisplay();
    simulation->closeVisualization();
    ASSERT_TRUE(simulation->newVisualization("after"));
    ASSERT_TRUE(simulation->importLogFile(run));
    ASSERT_TRUE(simulation->play(1000));
    EXPECT_TRUE(simulation->stopPlayback());
    onGlutDisplay();
}

// A left drag in the 3D view, cut short by the console or by the exit question, ends there: its release goes
// to them, and later plain moves over the view must not turn the camera.
TEST_F(RandomInputGLTest, ADragCutShortByTheConsoleOrTheQuestionEndsThere) {
    auto* view = dynamic_cast<VDTessaronerWindow*>(getMainWindow()->getContentWindow());
    ASSERT_NE(nullptr, view);
    auto* camera = dynamic_cast<VDFirstPersonCamera*>(view->getCamera());
    ASSERT_NE(nullptr, camera);
    key('`', 0);  // start-up leaves the console open
    ASSERT_FALSE(getConsole()->isOpen());

    for (unsigned char interruption : {'`', '\x1b'}) {
        SCOPED_TRACE(interruption == '`' ? "console" : "question");
        onGlutMouse(GLUT_LEFT_BUTTON, GLUT_DOWN, 400, 300);
        onGlutMotion(410, 300);
        const float turned = camera->getYaw();
        EXPECT_NE(0.0f, turned);
        key(interruption, 0);
        onGlutMouse(GLUT_LEFT_BUTTON, GLUT_UP, 410, 300);
        if (interruption == '`') {
            key('`', 0);
        } else {
            key('\r', 0);  // the staying "Yes"
            ASSERT_EQ(nullptr, getMainWindow()->getMessageBox());
        }
        ASSERT_FALSE(getConsole()->isOpen());
        onGlutMotion(450, 320);
        EXPECT_EQ(turned, camera->getYaw());
        EXPECT_FALSE(view->isDragging());
    }
}
