#include "shell/app/GlutBridge.h"

#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "shell/EngineVariables.h"
#include "shell/Log.h"
#include "shell/VDDisposable.h"
#include "shell/VDGarbageCan.h"
#include "tests/support/TempDir.h"

namespace {

constexpr int kShift = GLUT_ACTIVE_SHIFT;
constexpr int kCtrl = GLUT_ACTIVE_CTRL;
constexpr int kAlt = GLUT_ACTIVE_ALT;

TEST(GlutBridgeTest, ControlCharactersBecomeLettersUnderCtrlAlone) {
    EXPECT_EQ(0x2063, keyFromGlutCharacter(3, kCtrl).getValue());  // Ctrl+C
    EXPECT_EQ(0x2000 | 'a', keyFromGlutCharacter(1, kCtrl).getValue());
    EXPECT_EQ(0x2000 | 'f', keyFromGlutCharacter(6, kCtrl).getValue());
    EXPECT_EQ(0x2076, keyFromGlutCharacter(22, kCtrl).getValue());  // Ctrl+V
    EXPECT_EQ(0x2078, keyFromGlutCharacter(24, kCtrl).getValue());  // Ctrl+X
    EXPECT_EQ(0x2000 | 'y', keyFromGlutCharacter(25, kCtrl).getValue());
    EXPECT_EQ(0x2000 | 'z', keyFromGlutCharacter(26, kCtrl).getValue());
    EXPECT_EQ(0x2002, keyFromGlutCharacter(2, kCtrl).getValue()) << "Ctrl+B is not in the letter table";
    EXPECT_EQ(3, keyFromGlutCharacter(3, kCtrl | kShift).getValue()) << "two modifiers: no mapping, no bits";
    EXPECT_EQ(3, keyFromGlutCharacter(3, 0).getValue());
}

TEST(GlutBridgeTest, ModifierBitsOnlyForExactlyOneModifier) {
    EXPECT_EQ(0x1000 | '_', keyFromGlutCharacter('_', kShift).getValue());
    EXPECT_EQ(0x4000 | 'x', keyFromGlutCharacter('x', kAlt).getValue());
    EXPECT_EQ('x', keyFromGlutCharacter('x', kAlt | kCtrl).getValue());
    EXPECT_EQ(96, keyFromGlutCharacter('`', 0).getValue());
    EXPECT_EQ(0xE9, keyFromGlutCharacter(0xE9, 0).getValue()) << "bytes above 127 pass unchanged";
}

TEST(GlutBridgeTest, SpecialKeysMapThroughTheTable) {
    EXPECT_EQ(257, keyFromGlutSpecial(GLUT_KEY_F1, 0).getValue());
    EXPECT_EQ(268, keyFromGlutSpecial(GLUT_KEY_F12, 0).getValue());
    EXPECT_EQ(269, keyFromGlutSpecial(GLUT_KEY_LEFT, 0).getValue());
    EXPECT_EQ(270, keyFromGlutSpecial(GLUT_KEY_UP, 0).getValue());
    EXPECT_EQ(271, keyFromGlutSpecial(GLUT_KEY_RIGHT, 0).getValue());
    EXPECT_EQ(256, keyFromGlutSpecial(GLUT_KEY_DOWN, 0).getValue());
    EXPECT_EQ(272, keyFromGlutSpecial(GLUT_KEY_PAGE_UP, 0).getValue());
    EXPECT_EQ(273, keyFromGlutSpecial(GLUT_KEY_PAGE_DOWN, 0).getValue());
    EXPECT_EQ(274, keyFromGlutSpecial(GLUT_KEY_HOME, 0).getValue());
    EXPECT_EQ(275, keyFromGlutSpecial(GLUT_KEY_END, 0).getValue());
    EXPECT_EQ(276, keyFromGlutSpecial(GLUT_KEY_INSERT, 0).getValue());
    EXPECT_EQ(0x1100, keyFromGlutSpecial(GLUT_KEY_DOWN, kShift).getValue());
    EXPECT_EQ(0x2114, keyFromGlutSpecial(GLUT_KEY_INSERT, kCtrl).getValue());
    EXPECT_EQ(0x1114, keyFromGlutSpecial(GLUT_KEY_INSERT, kShift).getValue());
    EXPECT_EQ(256, keyFromGlutSpecial(GLUT_KEY_DOWN, kShift | kCtrl).getValue()) << "two modifiers: no bits";
}

TEST(GlutBridgeTest, OtherSpecialCodesCannotPassForCharacters) {
    const VDKey shift = keyFromGlutSpecial(GLUT_KEY_SHIFT_L, kShift);  // GLUT numbers it 112, 'p'
    EXPECT_FALSE(shift.isPrintable());
    EXPECT_GT(shift.getCode(), 276);
    EXPECT_NE(keyFromGlutSpecial(GLUT_KEY_SHIFT_L, 0).getValue(),
              keyFromGlutSpecial(GLUT_KEY_CTRL_L, 0).getValue());
}

TEST(GlutBridgeTest, KeyReleasesCarryNoModifiersAndNoLetterMapping) {
    VDKeyUpEvent up = keyUpFromGlutCharacter(3);
    EXPECT_EQ(6, up.getType());
    EXPECT_EQ(3, up.getKey().getValue());
    EXPECT_EQ(256, keyUpFromGlutSpecial(GLUT_KEY_DOWN).getKey().getValue());
    VDKeyDownEvent down = keyDownFromGlutCharacter(3, kCtrl);
    EXPECT_EQ(7, down.getType());
    EXPECT_EQ(0x2063, down.getKey().getValue());
    EXPECT_EQ(0x1100, keyDownFromGlutSpecial(GLUT_KEY_DOWN, kShift).getKey().getValue());
}

TEST(GlutBridgeTest, MouseButtonsAreRenumberedAndOthersIgnored) {
    EXPECT_EQ(0, buttonFromGlut(GLUT_LEFT_BUTTON));
    EXPECT_EQ(1, buttonFromGlut(GLUT_RIGHT_BUTTON));
    EXPECT_EQ(2, buttonFromGlut(GLUT_MIDDLE_BUTTON));
    EXPECT_EQ(3, buttonFromGlut(3));  // wheel, away from the user
    EXPECT_EQ(4, buttonFromGlut(4));  // and towards
    EXPECT_EQ(-1, buttonFromGlut(5));
    EXPECT_EQ(nullptr, mouseEventFromGlut(7, GLUT_DOWN, 1, 2));

    auto released = mouseEventFromGlut(GLUT_RIGHT_BUTTON, GLUT_UP, 10, 20);
    ASSERT_NE(nullptr, released);
    EXPECT_EQ(4, released->getType());
    EXPECT_EQ(1, released->getButton());
    EXPECT_EQ(10, released->getX());
    EXPECT_EQ(20, released->getY());
    auto pressed = mouseEventFromGlut(GLUT_MIDDLE_BUTTON, GLUT_DOWN, 5, 6);
    ASSERT_NE(nullptr, pressed);
    EXPECT_EQ(5, pressed->getType());
    EXPECT_EQ(2, pressed->getButton());
}

// Before the main window exists every callback returns at once: GLUT is not even asked for the modifiers
// (which would end a process that has no GLUT window), and the display leaves the garbage can alone.
TEST(GlutBridgeTest, CallbacksDoNothingWithoutAMainWindow) {
    createGarbageCan();
    getGarbageCan()->dispose(new VDDisposable());
    onGlutDisplay();
    onGlutReshape(640, 480);
    onGlutKeyboard('a', 1, 2);
    onGlutSpecial(GLUT_KEY_UP, 1, 2);
    onGlutMouse(GLUT_LEFT_BUTTON, GLUT_DOWN, 1, 2);
    onGlutMotion(1, 2);
    onGlutVisibility(GLUT_VISIBLE);
    onGlutSpecialUp(GLUT_KEY_UP, 1, 2);
    onGlutKeyboardUp('a', 1, 2);
    EXPECT_EQ(1u, getGarbageCan()->pendingCount());
    destroyGarbageCan();
}

// Whatever was logged before or during a callback is in the file once the callback returns, whether or
// not the callback had anything to deliver.
TEST(GlutBridgeTest, EveryCallbackLeavesTheLogFileComplete) {
    TempDir dir(true);
    logdetail::forgetLogFile();
    resetLog();
    getEngineVariables()->setBool("file_logging", true);
    const std::vector<std::pair<std::string, std::function<void()>>> callbacks = {
        {"display", [] { onGlutDisplay(); }},
        {"reshape", [] { onGlutReshape(640, 480); }},
        {"keyboard", [] { onGlutKeyboard('a', 1, 2); }},
        {"special", [] { onGlutSpecial(GLUT_KEY_UP, 1, 2); }},
        {"mouse", [] { onGlutMouse(GLUT_LEFT_BUTTON, GLUT_DOWN, 1, 2); }},
        {"motion", [] { onGlutMotion(1, 2); }},
        {"visibility", [] { onGlutVisibility(GLUT_VISIBLE); }},
        {"special up", [] { onGlutSpecialUp(GLUT_KEY_UP, 1, 2); }},
        {"keyboard up", [] { onGlutKeyboardUp('a', 1, 2); }},
    };
    std::string expected;
    for (const auto& [name, callback] : callbacks) {
        logMessage("before %s", name.c_str());
        expected += "before " + name + "\n";
        callback();
        EXPECT_EQ(expected, readFile(dir.file("log.txt"))) << name;
    }
    {
        GlutCallbackScope scope;
        logMessage("inside a callback of the future");
    }
    EXPECT_EQ(expected + "inside a callback of the future\n", readFile(dir.file("log.txt")));
    getEngineVariables()->setBool("file_logging", false);
    logdetail::forgetLogFile();
}

}  // namespace
