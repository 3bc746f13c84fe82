// The viewer window's event handling, without drawing.
#include <gtest/gtest.h>

#include <memory>

#include "console/VDDEVSConsoleParser.h"
#include "console/VDDEVSMoveCameraEvent.h"
#include "console/VDDEVSRotateCameraEvent.h"
#include "gui/VDConsole.h"
#include "gui/VDEvent.h"
#include "gui/VDPanel.h"
#include "gui/VDTextButton.h"
#include "tests/support/LogRecorder.h"
#include "view3d/VDFirstPersonCamera.h"
#include "view3d/VDTessaronerWindow.h"
#include "view3d/VDTimeBar.h"
#include "view3d/VDTimeLabel.h"

namespace {

// Stands in for the main window: counts the redisplay requests that travel up to it.
class RequestCounter : public VDWindow {
  public:
    bool handleEvent(VDEvent* event) override {
        if (event->getType() == VDEvent::REDISPLAY_REQUEST) {
            ++requests;
        }
        return false;
    }
    int requests = 0;
};

class TessaronerWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_window.setParent(&m_parent);
        m_window.setRectangle(VDRect(0, 0, 800, 600));
        m_window.initialise();
        // The first event to pass through the strip settles its focus flags, which asks for a redraw.
        send(VDMouseMoveEvent(700, 100));
        m_parent.requests = 0;
    }

    VDFirstPersonCamera& camera() { return *dynamic_cast<VDFirstPersonCamera*>(m_window.getCamera()); }
    bool send(VDEvent&& event) { return m_window.handleEvent(&event); }
    void click(int button, int x, int y) {
        send(VDMouseDownEvent(button, x, y));
        send(VDMouseUpEvent(button, x, y));
    }
    static void expectPosition(const Vector3& expected, const Vector3& actual) {
        EXPECT_NEAR(expected.x, actual.x, 1e-6);
        EXPECT_NEAR(expected.y, actual.y, 1e-6);
        EXPECT_NEAR(expected.z, actual.z, 1e-6);
    }
    static void expectRect(const VDRect& expected, const VDRect& actual) {
        EXPECT_EQ(expected.getX1(), actual.getX1());
        EXPECT_EQ(expected.getY1(), actual.getY1());
        EXPECT_EQ(expected.getX2(), actual.getX2());
        EXPECT_EQ(expected.getY2(), actual.getY2());
    }

    RequestCounter m_parent;
    VDTessaronerWindow m_window;
};

TEST_F(TessaronerWindowTest, StartsOneUnitUpAndBackLookingDownMinusZ) {
    VDTessaronerWindow fresh;
    auto* camera = dynamic_cast<VDFirstPersonCamera*>(fresh.getCamera());
    ASSERT_NE(nullptr, camera);
    EXPECT_EQ(Vector3(0, 1, 1), camera->getPosition());
    EXPECT_EQ(0.0f, camera->getYaw());
    EXPECT_EQ(0.0f, camera->getPitch());
    EXPECT_EQ(0.0f, camera->getRoll());
    EXPECT_EQ(90.0f, camera->getFieldOfView());
    EXPECT_EQ(0.1f, camera->getNearPlane());
    EXPECT_EQ(1000.0f, camera->getFarPlane());
    EXPECT_EQ(1.3333333f, camera->getAspectRatio());
    EXPECT_FALSE(fresh.isDragging());
}

TEST_F(TessaronerWindowTest, ButtonStripRunsAlongTheTopWithItsButtonsTimeLabelAndTimeBar) {
    VDTessaronerWindow window;
    window.setRectangle(VDRect(10, 20, 810, 620));
    window.initialise();
    VDPanel* panel = window.getPanel();
    ASSERT_NE(nullptr, panel);
    EXPECT_EQ(0, window.getPanelIndex());
    EXPECT_EQ(panel, window.getChild(0));
    expectRect(VDRect(10, 580, 610, 620), panel->getRectangle());
    EXPECT_EQ(1.0f, panel->getMargin());
    EXPECT_EQ(10.0f, panel->getTitleHeight());
    EXPECT_FALSE(panel->hasCloseButton());
    EXPECT_FALSE(panel->isResizable());
    EXPECT_TRUE(panel->isMovable());
    EXPECT_TRUE(panel->isFocused());
    EXPECT_EQ(&window, panel->getParent());

    // "Console" stays first, so it has the focus as before.
    ASSERT_EQ(6, panel->getChildCount());
    EXPECT_EQ(window.getConsoleButton(), panel->getChild(0));
    EXPECT_EQ(window.getMoveForwardButton(), panel->getChild(1));
    EXPECT_EQ(window.getPlayButton(), panel->getChild(2));
    EXPECT_EQ(window.getStopButton(), panel->getChild(3));
    // Right of "Move Forward" to the strip's end, and the strip's bottom edge below the buttons: a bar 6
    // pixels high.
    expectRect(VDRect(290, 588, 605, 605), window.getTimeLabel()->getRectangle());
    EXPECT_TRUE(window.getTimeLabel()->isFitted());
    expectRect(VDRect(15, 581, 605, 587), window.getTimeBar()->getRectangle());
    EXPECT_EQ(VDScrollBar::HORIZONTAL, window.getTimeBar()->getOrientation());
    struct Expected {
        VDTextButton* button;
        int id;
        const char* caption;
        float x1, x2;
    };
    for (const Expected& e : {Expected{window.getPlayButton(), 65000, "Play", 15, 65},
                              Expected{window.getStopButton(), 65001, "Stop", 70, 115},
                              Expected{window.getConsoleButton(), 65002, "Console", 120, 175},
                              Expected{window.getMoveForwardButton(), 65003, "Move Forward", 180, 285}}) {
        SCOPED_TRACE(e.caption);
        ASSERT_NE(nullptr, e.button);
        EXPECT_EQ(e.id, e.button->getId());
        EXPECT_EQ(e.caption, e.button->getCaption());
        EXPECT_EQ(panel, e.button->getParent());
        expectRect(VDRect(e.x1, 588, e.x2, 605), e.button->getRectangle());
    }
}

TEST_F(TessaronerWindowTest, RightClickMovesOneUnitForwardAndAsksForARedraw) {
    send(VDMouseDownEvent(VDMouseButtonEvent::RIGHT, 400, 300));
    expectPosition(Vector3(0, 1, 0), camera().getPosition());
    EXPECT_EQ(1, m_parent.requests);
    EXPECT_FALSE(m_window.isDragging());
}

TEST_F(TessaronerWindowTest, MoveForwardMovesHalfAUnitWhetherPressedOrClicked) {
    send(VDButtonPressEvent(VDTessaronerWindow::MOVE_FORWARD_BUTTON_ID));
    expectPosition(Vector3(0, 1, 0.5f), camera().getPosition());
    EXPECT_EQ(1, m_parent.requests);

    // A real click on the button, through the panel; it is not the focused button at first.
    VDRect r = m_window.getMoveForwardButton()->getRectangle();
    int x = static_cast<int>((r.getX1() + r.getX2()) / 2);
    int y = static_cast<int>((r.getY1() + r.getY2()) / 2);
    click(VDMouseButtonEvent::LEFT, x, y);
    expectPosition(Vector3(0, 1, 0), camera().getPosition());
    click(VDMouseButtonEvent::LEFT, x, y);
    expectPosition(Vector3(0, 1, -0.5f), camera().getPosition());
    EXPECT_EQ(0.0f, camera().getYaw());
    EXPECT_EQ(0.0f, camera().getPitch());
}

TEST_F(TessaronerWindowTest, LeftDragTurnsOneDegreePerPixel) {
    send(VDMouseDownEvent(VDMouseButtonEvent::LEFT, 100, 100));
    EXPECT_TRUE(m_window.isDragging());
    send(VDMouseMoveEvent(110, 95));
    EXPECT_FLOAT_EQ(-10, camera().getYaw());
    EXPECT_FLOAT_EQ(-5, camera().getPitch());
    EXPECT_EQ(1, m_parent.requests);
    send(VDMouseMoveEvent(105, 105));  // steps are taken from the last position
    EXPECT_FLOAT_EQ(-5, camera().getYaw());
    EXPECT_FLOAT_EQ(5, camera().getPitch());

    // Releasing another button keeps the drag; releasing the left one ends it.
    send(VDMouseUpEvent(VDMouseButtonEvent::MIDDLE, 105, 105));
    EXPECT_TRUE(m_window.isDragging());
    send(VDMouseUpEvent(VDMouseButtonEvent::LEFT, 105, 105));
    EXPECT_FALSE(m_window.isDragging());
    int requests = m_parent.requests;
    send(VDMouseMoveEvent(200, 200));
    EXPECT_FLOAT_EQ(-5, camera().getYaw());
    EXPECT_EQ(requests, m_parent.requests);
}

TEST_F(TessaronerWindowTest, APressClaimedByAButtonStartsNoDrag) {
    VDTextButton* console = m_window.getConsoleButton();
    ASSERT_TRUE(console->isFocused());
    VDRect r = console->getRectangle();
    int x = static_cast<int>((r.getX1() + r.getX2()) / 2);
    int y = static_cast<int>((r.getY1() + r.getY2()) / 2);
    EXPECT_TRUE(send(VDMouseDownEvent(VDMouseButtonEvent::LEFT, x, y)));
    EXPECT_FALSE(m_window.isDragging());
    EXPECT_TRUE(console->isPressed());
    send(VDMouseMoveEvent(x + 3, y + 2));
    EXPECT_EQ(0.0f, camera().getYaw());
    EXPECT_EQ(0.0f, camera().getPitch());
}

TEST_F(TessaronerWindowTest, WhileDraggingTheButtonsSeeNothing) {
    send(VDMouseDownEvent(VDMouseButtonEvent::LEFT, 100, 100));
    VDRect r = m_window.getConsoleButton()->getRectangle();
    int x = static_cast<int>((r.getX1() + r.getX2()) / 2);
    int y = static_cast<int>((r.getY1() + r.getY2()) / 2);
    send(VDMouseMoveEvent(x, y));
    EXPECT_FALSE(m_window.getConsoleButton()->isHover());
    send(VDMouseUpEvent(VDMouseButtonEvent::LEFT, x, y));
    send(VDMouseMoveEvent(x, y + 1));
    EXPECT_TRUE(m_window.getConsoleButton()->isHover());
}

TEST_F(TessaronerWindowTest, ConsoleButtonTogglesTheConsoleAndPlayAndStopNeedAController) {
    // Without a console the press is harmless.
    send(VDButtonPressEvent(VDTessaronerWindow::CONSOLE_BUTTON_ID));

    setConsole(std::make_unique<VDConsole>(std::make_unique<VDDEVSConsoleParser>()));
    VDConsole* console = getConsole();
    console->initialise();
    ASSERT_TRUE(console->isOpen());
    send(VDButtonPressEvent(VDTessaronerWindow::CONSOLE_BUTTON_ID));
    EXPECT_FALSE(console->isOpen());
    send(VDButtonPressEvent(VDTessaronerWindow::CONSOLE_BUTTON_ID));
    EXPECT_TRUE(console->isOpen());

    for (int id : {VDTessaronerWindow::PLAY_BUTTON_ID, VDTessaronerWindow::STOP_BUTTON_ID}) {
        send(VDButtonPressEvent(id));
    }
    EXPECT_TRUE(console->isOpen());
    EXPECT_EQ(Vector3(0, 1, 1), camera().getPosition());
    EXPECT_EQ(0.0f, camera().getYaw());
    EXPECT_EQ(0, m_parent.requests);
    setConsole(nullptr);
}

TEST_F(TessaronerWindowTest, CameraEventsMoveAndTurnTheCamera) {
    EXPECT_TRUE(send(VDDEVSRotateCameraEvent(90, 0, 0)));
    EXPECT_EQ(1, m_parent.requests);
    Vector3 forward = camera().getOrientation().getForward();
    expectPosition(Vector3(-1, 0, 0), forward);

    // Forward, side, vertical: along -X, then right (now -Z), then up.
    EXPECT_TRUE(send(VDDEVSMoveCameraEvent(3, 1, 2)));
    EXPECT_EQ(2, m_parent.requests);
    expectPosition(Vector3(-3, 3, 0), camera().getPosition());

    EXPECT_TRUE(send(VDDEVSRotateCameraEvent(-90, 30, 10)));
    EXPECT_FLOAT_EQ(0, camera().getYaw());
    EXPECT_FLOAT_EQ(30, camera().getPitch());
    EXPECT_FLOAT_EQ(10, camera().getRoll());
}

// An event that claims a type code its class does not have.
class ImpostorEvent : public VDEvent {
  public:
    explicit ImpostorEvent(int type) : m_claimed(type) { ImpostorEvent::assignType(); }
    void assignType() override { m_type = m_claimed; }

  private:
    int m_claimed;
};

TEST_F(TessaronerWindowTest, MislabelledCameraEventsAreLoggedAndCountAsHandled) {
    LogRecorder log;
    EXPECT_TRUE(send(ImpostorEvent(65000)));
    EXPECT_TRUE(send(ImpostorEvent(65001)));
    EXPECT_EQ(std::vector<std::string>({"Unable to cast event to move camera event.",
                                        "Unable to cast event to rotate camera event."}),
              log.lines());
    EXPECT_EQ(Vector3(0, 1, 1), camera().getPosition());
    EXPECT_EQ(0.0f, camera().getYaw());
    EXPECT_EQ(0, m_parent.requests);
}

TEST_F(TessaronerWindowTest, ResizingKeepsTheStripAlongTheTopAndFitsTheAspectRatio) {
    // The strip ends 200 short of the window's right edge, but is at least 600 wide, or as wide as a
    // narrower window; the buttons keep their places below its top-left corner, the label and the bar span
    // it to 5 short of its end.
    const struct {
        float width, height, stripX2;
    } cases[] = {{1000, 500, 800}, {1024, 768, 824}, {700, 400, 600}, {400, 300, 400}, {800, 600, 600}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
        m_window.setRectangle(VDRect(0, 0, c.width, c.height));
        expectRect(VDRect(0, 0, c.width, c.height), m_window.getRectangle());
        const float top = c.height;
        expectRect(VDRect(0, top - 40, c.stripX2, top), m_window.getPanel()->getRectangle());
        expectRect(VDRect(170, top - 32, 275, top - 15), m_window.getMoveForwardButton()->getRectangle());
        expectRect(VDRect(280, top - 32, c.stripX2 - 5, top - 15), m_window.getTimeLabel()->getRectangle());
        expectRect(VDRect(5, top - 39, c.stripX2 - 5, top - 33), m_window.getTimeBar()->getRectangle());
    }
    m_window.setRectangle(VDRect(0, 0, 1000, 500));
    EXPECT_FLOAT_EQ(2.0f, camera().getAspectRatio());
    EXPECT_TRUE(camera().isProjectionDirty());

    m_window.setRectangle(VDRect(0, 0, 1024, 768));
    EXPECT_FLOAT_EQ(4.0f / 3.0f, camera().getAspectRatio());
    // Sizes of the same shape leave the projection alone.
    camera().getProjectionMatrix();
    m_window.setRectangle(VDRect(0, 0, 800, 600));
    EXPECT_FALSE(camera().isProjectionDirty());

    // A minimised window has no shape: the ratio stays finite and as it was.
    float shaped = camera().getAspectRatio();
    m_window.setRectangle(VDRect(0, 0, 800, 0));
    m_window.setRectangle(VDRect(0, 0, 0, 600));
    EXPECT_EQ(shaped, camera().getAspectRatio());
    // Shown again, the strip is as it was.
    m_window.setRectangle(VDRect(0, 0, 800, 600));
    expectRect(VDRect(0, 560, 600, 600), m_window.getPanel()->getRectangle());
    expectRect(VDRect(280, 568, 595, 585), m_window.getTimeLabel()->getRectangle());
}

}  // namespace
