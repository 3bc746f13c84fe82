#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/e2e/AppSession.h"

namespace {

// Start-up probes the window's context: the extension lines reach log.txt before the start-up line.
TEST(GLExtensionsE2ETest, StartupLogsTheExtensionsFoundBeforeItsLastLine) {
    AppSession app;
    ASSERT_TRUE(app.started()) << app.errors();
    std::vector<std::string> lines = app.logLines();
    auto found = std::find(lines.begin(), lines.end(), "GL_ARB_multitexture extension found");
    auto startup = std::find(lines.begin(), lines.end(), "Startup successful...");
    ASSERT_NE(lines.end(), found) << app.log();
    ASSERT_NE(lines.end(), startup) << app.log();
    EXPECT_LT(found, startup);
    EXPECT_EQ(1, std::count(lines.begin(), lines.end(), "GL_ARB_multitexture extension found"));
}

}  // namespace
