#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "gui/VDConsole.h"
#include "gui/VDTextBox.h"
#include "gui/VDThemeStore.h"
#include "tests/gui/ConsoleFakes.h"
#include "tests/support/GLTestContext.h"

namespace {

// Page Up and Page Down move the output by as many lines as the theme fits into it.
TEST(ConsoleGLTest, PageKeysScrollTheOutputByAScreenful) {
    ASSERT_TRUE(GLTestContext::ensure());
    ASSERT_TRUE(createThemeStore());
    std::vector<std::string> journal;
    VDConsole console(std::make_unique<FakeParser>(&journal));
    console.setRectangle(VDRect(10, 50, 790, 550));
    console.initialise();
    for (int i = 0; i < 100; ++i) {
        console.print("line " + std::to_string(i));
    }
    click(console, 100, 300);
    ASSERT_TRUE(console.getOutput()->isFocused());

    const int page = currentTheme()->visibleLines(console.getOutput());
    ASSERT_GT(page, 1);
    pressKey(console, VDKey::KEY_PAGE_UP);
    pressKey(console, VDKey::KEY_PAGE_UP);
    EXPECT_EQ(2 * page, console.getOutput()->getFirstLine());
    pressKey(console, VDKey::KEY_PAGE_DOWN);
    EXPECT_EQ(page, console.getOutput()->getFirstLine());
    for (int i = 0; i < 10; ++i) {
        pressKey(console, VDKey::KEY_PAGE_UP);
    }
    EXPECT_LE(console.getOutput()->getFirstLine(), 100) << "held within the output's lines";
    destroyThemeStore();
}

}  // namespace
