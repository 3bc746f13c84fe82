// The progress line on a terminal: rewritten in place, ended once; nothing on anything else.
#include "shell/app/TerminalProgress.h"

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>

namespace {

// What was written into a pipe so far.
std::string drain(int fd) {
    std::string text;
    char buffer[256];
    ssize_t n = 0;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0) {
        text.append(buffer, static_cast<size_t>(n));
    }
    return text;
}

class TerminalProgressTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(0, ::pipe(fds));
        ::fcntl(fds[0], F_SETFL, O_NONBLOCK);
    }
    void TearDown() override {
        ::close(fds[0]);
        ::close(fds[1]);
    }
    int fds[2] = {-1, -1};
};

TEST_F(TerminalProgressTest, OneLineRewrittenThenEnded) {
    TerminalProgress line(fds[1], true);
    line.finish("nothing shown, nothing ended");
    EXPECT_EQ("", drain(fds[0]));

    line.show("Importing a.log: 9 % (900 lines)");
    line.show("Importing a.log: 10 % (1,000 lines)");
    // A shorter text blanks out what the longer one left, and leaves the cursor after itself.
    line.show("Short");
    EXPECT_EQ("\rImporting a.log: 9 % (900 lines)\rImporting a.log: 10 % (1,000 lines)\rShort" +
                  std::string(30, ' ') + std::string(30, '\b'),
              drain(fds[0]));
    EXPECT_TRUE(line.shown());
    line.finish("Importing a.log: 100 % (9,999 lines)");
    EXPECT_EQ("\rImporting a.log: 100 % (9,999 lines)\n", drain(fds[0]));
    EXPECT_FALSE(line.shown());
    line.finish("again");
    EXPECT_EQ("", drain(fds[0])) << "ended once";
}

TEST_F(TerminalProgressTest, NothingOnAFileOrPipe) {
    TerminalProgress line(fds[1], false);
    line.show("Importing a.log: 9 % (900 lines)");
    line.finish("Importing a.log: 100 % (9,999 lines)");
    EXPECT_EQ("", drain(fds[0]));
    EXPECT_FALSE(line.shown());
    // The program's own choice: a pipe is no terminal.
    EXPECT_EQ(0, ::isatty(fds[1]));
}

}  // namespace
