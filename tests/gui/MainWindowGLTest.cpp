#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "gui/VDConsole.h"
#include "gui/VDEditBox.h"
#include "gui/VDLabel.h"
#include "gui/VDMainWindow.h"
#include "gui/VDMessageBox.h"
#include "gui/VDThemeStore.h"
#include "shell/VDGarbageCan.h"
#include "tests/gui/ConsoleFakes.h"
#include "tests/gui/ProbeWindow.h"
#include "tests/support/GLTestContext.h"
#include "tests/support/LogRecorder.h"

namespace {

using Lines = std::vector<std::string>;

// Stands in for the 3D view: records every event as "view:type", mouse positions, and its placements.
class ViewProbe : public VDWindow {
  public:
    explicit ViewProbe(Lines* journal, int* destroyed = nullptr)
        : m_journal(journal), m_destroyed(destroyed) {}
    ~ViewProbe() override {
        if (m_destroyed != nullptr) {
            ++*m_destroyed;
        }
    }
    bool handleEvent(VDEvent* event) override {
        m_journal->push_back("view:" + std::to_string(event->getType()));
        if (auto* mouse = dynamic_cast<VDMouseEvent*>(event)) {
            x = mouse->getX();
            y = mouse->getY();
        }
        return true;
    }
    void setRectangle(const VDRect& rect) override {
        m_journal->push_back("view:placed");
        VDWindow::setRectangle(rect);
    }
    int x = -1;
    int y = -1;

  private:
    Lines* m_journal;
    int* m_destroyed;
};

// A mouse event that claims to be a button event without being one.
class BareMouseEvent : public VDMouseEvent {
  public:
    BareMouseEvent() : VDMouseEvent(1, 1) { BareMouseEvent::assignType(); }
    void assignType() override { m_type = VDEvent::MOUSE_DOWN; }
};

std::unique_ptr<VDConsoleCommand> askFactory();
std::vector<int>* g_answers = nullptr;
int g_asked = 0;
std::unique_ptr<VDConsoleCommand> askFactory() {
    ++g_asked;
    return std::make_unique<AskCommand>(g_answers);
}

class MainWindowGLTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(GLTestContext::ensure());
        createGarbageCan();
        main = createMainWindow(800, 600, std::make_unique<FakeParser>(&parsed));
        ASSERT_NE(nullptr, main);
        auto probe = std::make_unique<ViewProbe>(&journal, &viewDestroyed);
        view = probe.get();
        main->setContentWindow(std::move(probe));
        journal.clear();
        g_answers = &answers;
        g_asked = 0;
    }
    void TearDown() override {
        destroyMainWindow();
        destroyGarbageCan();
        destroyThemeStore();
    }
    bool key(int value) {
        VDKeyDownEvent down(value);
        return main->handleEvent(&down);
    }
    void keyUp(int value) {
        VDKeyUpEvent up(value);
        main->handleEvent(&up);
    }

    Lines parsed;
    Lines journal;
    std::vector<int> answers;
    int viewDestroyed = 0;
    VDMainWindow* main = nullptr;
    ViewProbe* view = nullptr;
};

TEST_F(MainWindowGLTest, BuildsTheConsoleAndPlacesTheContentWindow) {
    VDConsole* console = getConsole();
    ASSERT_NE(nullptr, console);
    EXPECT_EQ(1, console->getId());
    EXPECT_TRUE(console->isOpen());
    EXPECT_TRUE(console->hasCloseButton());
    EXPECT_EQ(main, console->getParent());
    EXPECT_FLOAT_EQ(10, console->getRectangle().getX1());
    EXPECT_FLOAT_EQ(550, console->getRectangle().getY2());
    EXPECT_EQ(main, view->getParent());
    EXPECT_FLOAT_EQ(800, view->getRectangle().getX2());
    EXPECT_FLOAT_EQ(600, view->getRectangle().getY2());
    EXPECT_EQ(main, createMainWindow(10, 10, nullptr)) << "one main window";
}

TEST_F(MainWindowGLTest, InputGoesToTheBoxElseTheOpenConsoleElseTheView) {
    key('a');
    EXPECT_EQ("a", getConsole()->getCommandLine()->getText());
    EXPECT_TRUE(journal.empty());

    EXPECT_TRUE(key(VDKey::KEY_BACKQUOTE));
    EXPECT_FALSE(getConsole()->isOpen());
    key('b');
    keyUp('b');
    ImpostorEvent camera(65000);
    main->handleEvent(&camera);
    EXPECT_EQ((Lines{"view:7", "view:6", "view:65000"}), journal);
    EXPECT_EQ("a", getConsole()->getCommandLine()->getText());

    // Events raised by windows travel upwards and are no input.
    journal.clear();
    VDButtonPressEvent raised(3);
    EXPECT_FALSE(main->handleEvent(&raised));
    EXPECT_TRUE(journal.empty());

    main->showMessageBox(0, "Question", nullptr);
    key('c');
    keyUp('c');
    main->handleEvent(&camera);
    EXPECT_TRUE(journal.empty()) << "the box is modal";
    key(VDKey::KEY_BACKQUOTE);
    EXPECT_FALSE(getConsole()->isOpen()) << "back-quote goes to the box while it is open";
}

TEST_F(MainWindowGLTest, MousePositionsTurnToTheBottomLeftOrigin) {
    key(VDKey::KEY_BACKQUOTE);
    VDMouseDownEvent corner(VDMouseButtonEvent::LEFT, 0, 0);
    main->handleEvent(&corner);
    EXPECT_EQ(0, view->x);
    EXPECT_EQ(600, view->y);
    VDMouseUpEvent far(VDMouseButtonEvent::RIGHT, 799, 599);
    main->handleEvent(&far);
    EXPECT_EQ(799, view->x);
    EXPECT_EQ(1, view->y);
    VDMouseMoveEvent move(400, 100);
    main->handleEvent(&move);
    EXPECT_EQ(500, view->y);
    EXPECT_EQ((Lines{"view:5", "view:4", "view:3"}), journal);

    LogRecorder rec;
    BareMouseEvent bare;
    EXPECT_FALSE(main->handleEvent(&bare));
    EXPECT_EQ(1u, rec.count("Main window encountered an invalid mouse button event"));
}

TEST_F(MainWindowGLTest, BackQuoteAndTheCloseButtonShowAndHideTheConsole) {
    key(VDKey::KEY_BACKQUOTE);
    EXPECT_FALSE(getConsole()->isOpen());
    key(VDKey::KEY_BACKQUOTE);
    EXPECT_TRUE(getConsole()->isOpen());
    EXPECT_EQ("", getConsole()->getCommandLine()->getText()) << "back-quote is not typed";

    VDCloseEvent other(5);
    EXPECT_TRUE(main->handleEvent(&other));
    EXPECT_TRUE(getConsole()->isOpen());
    click(*main, 777, 63);  // the close button, in GLUT's top-left coordinates
    EXPECT_FALSE(getConsole()->isOpen());

    LogRecorder rec;
    ImpostorEvent fakeClose(VDEvent::CLOSE);
    EXPECT_TRUE(main->handleEvent(&fakeClose));
    ImpostorEvent fakeKey(VDEvent::KEY_DOWN);
    EXPECT_FALSE(main->handleEvent(&fakeKey));
    EXPECT_EQ((Lines{"Unable to cast event to close event",
                     "Invalid key down object associated with keydown type"}),
              rec.lines());
}

TEST_F(MainWindowGLTest, EscapeRunsANewCommandWhoseQuestionTakesTheNextKeys) {
    EXPECT_TRUE(key(VDKey::KEY_ESCAPE));
    EXPECT_EQ(nullptr, main->getMessageBox()) << "no factory, no question";

    main->setEscapeCommandFactory(&askFactory);
    key(VDKey::KEY_ESCAPE);
    ASSERT_NE(nullptr, main->getMessageBox());
    EXPECT_EQ("Really?", main->getMessageBox()->getMessage());
    VDRect r = main->getMessageBox()->getRectangle();
    EXPECT_FLOAT_EQ(200, r.getX1());
    EXPECT_FLOAT_EQ(260, r.getY1());
    EXPECT_FLOAT_EQ(600, r.getX2());
    EXPECT_FLOAT_EQ(340, r.getY2());
    key(VDKey::KEY_ESCAPE);
    EXPECT_EQ(1, g_asked) << "the second Escape goes to the box";

    // "No" sits at (410, 275)-(480, 295) in GUI coordinates.
    click(*main, 445, 600 - 285);
    EXPECT_EQ((std::vector<int>{2}), answers);
    EXPECT_EQ(nullptr, main->getMessageBox());
    EXPECT_EQ(2u, getGarbageCan()->pendingCount()) << "the box and the command";
    LogRecorder rec;
    getGarbageCan()->empty();
    EXPECT_EQ(2u, rec.lines().size());
}

TEST_F(MainWindowGLTest, ASecondBoxReplacesTheFirstWhichGoesToTheGarbageCan) {
    main->showMessageBox(0, "first", nullptr);
    VDMessageBox* first = main->getMessageBox();
    main->showMessageBox(1, "second", nullptr);
    EXPECT_NE(first, main->getMessageBox());
    EXPECT_EQ("second", main->getMessageBox()->getMessage());
    EXPECT_EQ(1u, getGarbageCan()->pendingCount());
    // The open box is the main window's to delete (TearDown); the replaced one the can's.
}

TEST_F(MainWindowGLTest, ResizeReachesTheViewAndTheBoxButNotTheConsole) {
    main->showMessageBox(0, "Question", nullptr);
    VDResizeEvent resize(640, 480);
    EXPECT_FALSE(main->handleEvent(&resize));
    EXPECT_EQ(640, main->getWidth());
    EXPECT_EQ(480, main->getHeight());
    EXPECT_FLOAT_EQ(640, view->getRectangle().getX2());
    EXPECT_FLOAT_EQ(480, main->getMessageBox()->getRectangle().getY2());
    EXPECT_FLOAT_EQ(0, main->getMessageBox()->getRectangle().getX1());
    EXPECT_FLOAT_EQ(790, getConsole()->getRectangle().getX2());
    // The box's contents scale with it: its label spans the new width.
    EXPECT_FLOAT_EQ(640 - 640.0f / 400 * 2, main->getMessageBox()->getLabel()->getRectangle().getX2());
}

TEST_F(MainWindowGLTest, RedisplayNeedsAThemeAndDrawsTheViewBeneathTheConsole) {
    {
        LogRecorder rec;
        VDRedisplayEvent redisplay;
        EXPECT_TRUE(main->handleEvent(&redisplay));
        EXPECT_EQ(1u, rec.count("Unable to grab current theme from ThemeStore"));
        EXPECT_TRUE(journal.empty());
    }
    ASSERT_TRUE(createThemeStore());
    glEnable(GL_DEPTH_TEST);
    VDRedisplayEvent redisplay;
    EXPECT_FALSE(main->handleEvent(&redisplay));
    EXPECT_EQ((Lines{"view:1"}), journal);
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST)) << "the 2D pass draws without depth testing";
}

TEST_F(MainWindowGLTest, AQuestionIsDrawnInFrontOfTheConsolesLines) {
    ASSERT_TRUE(createThemeStore());
    for (int i = 0; i < 40; ++i) {
        getConsole()->print(std::string(90, 'M'));
    }
    main->showMessageBox(VDMessageBox::KIND_YES_NO, "Are you sure you want to exit?", nullptr);
    // The box with the console's lines behind it, and over nothing: the same pixels.
    const VDRect box = main->getMessageBox()->getRectangle();
    const int x = static_cast<int>(box.getX1());
    const int y = static_cast<int>(box.getY1());
    const int w = static_cast<int>(box.getWidth());
    const int h = static_cast<int>(box.getHeight());
    ASSERT_TRUE(main->drawFrame());
    const std::vector<GLTestContext::Pixel> overConsole = GLTestContext::region(x, y, w, h);
    getConsole()->close();
    ASSERT_TRUE(main->drawFrame());
    const std::vector<GLTestContext::Pixel> alone = GLTestContext::region(x, y, w, h);
    ASSERT_EQ(alone.size(), overConsole.size());
    int differ = 0;
    for (size_t i = 0; i < alone.size(); ++i) {
        differ += alone[i].r != overConsole[i].r || alone[i].g != overConsole[i].g ||
                  alone[i].b != overConsole[i].b;
    }
    EXPECT_EQ(0, differ);
    // The console was drawn: around the box its lines show.
    getConsole()->open();
    ASSERT_TRUE(main->drawFrame());
    EXPECT_GT(GLTestContext::countNear(20, 100, 180, 400, {230, 230, 230, 255}, 3), 500);
}

TEST_F(MainWindowGLTest, DestroyingTheMainWindowTakesItsCompanionsAlong) {
    destroyMainWindow();
    EXPECT_EQ(nullptr, getMainWindow());
    EXPECT_EQ(nullptr, getConsole());
    EXPECT_EQ(1, viewDestroyed);
}

TEST(MainWindowParserTest, WithoutAParserThereIsNoConsole) {
    LogRecorder rec;
    VDMainWindow main(800, 600, nullptr);
    EXPECT_EQ(1u, rec.count("No console parser set for the main window."));
    EXPECT_EQ(nullptr, getConsole());
    VDKeyDownEvent backQuote(VDKey::KEY_BACKQUOTE);
    EXPECT_TRUE(main.handleEvent(&backQuote));
}

}  // namespace
