// Every message line reaches the sink as a message, the lines without a port too, and nothing else changes.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "loader/SLLogFile.h"
#include "simdata/SDLogMessage.h"
#include "tests/loader/RecordingSink.h"
#include "tests/support/LogRecorder.h"

namespace {

// What the sink heard of each message: "<kind> <time> <source> > <destination> [port value] [delay]".
class MessageSink : public RecordingSink {
  public:
    std::vector<std::string> heard;
    void offerMessage(const SDLogMessage& m) override {
        char text[256];
        std::snprintf(text, sizeof text, "%c %g %.*s > %.*s", static_cast<char>(m.kind), m.time,
                      static_cast<int>(m.source.size()), m.source.data(),
                      static_cast<int>(m.destination.size()), m.destination.data());
        std::string line = text;
        if (m.kind == SDLogMessage::Kind::External || m.kind == SDLogMessage::Kind::Output) {
            std::snprintf(text, sizeof text, " %.*s %g", static_cast<int>(m.port.size()), m.port.data(),
                          m.value);
            line += text;
        }
        if (m.kind == SDLogMessage::Kind::Done) {
            line += m.passive ? " ..." : " " + std::to_string(static_cast<long>(m.delay));
        }
        heard.push_back(line);
    }
};

TEST(SLLogFileMessagesTest, EachKindOfLineIsHandedOverWithWhatItSays) {
    struct Case {
        const char* line;
        const char* heard;  // "" when nothing is
    };
    const Case cases[] = {
        {"msg I / 00:00:00:000 / Root(00) to top(01)", "I 0 Root > top"},
        {"msg * / 00:00:01:500 / top(01) to gen(02)", "* 1500 top > gen"},
        {"msg D / 00:00:01:500 / gen(02) / 00:00:00:250 to top(01)", "D 1500 gen > top 250"},
        {"msg D / 00:01:00:000 / gen(02) / ... to top(01)", "D 60000 gen > top ..."},
        {"msg X / 00:00:02:000 / top(01) / in /      2.50000 to proc(03)", "X 2000 top > proc in 2.5"},
        {"msg Y / 00:00:02:000 / gen(02) / out / -1.00000 to top(01)", "Y 2000 gen > top out -1"},
        // A cell's short lines name the space and the cell; their times are not read.
        {"msg D / 00:00:03:000 / life(3,4)(40) / ... to life(02)", "D 0 life(3,4) > life ..."},
        {"msg * / 00:00:03:000 / life(02) to life(3,4)(40)", "* 0 life > life(3,4)"},
        {"msg Y / 00:00:03:000 / life(3,4)(40) / out / 1.00000 to life(02)", "Y 3000 life(3,4) > life out 1"},
        // Lines of another kind or shape are not messages.
        {"msg Q / 00:00:03:000 / a(01) to b(02)", ""},
        {"msg D / 00:00:03:000 / a(01) to b(02)", ""},
        {"msg I / 00:00:03:000 / a(01) / 5 to b(02)", ""},
        {"Valor integrado", ""},
    };
    LogRecorder quiet;
    for (const Case& c : cases) {
        MessageSink sink;
        SLLogFile loader(&sink, "");
        ASSERT_TRUE(loader.parseLine(c.line));
        EXPECT_EQ(c.heard[0] == '\0' ? std::vector<std::string>{} : std::vector<std::string>{c.heard},
                  sink.heard)
            << c.line;
    }
}

TEST(SLLogFileMessagesTest, ShortLinesAddNothingToTheLogOrTheEvents) {
    MessageSink sink;
    SLLogFile loader(&sink, "");
    LogRecorder rec;
    ASSERT_TRUE(loader.parseLine("msg I / 00:00:00:000 / Root(00) to top(01)"));
    ASSERT_TRUE(loader.parseLine("msg D / 00:00:01:500 / gen(02) / 00:00:00:250 to top(01)"));
    EXPECT_TRUE(rec.lines().empty()) << rec.text();
    EXPECT_TRUE(sink.offers.empty());
    EXPECT_EQ(2u, sink.heard.size());
}

}  // namespace
