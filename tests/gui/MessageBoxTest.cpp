#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "gui/VDLabel.h"
#include "gui/VDMessageBox.h"
#include "gui/VDMessageBoxCallBack.h"
#include "gui/VDTextButton.h"
#include "shell/VDGarbageCan.h"
#include "tests/gui/ConsoleFakes.h"
#include "tests/support/LogRecorder.h"

namespace {

struct Answers : VDMessageBoxCallBack {
    void onResult(int result) override { results.push_back(result); }
    std::vector<int> results;
};

void expectRect(const VDRect& r, float x1, float y1, float x2, float y2) {
    EXPECT_FLOAT_EQ(x1, r.getX1());
    EXPECT_FLOAT_EQ(y1, r.getY1());
    EXPECT_FLOAT_EQ(x2, r.getX2());
    EXPECT_FLOAT_EQ(y2, r.getY2());
}

// A box as the main window opens one: 400 by 80, centred in 800 by 600. Once answered it belongs to the
// garbage can, so the test hands ownership over only then.
class MessageBoxTest : public ::testing::Test {
  protected:
    void SetUp() override { createGarbageCan(); }
    void TearDown() override {
        if (answers.results.empty()) {
            delete box;
        }
        destroyGarbageCan();
    }
    void open(int kind) {
        box = new VDMessageBox(kind, "Are you sure you want to exit?", &answers);
        box->setRectangle(VDRect(200, 260, 600, 340));
        box->initialise();
    }
    void enter() {
        pressKey(*box, VDKey::KEY_ENTER);
        releaseKey(*box, VDKey::KEY_ENTER);
    }
    std::string caption(int child) const {
        return static_cast<VDTextButton*>(box->getChild(child))->getCaption();
    }

    Answers answers;
    VDMessageBox* box = nullptr;
};

TEST_F(MessageBoxTest, YesNoBoxLaysOutTheQuestionAndFocusesYes) {
    open(VDMessageBox::KIND_YES_NO);
    ASSERT_EQ(3, box->getChildCount());
    EXPECT_EQ("Are you sure you want to exit?", box->getLabel()->getText());
    expectRect(box->getLabel()->getRectangle(), 202, 318, 598, 338);
    EXPECT_EQ("Yes", caption(1));
    EXPECT_EQ("No", caption(2));
    expectRect(box->getChild(1)->getRectangle(), 320, 275, 390, 295);
    expectRect(box->getChild(2)->getRectangle(), 410, 275, 480, 295);
    EXPECT_EQ(1, box->getFocusIndex());
    EXPECT_TRUE(box->getChild(1)->isFocused());
    EXPECT_FALSE(box->isMovable());
    EXPECT_FALSE(box->hasCloseButton());
}

TEST_F(MessageBoxTest, ClickingNoReportsTwoAndTheBoxGoesToTheGarbageCan) {
    open(VDMessageBox::KIND_YES_NO);
    click(*box, 445, 285);
    EXPECT_EQ((std::vector<int>{2}), answers.results);
    ASSERT_EQ(1u, getGarbageCan()->pendingCount());

    LogRecorder rec;
    const auto address = static_cast<long long>(reinterpret_cast<intptr_t>(static_cast<VDDisposable*>(box)));
    getGarbageCan()->empty();
    EXPECT_EQ(1u, rec.count("Disposing object with pointer " + std::to_string(address)));
}

TEST_F(MessageBoxTest, EnterAnswersWithTheFocusedButton) {
    open(VDMessageBox::KIND_YES_NO);
    pressKey(*box, VDKey::KEY_ENTER | VDKey::KEY_SHIFT);
    releaseKey(*box, VDKey::KEY_ENTER);
    EXPECT_TRUE(answers.results.empty()) << "Shift+Enter presses nothing";
    enter();
    EXPECT_EQ((std::vector<int>{0}), answers.results);
}

TEST_F(MessageBoxTest, TabMovesTheFocusOnOkCancelBoxes) {
    open(VDMessageBox::KIND_OK_CANCEL);
    EXPECT_EQ("Ok", caption(1));
    EXPECT_EQ("Cancel", caption(2));
    expectRect(box->getChild(1)->getRectangle(), 220, 270, 260, 290);
    pressKey(*box, VDKey::KEY_TAB);
    enter();
    EXPECT_EQ((std::vector<int>{3}), answers.results);
}

TEST_F(MessageBoxTest, FocusCyclesThroughTheLabelWhereEnterDoesNothing) {
    open(VDMessageBox::KIND_YES_NO_CANCEL);
    EXPECT_EQ("Yes", caption(1));
    EXPECT_EQ("No", caption(2));
    EXPECT_EQ("Cancel", caption(3));
    EXPECT_EQ(3, box->getChild(3)->getId());
    pressKey(*box, VDKey::KEY_TAB);
    pressKey(*box, VDKey::KEY_TAB);
    pressKey(*box, VDKey::KEY_TAB);  // past Cancel, round to the label
    enter();
    EXPECT_TRUE(answers.results.empty());
    EXPECT_EQ(0u, getGarbageCan()->pendingCount());
    pressKey(*box, VDKey::KEY_TAB);
    enter();
    EXPECT_EQ((std::vector<int>{0}), answers.results);
}

TEST_F(MessageBoxTest, APressFromAnUnknownButtonLeavesTheQuestionOpen) {
    open(VDMessageBox::KIND_YES_NO);
    VDButtonPressEvent stray(7);
    EXPECT_TRUE(box->handleEvent(&stray));
    EXPECT_TRUE(answers.results.empty());
    EXPECT_EQ(0u, getGarbageCan()->pendingCount());
}

}  // namespace
