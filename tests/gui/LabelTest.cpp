// A label's text cut to the room it has.
#include <gtest/gtest.h>

#include <string>

#include "gui/VDLabel.h"

namespace {

TEST(LabelTest, ATextTooLongForItsRoomEndsInAnEllipsis) {
    const struct {
        const char* text;
        int characters;
        const char* shown;
    } cases[] = {
        {"00:00:00:300 / 00:00:00:500", 27, "00:00:00:300 / 00:00:00:500"},
        {"00:00:00:300 / 00:00:00:500", 40, "00:00:00:300 / 00:00:00:500"},
        {"00:00:00:300 / 00:00:00:500", 26, "00:00:00:300 / 00:00:00..."},
        {"abcdef", 4, "a..."},
        {"abcdef", 3, "..."},
        {"abcdef", 2, ".."},
        {"abcdef", 0, ""},
        {"abcdef", -5, ""},
        {"", 0, ""},
        // Characters, not bytes: "≤ 20" is four, and a cut never splits one.
        {"≤ 20", 4, "≤ 20"},
        {"≥ 28.5 °C", 7, "≥ 28..."},
        {"×××××", 4, "×..."},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.shown, VDLabel::fitText(c.text, c.characters)) << c.text << " in " << c.characters;
    }
}

}  // namespace
