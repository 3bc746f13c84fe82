// One line at a time: what a log line becomes, and what is passed over.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "loader/SLLogFile.h"
#include "tests/loader/RecordingSink.h"
#include "tests/support/LogRecorder.h"

namespace {

using Lines = std::vector<std::string>;

std::string message(const std::string& kind, const std::string& source, const std::string& port,
                    const std::string& value, const std::string& destination,
                    const std::string& time = "00:00:01:250") {
    return "msg " + kind + " / " + time + " / " + source + " / " + port + " / " + value + " to " +
           destination;
}

class SLLogFileParseTest : public ::testing::Test {
  protected:
    // Parses one line and returns whether parseLine answered true.
    bool parse(const std::string& line) { return loader.parseLine(line.c_str()); }
    const SDEvent& event() const { return *sink.events.at(0); }

    LogRecorder rec;
    RecordingSink sink;
    SLLogFile loader{&sink, "test.log"};
};

TEST_F(SLLogFileParseTest, TheWorkedExample) {
    const std::string line = "w Y / 00:00:01:250 / cell(2,3)(12) / out / 1.5 / w / cell(2,4)(13)";
    EXPECT_TRUE(parse(line));

    EXPECT_EQ((Lines{"Adding event", line}), rec.lines());
    EXPECT_EQ((Lines{"model cell", "model cell", "event"}), sink.offers);
    EXPECT_EQ(1, event().getType());
    EXPECT_EQ(1250.0, event().getTime().getMilliseconds());
    EXPECT_EQ("cell(2,3)", event().getSource());
    EXPECT_EQ("out", event().getPort());
    EXPECT_EQ(1.5, event().getValue());
    EXPECT_EQ("cell(2,4)", event().getDestination());

    SDCELLDevsModel* source = sink.cells(0);
    ASSERT_NE(nullptr, source);
    EXPECT_EQ(3u, source->getWidth());
    EXPECT_EQ(4u, source->getHeight());
    EXPECT_EQ(1u, source->getLength());
    EXPECT_EQ((Lines{"out"}), source->getOutputPorts());
    EXPECT_TRUE(source->getInputPorts().empty());
    SDCELLDevsModel* destination = sink.cells(1);
    ASSERT_NE(nullptr, destination);
    EXPECT_EQ(3u, destination->getWidth());
    EXPECT_EQ(5u, destination->getHeight());
    EXPECT_TRUE(destination->getInputPorts().empty());
    EXPECT_TRUE(destination->getOutputPorts().empty());
}

TEST_F(SLLogFileParseTest, AnExternalMessageGivesItsPortToTheDestinationOnly) {
    EXPECT_TRUE(parse(message("X", "Root(00)", "in", "7", "top(01)")));
    EXPECT_EQ(0, event().getType());
    ASSERT_EQ(2u, sink.models.size());
    EXPECT_EQ("Root", sink.models[0]->getName());
    EXPECT_TRUE(sink.models[0]->getInputPorts().empty());
    EXPECT_TRUE(sink.models[0]->getOutputPorts().empty());
    EXPECT_EQ("top", sink.models[1]->getName());
    EXPECT_EQ((Lines{"in"}), sink.models[1]->getInputPorts());
    EXPECT_TRUE(sink.models[1]->getOutputPorts().empty());
}

TEST_F(SLLogFileParseTest, SpacingAroundTheSeparatorsDoesNotMatter) {
    EXPECT_TRUE(parse("   msg  Y/00:00:00:010//a(1)   /  p/ 3 /to/b(2)  "));
    EXPECT_EQ(10.0, event().getTime().getMilliseconds());
    EXPECT_EQ("a", event().getSource());
    EXPECT_EQ("p", event().getPort());
    EXPECT_EQ(3.0, event().getValue());
    EXPECT_EQ("b", event().getDestination());
}

TEST_F(SLLogFileParseTest, ReferencesNamePlainModelsAndCells) {
    struct Case {
        const char* reference;
        const char* eventEnd;  // the event's source
        const char* name;
        int cells[3];  // 0: a plain record
    };
    const Case cases[] = {
        {"top(01)", "top", "top", {0, 0, 0}},
        {"cell(2,3)", "cell", "cell", {0, 0, 0}},  // the only "(" is taken for the identifier
        {"plain", "plain", "plain", {0, 0, 0}},
        {"cell(7)(105)", "cell(7)", "cell", {8, 1, 1}},
        {"cell(1,2,3,4)(9)", "cell(1,2,3,4)", "cell", {2, 3, 4}},
        {"cell(,5)(9)", "cell(,5)", "cell", {6, 1, 1}},    // empty pieces are dropped
        {"cell(a,2)(9)", "cell(a,2)", "cell", {1, 3, 1}},  // not a number: 0
        {"a(b(3)(4)", "a(b(3)", "a(b", {4, 1, 1}},
        {"sp\tace(1)(2)", "sp\tace(1)", "sp\tace", {2, 1, 1}},
    };
    for (const Case& c : cases) {
        RecordingSink one;
        SLLogFile oneLoader(&one, "test.log");
        const std::string line = message("Y", c.reference, "out", "1", "x(1)");
        EXPECT_TRUE(oneLoader.parseLine(line.c_str()));
        ASSERT_EQ(1u, one.events.size()) << c.reference;
        EXPECT_EQ(c.eventEnd, one.events[0]->getSource()) << c.reference;
        EXPECT_EQ(c.name, one.models.at(0)->getName()) << c.reference;
        SDCELLDevsModel* cells = one.cells(0);
        if (c.cells[0] == 0) {
            EXPECT_EQ(nullptr, cells) << c.reference;
        } else {
            ASSERT_NE(nullptr, cells) << c.reference;
            EXPECT_EQ(static_cast<unsigned>(c.cells[0]), cells->getWidth()) << c.reference;
            EXPECT_EQ(static_cast<unsigned>(c.cells[1]), cells->getHeight()) << c.reference;
            EXPECT_EQ(static_cast<unsigned>(c.cells[2]), cells->getLength()) << c.reference;
        }
    }
}

TEST_F(SLLogFileParseTest, ValuesReadAsFormattedInputDoes) {
    const std::pair<const char*, double> cases[] = {
        {"2", 2.0},
        {"1e-3", 0.001},
        {"-43.36343", -43.36343},
        {"16223334039552.00000", 16223334039552.0},
        {"1.5abc", 1.5},
        {"abc", 0.0},
        {"\t", 0.0},
        {"+5", 5.0},
        {"0x10", 16.0},
        {"1e999", std::numeric_limits<double>::infinity()},
        {"-inf", -std::numeric_limits<double>::infinity()},
        {"1e-400", 0.0},
    };
    for (const auto& [text, value] : cases) {
        RecordingSink one;
        SLLogFile oneLoader(&one, "test.log");
        // A number right after a value that is only a tab must not be read from the next field.
        const std::string line = "msg X / 0:0:0:0 / a(1) / p / " + std::string(text) + " 9 b(2)";
        EXPECT_TRUE(oneLoader.parseLine(line.c_str()));
        ASSERT_EQ(1u, one.events.size()) << text;
        EXPECT_DOUBLE_EQ(value, one.events[0]->getValue()) << text;
    }
}

TEST_F(SLLogFileParseTest, TimesWithMissingOrHugeComponents) {
    const std::pair<const char*, double> cases[] = {
        {"00:02:34:086", 154086.0},
        {"1:2", 3600000.0 + 120000.0},
        {"abc", 0.0},
        // Each component saturates at the int range; the sum does not overflow.
        {"99999:99999:99999:99999", 99999.0 * 3600000 + 99999.0 * 60000 + 99999.0 * 1000 + 99999.0},
        {"99999999999:0:0:0", 2147483647.0 * 3600000},
    };
    for (const auto& [text, ms] : cases) {
        RecordingSink one;
        SLLogFile oneLoader(&one, "test.log");
        const std::string line = message("X", "a(1)", "p", "1", "b(2)", text);
        EXPECT_TRUE(oneLoader.parseLine(line.c_str()));
        ASSERT_EQ(1u, one.events.size()) << text;
        EXPECT_EQ(ms, one.events[0]->getTime().getMilliseconds()) << text;
    }
}

TEST_F(SLLogFileParseTest, OtherKindsAreLoggedAndIgnored) {
    for (const char* kind : {"D", "x", "y", "XY"}) {
        rec.clear();
        EXPECT_TRUE(parse(message(kind, "a(1)", "p", "1", "b(2)")));
        EXPECT_EQ((Lines{kind, "Ignoring non external or output message"}), rec.lines());
    }
    EXPECT_TRUE(sink.offers.empty());
}

TEST_F(SLLogFileParseTest, LinesOfAnotherFieldCountArePassedOverSilently) {
    EXPECT_TRUE(parse(""));
    EXPECT_TRUE(parse("   "));
    EXPECT_TRUE(parse("msg D / 00:00:00:000 / life(02) / 00:00:00:100 to top(01)"));  // 7 fields
    EXPECT_TRUE(parse("msg X / 00:00:00:000 / a(1) / p / 1 / extra to b(2)"));        // 9 fields
    EXPECT_TRUE(parse("msg I / 00:00:00:000 / Root(00) to top(01)"));                 // 6 fields
    EXPECT_TRUE(rec.lines().empty()) << rec.text();
    EXPECT_TRUE(sink.offers.empty());
}

TEST_F(SLLogFileParseTest, RefusedCoordinatesAreLoggedOnceAndTheEventStays) {
    EXPECT_TRUE(parse(message("Y", "life(-1,2)(3)", "out", "1", "life(99999999999,0)(4)")));
    EXPECT_EQ(1u, rec.count("Refused cell (-1,2,0) of CELL model life: negative coordinates"));
    EXPECT_EQ(1u, rec.count("Refused cell (2147483647,0,0) of CELL model life: more than 16777216 cells"));
    EXPECT_EQ(4u, rec.lines().size()) << rec.text();
    ASSERT_EQ(1u, sink.events.size());
    EXPECT_EQ("life(-1,2)", event().getSource());
    // The records are still offered, with the cell space they had before the refused cell.
    ASSERT_EQ(2u, sink.models.size());
    EXPECT_EQ(1u, sink.cells(0)->getWidth());
    EXPECT_EQ(1u, sink.cells(1)->getWidth());
    EXPECT_EQ((Lines{"out"}), sink.models[0]->getOutputPorts());
}

TEST_F(SLLogFileParseTest, RefusedOffersAreDeletedAndARefusedEventIsReported) {
    sink.takeModels = false;
    sink.takeEvents = false;
    EXPECT_TRUE(parse(message("Y", "a(1,1)(2)", "out", "1", "b(3)")));
    EXPECT_EQ((Lines{"model a", "model b", "event"}), sink.offers);
    EXPECT_EQ(1u, rec.count("***Event already in event list***"));
    // The sanitizer build reports a leak if the loader kept the refused objects.
}

TEST_F(SLLogFileParseTest, WithoutASinkEverythingIsRefused) {
    SLLogFile alone(nullptr, "test.log");
    EXPECT_TRUE(alone.parseLine(message("X", "a(1)", "p", "1", "b(2)").c_str()));
    EXPECT_EQ(1u, rec.count("***Event already in event list***"));
    EXPECT_TRUE(alone.parseLine(nullptr));
}

TEST_F(SLLogFileParseTest, UserTextIsNeverReadAsAFormat) {
    const std::string line = message("X", "a%s%n(1)", "p%d", "1", "b(2)");
    EXPECT_TRUE(parse(line));
    EXPECT_TRUE(parse(message("%s%n", "a(1)", "p", "1", "b(2)")));
    EXPECT_EQ((Lines{"Adding event", line, "%s%n", "Ignoring non external or output message"}), rec.lines());
    EXPECT_EQ("a%s%n", event().getSource());
}

}  // namespace
