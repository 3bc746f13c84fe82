#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "gui/VDEvent.h"
#include "gui/VDEventGenerator.h"
#include "gui/VDThemeStore.h"
#include "gui/VDWindow.h"
#include "tests/gui/ProbeWindow.h"
#include "tests/support/LogRecorder.h"

namespace {

using Journal = std::vector<std::string>;

void expectRect(const VDRect& r, float x1, float y1, float x2, float y2) {
    EXPECT_FLOAT_EQ(x1, r.getX1());
    EXPECT_FLOAT_EQ(y1, r.getY1());
    EXPECT_FLOAT_EQ(x2, r.getX2());
    EXPECT_FLOAT_EQ(y2, r.getY2());
}

TEST(WindowTest, RectangleContainsItsEdgesAndSetsInCornerOrder) {
    VDRect r;
    r.set(10, 20, 30, 60);
    expectRect(r, 10, 20, 30, 60);
    EXPECT_FLOAT_EQ(20, r.getWidth());
    EXPECT_FLOAT_EQ(40, r.getHeight());
    EXPECT_TRUE(r.contains(10, 20));
    EXPECT_TRUE(r.contains(30, 60));
    EXPECT_FALSE(r.contains(9.9f, 40));
    EXPECT_FALSE(r.contains(20, 60.1f));
    r.translate(-10, 5);
    expectRect(r, 0, 25, 20, 65);
}

TEST(WindowTest, GeneratorRoutesByRoutingValueAndSkipsDisabledListeners) {
    Journal journal;
    ProbeWindow parent("parent", &journal);
    ProbeWindow a("a", &journal);
    ProbeWindow b("b", &journal);
    ProbeWindow c("c", &journal);
    VDEventGenerator generator;
    generator.setParentListener(&parent);
    generator.addListener(&a);
    generator.addListener(&b);
    generator.addListener(&c);
    generator.addListener(&a);  // moves a to the end rather than registering it twice
    ASSERT_EQ(3u, generator.getListeners().size());
    b.setEnabled(false);

    VDRedisplayEvent down;
    EXPECT_FALSE(generator.dispatch(&down));
    EXPECT_EQ((Journal{"c:1", "a:1"}), journal);

    journal.clear();
    VDRedisplayRequestEvent up;
    generator.dispatch(&up);
    EXPECT_EQ((Journal{"parent:8"}), journal);

    journal.clear();
    VDRedisplayEvent both;
    both.setRouting(VDEvent::ROUTE_BOTH);
    generator.dispatch(&both);
    EXPECT_EQ((Journal{"parent:1", "c:1", "a:1"}), journal);

    journal.clear();
    VDRedisplayEvent nowhere;
    nowhere.setRouting(3);
    generator.dispatch(&nowhere);
    EXPECT_TRUE(journal.empty());

    // A single listener, downward events only.
    a.setResult(true);
    EXPECT_TRUE(generator.sendToListener(&down, 2));
    EXPECT_FALSE(generator.sendToListener(&up, 2));
    EXPECT_FALSE(generator.sendToListener(&down, 0)) << "b is disabled";
    EXPECT_FALSE(generator.sendToListener(&down, 3));
    EXPECT_FALSE(generator.sendToListener(&down, -1));

    generator.removeListener(&parent);
    EXPECT_EQ(nullptr, generator.getParentListener());
    generator.removeListener(&c);
    EXPECT_EQ((std::vector<VDEventListener*>{&b, &a}), generator.getListeners());
}

// A parent window with three probe children; the parent records nothing itself.
class FocusTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(nullptr, getThemeStore()) << "input must work with the default bindings alone";
        for (const char* name : {"a", "b", "c"}) {
            auto child = std::make_unique<ProbeWindow>(name, &journal);
            children.push_back(child.get());
            window.addChild(std::move(child));
            children.back()->setParent(&window);
        }
        children[0]->setRectangle(VDRect(0, 0, 10, 10));
        children[1]->setRectangle(VDRect(5, 5, 20, 20));  // overlaps a
        children[2]->setRectangle(VDRect(30, 0, 40, 10));
    }
    void key(int value) {
        VDKeyDownEvent down{VDKey(value)};
        window.handleEvent(&down);
    }
    void click(int x, int y, int button = 0) {
        VDMouseDownEvent down(button, x, y);
        window.handleEvent(&down);
    }

    Journal journal;
    VDWindow window;
    std::vector<ProbeWindow*> children;
};

TEST_F(FocusTest, FocusKeysCycleAndWrapBothWays) {
    EXPECT_EQ(0, window.getFocusIndex());
    key(VDKey::KEY_TAB);
    EXPECT_EQ(1, window.getFocusIndex());
    key(VDKey::KEY_RIGHT);
    EXPECT_EQ(2, window.getFocusIndex());
    key(VDKey::KEY_TAB);
    EXPECT_EQ(0, window.getFocusIndex()) << "past the last child wraps to the first";
    key(VDKey::KEY_LEFT);
    EXPECT_EQ(2, window.getFocusIndex()) << "before the first wraps to the last";
    key(VDKey::KEY_TAB | VDKey::KEY_SHIFT);
    EXPECT_EQ(1, window.getFocusIndex());
    key(VDKey::KEY_TAB | VDKey::KEY_CONTROL);
    EXPECT_EQ(1, window.getFocusIndex()) << "keys compare whole, modifiers included";
}

TEST_F(FocusTest, SelectionClickFocusesTheFirstChildUnderThePointer) {
    click(35, 5);
    EXPECT_EQ(2, window.getFocusIndex());
    click(7, 7);
    EXPECT_EQ(0, window.getFocusIndex()) << "overlapping children: the earlier one wins";
    click(20, 20);
    EXPECT_EQ(1, window.getFocusIndex()) << "an edge counts as inside";
    click(100, 100);
    EXPECT_EQ(1, window.getFocusIndex()) << "a click outside every child keeps the focus";
    click(35, 5, 1);
    EXPECT_EQ(1, window.getFocusIndex()) << "only the selection button focuses";
}

TEST_F(FocusTest, DispatchGivesTheFocusedChildTheEventFirstThenEveryChild) {
    Journal parentJournal;
    ProbeWindow parent("parent", &parentJournal);
    window.setParent(&parent);
    window.setFocusIndex(1);

    VDRedisplayEvent redisplay;
    EXPECT_FALSE(window.dispatch(&redisplay));
    EXPECT_EQ((Journal{"b:1", "a:1", "b:1", "c:1"}), journal);
    EXPECT_FALSE(children[0]->isFocused());
    EXPECT_TRUE(children[1]->isFocused());
    EXPECT_EQ((Journal{"parent:8"}), parentJournal) << "a focus change asks for a redraw";

    journal.clear();
    parentJournal.clear();
    children[1]->setResult(true);
    EXPECT_TRUE(window.dispatch(&redisplay));
    EXPECT_EQ((Journal{"b:1"}), journal) << "a claimed event goes no further";
    EXPECT_TRUE(parentJournal.empty()) << "no focus change, no redraw request";

    // Window-raised events go up only.
    journal.clear();
    VDButtonPressEvent press(5);
    EXPECT_FALSE(window.dispatch(&press));
    EXPECT_TRUE(journal.empty());
    EXPECT_EQ((Journal{"parent:10"}), parentJournal);
}

TEST(WindowTest, WindowWithoutChildrenDeliversThroughTheGeneratorOnly) {
    Journal journal;
    ProbeWindow parent("parent", &journal);
    VDWindow window;
    window.setParent(&parent);
    VDKeyDownEvent next{VDKey(VDKey::KEY_TAB)};
    window.handleEvent(&next);
    EXPECT_EQ(0, window.getFocusIndex());
    VDKeyDownEvent previous{VDKey(VDKey::KEY_LEFT)};
    window.handleEvent(&previous);
    EXPECT_EQ(-1, window.getFocusIndex());
    VDRedisplayEvent redisplay;
    EXPECT_FALSE(window.dispatch(&redisplay));
    EXPECT_TRUE(journal.empty());
    VDRedisplayRequestEvent request;
    window.dispatch(&request);
    EXPECT_EQ((Journal{"parent:8"}), journal);
}

TEST(WindowTest, BaseHandlerRefusesDisabledWindowsAndMislabelledEvents) {
    LogRecorder rec;
    VDWindow window;
    ImpostorEvent fakeMouseDown(VDEvent::MOUSE_DOWN);
    EXPECT_TRUE(window.handleEvent(&fakeMouseDown));
    ImpostorEvent fakeKeyDown(VDEvent::KEY_DOWN);
    EXPECT_FALSE(window.handleEvent(&fakeKeyDown));
    EXPECT_EQ(
        (std::vector<std::string>{"Invalid mouse down event recieved", "Invalid key down event received"}),
        rec.lines());

    rec.clear();
    window.setEnabled(false);
    VDMouseDownEvent down(0, 1, 1);
    EXPECT_FALSE(window.handleEvent(&down));
    EXPECT_EQ((std::vector<std::string>{"Inactive window sent a message"}), rec.lines());
}

TEST(WindowTest, SetRectangleScalesChildrenFromTheUnitRectangle) {
    Journal journal;
    VDWindow window;
    auto* child =
        adopt(window, std::make_unique<ProbeWindow>("child", &journal), VDRect(0.25f, 0.5f, 0.75f, 1));
    auto* grandchild = adopt(*child, std::make_unique<ProbeWindow>("grandchild", &journal),
                             VDRect(0.25f, 0.5f, 0.5f, 0.75f));
    window.setRectangle(VDRect(100, 100, 500, 300));
    expectRect(window.getRectangle(), 100, 100, 500, 300);
    expectRect(child->getRectangle(), 200, 200, 400, 300);
    expectRect(grandchild->getRectangle(), 200, 200, 300, 250);

    window.setRectangle(VDRect(0, 0, 200, 100));  // half size, moved to the origin
    expectRect(child->getRectangle(), 50, 50, 150, 100);
}

TEST(WindowTest, SetRectangleFromAnEmptyRectangleMovesChildrenWithoutScaling) {
    Journal journal;
    VDWindow window;
    window.setRectangle(VDRect(10, 10, 10, 50));  // no width
    auto* child = adopt(window, std::make_unique<ProbeWindow>("child", &journal), VDRect(10, 20, 15, 30));
    window.setRectangle(VDRect(20, 10, 120, 90));
    const VDRect r = child->getRectangle();
    ASSERT_TRUE(std::isfinite(r.getX1()) && std::isfinite(r.getX2()));
    expectRect(r, 20, 30, 25, 50);  // x: moved by 10, unscaled; y: doubled from the old bottom edge
}

TEST(WindowTest, DestroyingAWindowDestroysItsChildren) {
    Journal journal;
    int destroyed = 0;
    {
        VDWindow window;
        auto* a = adopt(window, std::make_unique<ProbeWindow>("a", &journal), VDRect(0, 0, 1, 1));
        auto* b = adopt(*a, std::make_unique<ProbeWindow>("b", &journal), VDRect(0, 0, 1, 1));
        a->countDestruction(&destroyed);
        b->countDestruction(&destroyed);
    }
    EXPECT_EQ(2, destroyed);
}

}  // namespace
