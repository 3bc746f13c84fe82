// Input during an import: held in order, handed on afterwards; Escape cancels instead.
#include "shell/app/HeldInput.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Kind = GlutInput::Kind;

GlutInput key(char c) {
    return GlutInput{Kind::Keyboard, static_cast<unsigned char>(c), 0, 0, 0, 0};
}
GlutInput move(int x, int y) {
    return GlutInput{Kind::Motion, 0, 0, x, y, 0};
}
const GlutInput kEscape = key(27);

std::string describe(const GlutInput& input) {
    if (input.kind == Kind::Motion) {
        return "move " + std::to_string(input.x) + "," + std::to_string(input.y);
    }
    return std::string(1, static_cast<char>(input.code));
}

TEST(HeldInputTest, InputWaitsWhileBusyAndIsHandedOnInOrder) {
    HeldInput held;
    EXPECT_EQ(HeldInput::Verdict::Deliver, held.arrive(key('a'), false, false));
    EXPECT_TRUE(held.empty());
    for (const GlutInput& input : {key('l'), key('s'), move(3, 598), key('\r')}) {
        EXPECT_EQ(HeldInput::Verdict::Held, held.arrive(input, true, true));
    }
    // The import has ended, what follows it has not run yet: still waiting, Escape too.
    EXPECT_EQ(HeldInput::Verdict::Held, held.arrive(kEscape, false, true));
    // Nothing is busy, but earlier input waits: no overtaking.
    EXPECT_EQ(HeldInput::Verdict::Held, held.arrive(key('x'), false, false));
    ASSERT_EQ(6u, held.size());

    std::vector<std::string> delivered;
    held.replay([&](const GlutInput& input) { delivered.push_back(describe(input)); }, [] { return false; });
    EXPECT_EQ((std::vector<std::string>{"l", "s", "move 3,598", "\r", "\x1b", "x"}), delivered);
    EXPECT_TRUE(held.empty());
    EXPECT_EQ(HeldInput::Verdict::Deliver, held.arrive(key('b'), false, false));
}

TEST(HeldInputTest, EscapeDuringAnImportCancelsItAndIsNotHeld) {
    HeldInput held;
    EXPECT_EQ(HeldInput::Verdict::Held, held.arrive(key('p'), true, true));
    EXPECT_EQ(HeldInput::Verdict::CancelImport, held.arrive(kEscape, true, true));
    GlutInput shiftedEscape = kEscape;
    shiftedEscape.modifiers = 1;
    EXPECT_EQ(HeldInput::Verdict::CancelImport, held.arrive(shiftedEscape, true, true));
    EXPECT_EQ(1u, held.size()) << "only the p waits";
    // Escape's release, and Escape with nothing running, are ordinary input.
    EXPECT_EQ(HeldInput::Verdict::Held, held.arrive(GlutInput{Kind::KeyboardUp, 27, 0, 0, 0, 0}, true, true));
    held.clear();
    EXPECT_EQ(HeldInput::Verdict::Deliver, held.arrive(kEscape, false, false));
}

TEST(HeldInputTest, InputThatStartsAnImportLeavesTheRestWaiting) {
    HeldInput held;
    for (char c : std::string("a\rbc")) {
        held.arrive(key(c), true, true);
    }
    bool importing = false;
    std::string delivered;
    auto deliver = [&](const GlutInput& input) {
        delivered += static_cast<char>(input.code);
        importing = input.code == '\r';  // Enter runs a command that imports
    };
    held.replay(deliver, [&] { return importing; });
    EXPECT_EQ("a\r", delivered);
    EXPECT_EQ(2u, held.size());
    EXPECT_EQ(HeldInput::Verdict::Held, held.arrive(key('d'), true, true));

    importing = false;  // that import has ended
    held.replay(deliver, [&] { return importing; });
    EXPECT_EQ("a\rbcd", delivered);
}

}  // namespace
