#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "gui/VDEvent.h"
#include "gui/VDLabel.h"
#include "gui/VDTextButton.h"
#include "tests/gui/ProbeWindow.h"

namespace {

using Journal = std::vector<std::string>;

// A text button with id 65001 at (100, 100, 170, 120) inside a recording parent.
class ButtonTest : public ::testing::Test {
  protected:
    void SetUp() override {
        button = adopt(parent, std::make_unique<VDTextButton>(), VDRect(100, 100, 170, 120));
        button->setId(65001);
    }
    bool send(VDEvent&& event) { return button->handleEvent(&event); }
    int presses() const { return static_cast<int>(std::count(journal.begin(), journal.end(), "parent:10")); }

    Journal journal;
    ProbeWindow parent{"parent", &journal};
    VDTextButton* button = nullptr;
};

TEST_F(ButtonTest, ClickInsideRaisesOnePressCarryingTheId) {
    EXPECT_TRUE(send(VDMouseDownEvent(0, 110, 110)));
    EXPECT_TRUE(button->isPressed());
    EXPECT_EQ(0, presses());
    EXPECT_TRUE(send(VDMouseUpEvent(0, 110, 110)));
    EXPECT_FALSE(button->isPressed());
    EXPECT_EQ(1, presses());
    EXPECT_EQ(65001, parent.lastSourceId);
    EXPECT_EQ((Journal{"parent:8", "parent:8", "parent:10"}), journal) << "redraws around the press";

    // A release without a press, and other buttons, do nothing.
    EXPECT_FALSE(send(VDMouseUpEvent(0, 110, 110)));
    EXPECT_FALSE(send(VDMouseDownEvent(1, 110, 110)));
    EXPECT_FALSE(button->isPressed());
    EXPECT_EQ(1, presses());
}

TEST_F(ButtonTest, LeavingBeforeTheReleaseCancelsThePress) {
    send(VDMouseMoveEvent(110, 110));
    EXPECT_TRUE(button->isHover());
    send(VDMouseDownEvent(0, 110, 110));
    send(VDMouseMoveEvent(200, 110));
    EXPECT_FALSE(button->isHover());
    EXPECT_FALSE(button->isPressed());
    send(VDMouseMoveEvent(110, 110));
    send(VDMouseUpEvent(0, 110, 110));
    EXPECT_EQ(0, presses());
}

TEST_F(ButtonTest, EnterPressesOnlyAFocusedButtonAndOnlyWithoutModifiers) {
    send(VDKeyDownEvent(VDKey(VDKey::KEY_ENTER)));
    send(VDKeyUpEvent(VDKey(VDKey::KEY_ENTER)));
    EXPECT_EQ(0, presses()) << "unfocused";

    button->setFocused(true);
    send(VDKeyDownEvent(VDKey(VDKey::KEY_ENTER | VDKey::KEY_SHIFT)));
    EXPECT_FALSE(button->isPressed()) << "Shift+Enter is not Enter";

    send(VDKeyDownEvent(VDKey(VDKey::KEY_ENTER)));
    EXPECT_TRUE(button->isPressed());
    EXPECT_TRUE(send(VDKeyUpEvent(VDKey(VDKey::KEY_ENTER))));
    EXPECT_EQ(1, presses());

    send(VDKeyDownEvent(VDKey(VDKey::KEY_ENTER)));
    button->setFocused(false);
    EXPECT_FALSE(button->isPressed()) << "losing the focus releases";
    button->setFocused(true);
    send(VDKeyUpEvent(VDKey(VDKey::KEY_ENTER)));
    EXPECT_EQ(1, presses());
}

TEST(LabelTest, KeepsItsTextAndClaimsNothing) {
    VDLabel label;
    label.setText("100% done");
    EXPECT_EQ("100% done", label.getText());
    VDRedisplayEvent redisplay;
    EXPECT_FALSE(label.handleEvent(&redisplay)) << "draws nothing without a theme, and claims nothing";
    VDMouseDownEvent click(0, 0, 0);
    EXPECT_FALSE(label.handleEvent(&click));
}

}  // namespace
