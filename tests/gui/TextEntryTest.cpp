#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "gui/VDClipBoard.h"
#include "gui/VDEditBox.h"
#include "gui/VDEvent.h"
#include "gui/VDScrollBar.h"
#include "gui/VDStringLog.h"
#include "gui/VDTextBox.h"
#include "tests/gui/ProbeWindow.h"
#include "tests/support/LogRecorder.h"

namespace {

using Journal = std::vector<std::string>;

std::vector<std::string> linesOf(const VDStringLog& log) {
    return std::vector<std::string>(log.begin(), log.end());
}

TEST(StringLogTest, KeepsTheNewestLinesUpToItsCapacity) {
    VDStringLog log;
    log.setCapacity(3);
    for (const char* line : {"a", "b", "c", "d"}) {
        log.addLine(line);
    }
    EXPECT_EQ((std::vector<std::string>{"d", "c", "b"}), linesOf(log));
    EXPECT_EQ(2, log.setCapacity(1));
    EXPECT_EQ((std::vector<std::string>{"d"}), linesOf(log));

    log.setCapacity(0);
    log.addLine("e");
    EXPECT_EQ(0, log.getCount()) << "a log of capacity 0 keeps nothing";
    log.setCapacity(-4);
    EXPECT_EQ(0, log.getCapacity());
}

TEST(StringLogTest, KeepsTheNewestLinesInOrderThroughManyRoundsAndCapacityChanges) {
    VDStringLog log;
    log.setCapacity(4);
    for (int i = 0; i < 23; ++i) {  // wraps round the four slots several times
        log.addLine("line " + std::to_string(i));
    }
    EXPECT_EQ((std::vector<std::string>{"line 22", "line 21", "line 20", "line 19"}), linesOf(log));

    // More room after wrapping: the lines keep their order and new ones are added in front.
    EXPECT_EQ(0, log.setCapacity(6));
    log.addLine("line 23");
    log.addLine("line 24");
    log.addLine("line 25");
    EXPECT_EQ((std::vector<std::string>{"line 25", "line 24", "line 23", "line 22", "line 21", "line 20"}),
              linesOf(log));

    // Less room: the oldest go.
    EXPECT_EQ(3, log.setCapacity(3));
    log.addLine("line 26");
    EXPECT_EQ((std::vector<std::string>{"line 26", "line 25", "line 24"}), linesOf(log));

    VDStringLog copy = log;
    log.addLine("only in the original");
    EXPECT_EQ((std::vector<std::string>{"line 26", "line 25", "line 24"}), linesOf(copy));
}

TEST(TextBoxTest, FirstLineStaysWithinTheLog) {
    VDTextBox box(false);
    box.initialise();
    for (int i = 0; i < 4; ++i) {
        box.addLine("line " + std::to_string(i));
    }
    box.setFirstLine(-5);
    EXPECT_EQ(0, box.getFirstLine());
    box.setFirstLine(99);
    EXPECT_EQ(4, box.getFirstLine());
    EXPECT_FLOAT_EQ(0, box.getScrollBarWidth());
    EXPECT_EQ(nullptr, box.getScrollBar());
}

TEST(TextBoxTest, ScrollBarAndFirstLineFollowEachOther) {
    Journal journal;
    ProbeWindow parent("parent", &journal);
    auto* box = adopt(parent, std::make_unique<VDTextBox>(true), VDRect(20, 90, 780, 520));
    box->setCapacity(1000);
    box->initialise();
    VDScrollBar* bar = box->getScrollBar();
    ASSERT_NE(nullptr, bar);
    EXPECT_EQ(0, box->getFocusIndex());
    const VDRect strip = bar->getRectangle();
    EXPECT_FLOAT_EQ(750, strip.getX1());
    EXPECT_FLOAT_EQ(780, strip.getX2());
    EXPECT_FLOAT_EQ(90, strip.getY1());
    EXPECT_FLOAT_EQ(520, strip.getY2());

    for (int i = 0; i < 10; ++i) {
        box->addLine("line " + std::to_string(i));
    }
    EXPECT_EQ(9, bar->getMax());
    EXPECT_EQ(9, bar->getValue()) << "thumb at the bottom: the newest lines";
    EXPECT_EQ(0, box->getFirstLine());

    box->setFirstLine(3);
    EXPECT_EQ(6, bar->getValue());
    EXPECT_EQ(3, box->getFirstLine());

    bar->setValue(0);  // thumb at the top: the oldest line at the bottom of the box
    EXPECT_EQ(9, box->getFirstLine());
    EXPECT_EQ("parent:8", journal.back()) << "scrolling asks for a redraw";

    box->setFirstLine(2);
    box->addLine("newest");  // a view scrolled back keeps its offset from the newest line
    EXPECT_EQ(2, box->getFirstLine());
    EXPECT_EQ(8, bar->getValue());
}

// A focused edit box inside a recording parent, with an empty clipboard.
class EditBoxTest : public ::testing::Test {
  protected:
    void SetUp() override {
        box = adopt(parent, std::make_unique<VDEditBox>(), VDRect(20, 60, 780, 80));
        box->setFocused(true);
        getClipBoard()->setText("");
    }
    bool key(int value) {
        VDKeyDownEvent down{VDKey(value)};
        return box->handleEvent(&down);
    }
    void type(const std::string& text) {
        for (char c : text) {
            key(static_cast<unsigned char>(c));
        }
    }

    Journal journal;
    ProbeWindow parent{"parent", &journal};
    VDEditBox* box = nullptr;
};

TEST_F(EditBoxTest, TypingInsertsAtTheCursorAndMovementKeysMoveIt) {
    type("ac");
    key(VDKey::KEY_LEFT);
    type("b");
    EXPECT_EQ("abc", box->getText());
    EXPECT_EQ(2, box->getCursor());
    key(VDKey::KEY_HOME);
    EXPECT_EQ(0, box->getCursor());
    key(VDKey::KEY_LEFT);
    EXPECT_EQ(0, box->getCursor());
    key(VDKey::KEY_END);
    key(VDKey::KEY_RIGHT);
    EXPECT_EQ(3, box->getCursor());
    key(VDKey::KEY_BACKSPACE);
    EXPECT_EQ("ab", box->getText());
    EXPECT_EQ(2, box->getCursor());
    key(VDKey::KEY_HOME);
    key(VDKey::KEY_DELETE);
    EXPECT_EQ("b", box->getText());

    journal.clear();
    key(VDKey::KEY_END);
    EXPECT_TRUE(key(VDKey::KEY_DELETE)) << "Delete at the end changes nothing";
    EXPECT_EQ("b", box->getText());
    EXPECT_EQ((Journal{"parent:8", "parent:8"}), journal) << "but still asks for a redraw";

    EXPECT_TRUE(key('A' | VDKey::KEY_SHIFT));
    EXPECT_EQ("bA", box->getText()) << "Shift does not stop a printable character";
    EXPECT_FALSE(key(VDKey::KEY_F1));
    EXPECT_FALSE(key(VDKey::KEY_ENTER));
}

TEST_F(EditBoxTest, ShiftSelectsAndShiftDeleteCutsTheSelection) {
    box->setText("abc");
    box->setCursor(3);
    key(VDKey::KEY_LEFT | VDKey::KEY_SHIFT);
    key(VDKey::KEY_LEFT | VDKey::KEY_SHIFT);
    EXPECT_TRUE(box->isSelecting());
    EXPECT_EQ(3, box->getAnchor());
    EXPECT_EQ(1, box->getCursor());

    key(VDKey::KEY_DELETE | VDKey::KEY_SHIFT);
    EXPECT_EQ("a", box->getText());
    EXPECT_EQ(1, box->getCursor());
    EXPECT_EQ("bc", getClipBoard()->getText());
    EXPECT_FALSE(box->isSelecting());
    EXPECT_EQ(-1, box->getAnchor());
}

TEST_F(EditBoxTest, PlainDeleteRemovesTheSelectionWithoutTouchingTheClipboard) {
    getClipBoard()->setText("keep");
    box->setText("hello");
    key(VDKey::KEY_RIGHT | VDKey::KEY_SHIFT);
    key(VDKey::KEY_RIGHT | VDKey::KEY_SHIFT);
    key(VDKey::KEY_DELETE);
    EXPECT_EQ("llo", box->getText());
    EXPECT_EQ(0, box->getCursor()) << "a cursor at the high end moves to the low end";
    EXPECT_EQ("keep", getClipBoard()->getText());
}

TEST_F(EditBoxTest, MovingWithoutShiftEndsTheSelection) {
    box->setText("abc");
    box->setCursor(3);
    key(VDKey::KEY_LEFT | VDKey::KEY_SHIFT);
    key(VDKey::KEY_LEFT);
    EXPECT_FALSE(box->isSelecting());
    EXPECT_EQ(-1, box->getAnchor());
    EXPECT_EQ(1, box->getCursor());
}

TEST_F(EditBoxTest, CopyAndPasteGoThroughTheClipboardWithinTheLengthLimit) {
    box->setText("abcd");
    key(VDKey::KEY_END | VDKey::KEY_SHIFT);
    key(VDKey::KEY_CONTROL | 'c');
    EXPECT_EQ("abcd", getClipBoard()->getText());
    EXPECT_EQ("abcd", box->getText());

    getClipBoard()->setText("12345");
    box->setText(std::string(45, 'x'));
    box->setCursor(2);
    EXPECT_TRUE(key(VDKey::KEY_CONTROL | 'v'));
    EXPECT_EQ("xx12345" + std::string(43, 'x'), box->getText());
    EXPECT_EQ(2, box->getCursor()) << "the cursor stays where it was";

    box->setText(std::string(48, 'x'));
    journal.clear();
    EXPECT_TRUE(key(VDKey::KEY_INSERT | VDKey::KEY_SHIFT));
    EXPECT_EQ(std::string(48, 'x'), box->getText()) << "50 characters at most";
    EXPECT_TRUE(journal.empty()) << "a refused paste draws nothing";
}

TEST_F(EditBoxTest, TypingStopsAtTheLengthLimit) {
    type(std::string(60, 'z'));
    EXPECT_EQ(std::string(50, 'z'), box->getText());
    EXPECT_EQ(50, box->getCursor());
    EXPECT_TRUE(key('q')) << "the key is consumed";
}

TEST_F(EditBoxTest, ControlAndAltKeysDoNotInsertTheirLetterAndCtrlXCuts) {
    box->setText("abc");
    EXPECT_FALSE(key(VDKey::KEY_CONTROL | 'a'));
    EXPECT_FALSE(key(VDKey::KEY_ALT | 'a'));
    EXPECT_TRUE(key(VDKey::KEY_CONTROL | 'x')) << "a cut key without a selection";
    EXPECT_EQ("abc", box->getText());

    key(VDKey::KEY_RIGHT);
    key(VDKey::KEY_END | VDKey::KEY_SHIFT);
    EXPECT_TRUE(key(VDKey::KEY_CONTROL | 'x'));
    EXPECT_EQ("a", box->getText());
    EXPECT_EQ("bc", getClipBoard()->getText());
    EXPECT_EQ(1, box->getCursor());
    EXPECT_FALSE(box->isSelecting());
}

TEST_F(EditBoxTest, UnfocusedBoxIgnoresKeysAndTheMouse) {
    box->setFocused(false);
    EXPECT_FALSE(key('a'));
    EXPECT_EQ("", box->getText());
    VDMouseDownEvent click(0, 30, 70);
    EXPECT_FALSE(box->handleEvent(&click));
}

TEST_F(EditBoxTest, RedisplayWithoutThemeStoreAndMislabelledKeysAreLogged) {
    LogRecorder rec;
    box->setId(12);
    VDRedisplayEvent redisplay;
    EXPECT_TRUE(box->handleEvent(&redisplay));
    ImpostorEvent fake(VDEvent::KEY_DOWN);
    EXPECT_TRUE(box->handleEvent(&fake));
    EXPECT_EQ((std::vector<std::string>{
                  "Unable to get theme store in edit box process event: Editbox ID = 12",
                  "Unable to case event to key down event even though its type says its one"}),
              rec.lines());
}

}  // namespace
