// Cadmium 1 message and state files: the forms of their lines, which files are taken for them, and the
// hand-written samples read into what a reading of them by hand gives.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "loader/SLCadmium1File.h"
#include "loader/SLCadmium1Line.h"
#include "loader/SLLineCensus.h"
#include "loader/SLRunReader.h"
#include "loader/SLSink.h"
#include "simdata/SDCELLDevsModel.h"
#include "simdata/SDEvent.h"
#include "simdata/SDLogMessage.h"
#include "tests/support/LogRecorder.h"
#include "tests/support/TempDir.h"

namespace {

using Lines = std::vector<std::string>;
constexpr double kInf = std::numeric_limits<double>::infinity();

std::string sample(const std::string& name) {
    return std::string(TESS_SOURCE_DIR) + "/samples/cadmium1/" + name;
}

std::string number(double value) {
    std::ostringstream text;
    text << value;
    return text.str();
}

// Keeps what a reader offers as text: records merged by name, events, states and the hierarchy.
class TextSink : public SLSink {
  public:
    struct Record {
        Lines ports;
        std::array<int, 3> origin{};
        std::array<unsigned, 3> size{};
        bool cells = false;
    };
    bool addModel(SDDevsModel*) override { return false; }
    bool addEvent(SDEvent*) override { return false; }
    bool offerModel(const SDDevsModel& model) override {
        Record& record = models[model.getName()];
        for (const std::string& port : model.getOutputPorts()) {
            if (std::find(record.ports.begin(), record.ports.end(), port) == record.ports.end()) {
                record.ports.push_back(port);
            }
        }
        if (const auto* cells = dynamic_cast<const SDCELLDevsModel*>(&model)) {
            record.cells = true;
            record.origin = cells->getOrigin();
            record.size = {std::max(record.size[0], cells->getWidth()),
                           std::max(record.size[1], cells->getHeight()),
                           std::max(record.size[2], cells->getLength())};
        }
        return true;
    }
    bool offerEvent(const SDEvent& event) override {
        events.push_back(number(event.m_time.getMilliseconds()) + " " + event.m_source + " " + event.m_port +
                         " " + number(event.m_value) + " " + event.m_destination);
        return true;
    }
    void offerMessage(const SDLogMessage& message) override {
        if (message.kind == SDLogMessage::Kind::Init) {
            links.push_back(std::string(message.source) + ">" + std::string(message.destination));
        } else if (message.kind == SDLogMessage::Kind::Output) {
            ++outputs;
        }
    }
    void offerState(std::string_view model, double milliseconds, std::string_view text) override {
        states.push_back(number(milliseconds) + " " + std::string(model) + " = " + std::string(text));
    }

    std::map<std::string, Record> models;
    Lines events;
    Lines states;
    Lines links;
    int outputs = 0;
};

class SLCadmium1FileTest : public ::testing::Test {
  protected:
    // Reads the file through the reader openRunReader picks; its census is kept.
    void read(const std::string& path) {
        std::unique_ptr<SLRunReader> reader = openRunReader(&sink, path);
        ASSERT_NE(nullptr, dynamic_cast<SLCadmium1File*>(reader.get())) << path;
        ASSERT_TRUE(reader->open());
        // In slices of two lines, as an import with progress reads it.
        SLRunReader::Step step = SLRunReader::Step::More;
        while (step == SLRunReader::Step::More) {
            step = reader->readLines(2);
        }
        EXPECT_EQ(SLRunReader::Step::Done, step);
        reports = reader->census().reports();
        messages = reader->census().messages();
        latest = reader->latestTime();
        lines = reader->linesRead();
    }

    LogRecorder log;
    TempDir dir;
    TextSink sink;
    Lines reports;
    long long messages = 0;
    long long lines = 0;
    double latest = 0.0;
};

TEST_F(SLCadmium1FileTest, TimeLines) {
    const struct {
        const char* text;
        bool read;
        double milliseconds;
    } cases[] = {
        {"00:00:01:500", true, 1500},
        {"  100:02:03:004\t", true, 360123004},  // more hour digits, blanks around
        {"-00:00:00:250", true, -250},
        {"00:00:01:500:250", true, 1500.25},     // a further part is a thousandth of a millisecond
        {"00:00:00:000:001:500", true, 0.0015},  // 1/1000 + 500/1000000
        {"2.5", true, 2500},                     // seconds
        {"1e3", true, 1e6},
        {"0", true, 0},
        {"inf", true, kInf},
        {"00:00:01", false, 0},
        {"00:0a:00:000", false, 0},
        {"00:00::000", false, 0},
        {"0:0:0:-1", false, 0},
        {"", false, 0},
        {"nan", false, 0},
        {"0x10", false, 0},
        {"1.5 s", false, 0},
        {"State for model x is 1", false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        double milliseconds = -1.0;
        EXPECT_EQ(c.read, SLCadmium1Line::readTime(c.text, milliseconds));
        if (c.read) {
            EXPECT_DOUBLE_EQ(c.milliseconds, milliseconds);
        }
    }
}

TEST_F(SLCadmium1FileTest, RecordLines) {
    // Message lines: "ports" is each port's short name with its messages.
    const struct {
        const char* line;
        const char* model;
        const char* ports;  // null: not a message line
    } messageCases[] = {
        {"[a::b::out: {1, 2}] generated by model m", "m", "out[1|2]"},
        {"[p: {}, q: {x}] generated by model m ", "m", "p[] q[x]"},
        {"[ns::t<std::pair<int, int>, float>::cell_out: {<1,2>, {a, b}}] generated by model c_(1,2)",
         "c_(1,2)", "cell_out[<1,2>|{a, b}]"},
        {"[x<a::b>: {1}] generated by model m", "m", "x<a::b>[1]"},  // no "::" outside the brackets
        {"[p: {{1, {2}}, 3}, r: {f(1, 2), [3, 4]}] generated by model m", "m",
         "p[{1, {2}}|3] r[f(1, 2)|[3, 4]]"},
        {"[p: {said \"] generated by model x\"}] generated by model m", "m",
         "p[said \"] generated by model x\"]"},
        {"[] generated by model m", "m", ""},
        {"[p: {1] generated by model m", "m", nullptr},
        {"[p {1}] generated by model m", "m", nullptr},
        {"[p: {1} q: {2}] generated by model m", "m", nullptr},
        {"[: {1}] generated by model m", "m", nullptr},
        {"[p: {1}] generated by model ", "", nullptr},
        {"p: {1} generated by model m", "", nullptr},
    };
    for (const auto& c : messageCases) {
        SCOPED_TRACE(c.line);
        std::string_view outputs;
        std::string_view model;
        SLCadmium1Line::Outputs read;
        const bool isLine = SLCadmium1Line::readMessageLine(c.line, outputs, model);
        ASSERT_EQ(c.ports != nullptr, isLine && SLCadmium1Line::readOutputs(outputs, read));
        if (c.ports == nullptr) {
            continue;
        }
        EXPECT_EQ(c.model, model);
        std::string ports;
        for (const auto& port : read.ports) {
            ports += (ports.empty() ? "" : " ") + std::string(port.name) + "[";
            for (size_t i = 0; i < port.count; ++i) {
                ports += (i > 0 ? "|" : "") + std::string(read.messages[port.first + i]);
            }
            ports += "]";
        }
        EXPECT_EQ(c.ports, ports);
    }

    const struct {
        const char* line;
        const char* model;  // null: not a state line
        const char* text;
    } stateCases[] = {
        {"State for model m is <1, 2>", "m", "<1, 2>"}, {"State for model m is", "m", ""},
        {"State for model a is b is c", "a", "b is c"}, {"State for model  is 3", nullptr, ""},
        {"state for model m is 1", nullptr, ""},
    };
    for (const auto& c : stateCases) {
        SCOPED_TRACE(c.line);
        std::string_view model;
        std::string_view text;
        ASSERT_EQ(c.model != nullptr, SLCadmium1Line::readStateLine(c.line, model, text));
        if (c.model != nullptr) {
            EXPECT_EQ(c.model, model);
            EXPECT_EQ(c.text, text);
        }
    }

    const struct {
        const char* id;
        const char* space;  // null: not a cell
        std::array<int, 3> coordinates;
        int dimensions;
    } cellCases[] = {
        {"fire_(3,4)", "fire", {3, 4, 0}, 2},
        {"a_b_(-1, 2, -3)", "a_b", {-1, 2, -3}, 3},
        {"row_(5)", "row", {5, 0, 0}, 1},
        {"_(1,2)", nullptr, {}, 0},
        {"fire(1,2)", nullptr, {}, 0},
        {"fire_(1,2,3,4)", nullptr, {}, 0},
        {"fire_(x,1)", nullptr, {}, 0},
        {"fire_(1,)", nullptr, {}, 0},
        {"fire_(99999999999,0)", nullptr, {}, 0},
        {"fire_(1,2)x", nullptr, {}, 0},
    };
    for (const auto& c : cellCases) {
        SCOPED_TRACE(c.id);
        SLCadmium1Line::CellId cell;
        ASSERT_EQ(c.space != nullptr, SLCadmium1Line::readCellId(c.id, cell));
        if (c.space != nullptr) {
            EXPECT_EQ(c.space, cell.space);
            EXPECT_EQ(c.coordinates, cell.coordinates);
            EXPECT_EQ(c.dimensions, cell.dimensions);
        }
    }
}

TEST_F(SLCadmium1FileTest, FilesAreTakenByTheirFirstLinesAndTheTopModelIsNamedForBothFiles) {
    const struct {
        const char* content;
        bool taken;
    } cases[] = {
        {"00:00:00:000\nState for model m is 1\n", true},
        {"\n  \n0\n[p: {}] generated by model m\n", true},
        {"[p: {1}] generated by model m\n", true},
        {"00:00:00:000\n[p: {1}] generated by model m\nModel creation time: 0.01 seconds\n", true},
        {"00:00:00:000\n00:00:01:000\n", false},  // times alone
        {"Model creation time\n00:00:00:000\nState for model m is 1\n", false},
        {"00:00:00:000\nState for model m is 1\nx\ny\n", false},  // mostly other lines
        {"msg Y / 00:00:01:000 / a(1) / out / 1 to b(2)\n", false},
        {"", false},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.content);
        const std::string path = dir.write("f" + std::to_string(++n) + ".log", c.content);
        std::unique_ptr<SLRunReader> reader = openRunReader(&sink, path);
        EXPECT_EQ(c.taken, dynamic_cast<SLCadmium1File*>(reader.get()) != nullptr);
    }
    EXPECT_NE(std::string::npos, runFormatsTried().find("Cadmium 1"));

    const std::pair<const char*, const char*> names[] = {
        {"runs/abp_messages.txt", "abp"}, {"abp_state.txt", "abp"},
        {"x/out_states.log", "out"},      {"a.b/run-2 final.txt", "run_2_final"},
        {"_state.txt", "_state"},         {"a_message", "a"},
        {"dir/.hidden", "_hidden"},
    };
    for (const auto& [path, top] : names) {
        EXPECT_EQ(top, SLCadmium1File::runTopName(path)) << path;
    }
}

TEST_F(SLCadmium1FileTest, TheCellDevsStateSampleGivesItsCellsValuesAndStates) {
    read(sample("forest_state.txt"));
    // By hand: every state with a number is the cell's value from then on; "unburnt" and "burnt out" are not.
    EXPECT_EQ(
        (Lines{"0 fire(0,0) out 0.5 fire", "0 fire(0,1) out 0 fire", "0 fire(1,0) out 0 fire",
               "0 fire(2,0) out 2 fire", "0 fire(2,1) out 0 fire", "1500 fire(1,0) out 1.25 fire",
               "1500 fire(1,1) out 0.75 fire", "1500 fire(0,0) out 3 fire", "3000.25 fire(2,1) out 4 fire"}),
        sink.events);
    EXPECT_EQ(13u, sink.states.size());
    EXPECT_EQ("0 fire(1,1) = unburnt", sink.states.at(3));
    EXPECT_EQ("3000.25 fire(1,0) = burnt out", sink.states.at(10));
    EXPECT_EQ("3000.25 clock = {tick: 2}", sink.states.back());
    EXPECT_EQ(0, sink.outputs);  // states are no messages between models
    ASSERT_EQ(3u, sink.models.size());
    EXPECT_TRUE(sink.models.at("fire").cells);
    EXPECT_EQ((std::array<unsigned, 3>{3, 2, 1}), sink.models.at("fire").size);
    EXPECT_EQ((Lines{"out"}), sink.models.at("fire").ports);
    EXPECT_FALSE(sink.models.at("clock").cells);
    EXPECT_TRUE(sink.models.at("clock").ports.empty());
    EXPECT_EQ((Lines{"forest>fire", "fire>fire(0,0)", "fire>fire(0,1)", "fire>fire(1,0)", "fire>fire(1,1)",
                     "fire>fire(2,0)", "fire>fire(2,1)", "forest>clock"}),
              sink.links);
    EXPECT_EQ(13, messages);
    EXPECT_TRUE(reports.empty());
    EXPECT_EQ(19, lines);
    EXPECT_DOUBLE_EQ(3000.25, latest);
}

TEST_F(SLCadmium1FileTest, ThePlainSamplesGiveTheirPortsMessagesAndStates) {
    read(sample("abp_messages.txt"));
    // By hand: one event per message, at the last time line above; empty ports send nothing.
    EXPECT_EQ(
        (Lines{"10000 generator out 5 abp", "10000 sender packetSentOut 1 abp", "10000 sender dataOut 10 abp",
               "10000 sender dataOut 11 abp", "20000 receiver out 1 abp", "20000 receiver out 2 abp",
               "20000 sender ackReceivedOut 1 abp", "20000 generator out 0 abp"}),
        sink.events);
    EXPECT_EQ(8, sink.outputs);
    EXPECT_EQ((Lines{"out"}), sink.models.at("generator").ports);
    EXPECT_EQ((Lines{"packetSentOut", "ackReceivedOut", "dataOut"}), sink.models.at("sender").ports);
    EXPECT_EQ((Lines{"out"}), sink.models.at("receiver").ports);
    EXPECT_TRUE(sink.models.at("abp").ports.empty());
    EXPECT_EQ(4u, sink.models.size());
    EXPECT_EQ((Lines{"abp>generator", "abp>sender", "abp>receiver"}), sink.links);
    EXPECT_EQ(
        (Lines{"Passed over 1 line that is not a message, the first at line 9",
               "Read 1 message line with a time or value that is not a number, as 0, the first at line 13"}),
        reports);
    EXPECT_EQ(7, messages);
    EXPECT_DOUBLE_EQ(20000, latest);

    sink = TextSink();
    read(sample("abp_state.txt"));
    EXPECT_TRUE(sink.events.empty());  // a plain model's state colours nothing
    // The state at inf is at no time.
    EXPECT_EQ((Lines{"0 generator = 0", "0 sender = {phase: passive, packets: 0}", "0 receiver = idle",
                     "10000 generator = 1", "10000 sender = {phase: sending, packets: 2}",
                     "20000 receiver = {acks: 2}"}),
              sink.states);
    EXPECT_EQ((Lines{"abp>generator", "abp>sender", "abp>receiver"}), sink.links);
    EXPECT_EQ(7, messages);
    EXPECT_TRUE(reports.empty());
    EXPECT_DOUBLE_EQ(20000, latest);
}

TEST_F(SLCadmium1FileTest, NegativeCoordinatesKeepTheRunsOwnAndCellsBelowTheFirstTimesArePassedOver) {
    const std::string path =
        dir.write("neg_state.txt",
                  "[x: {1}] generated by model early\n"  // before any time
                  "-00:00:00:500\n"
                  "State for model grid_(-2,1) is 7\n"
                  "State for model grid_(0,-1) is 8\n"
                  "0.25\n"
                  "State for model grid_(-3,0) is 5\n"  // below the origin
                  "[grid_ports<int>::out: {6}] generated by model grid_(1,2)\n"
                  "State for model grid_(-3,0) is 5\n"
                  "garbage line\n"
                  "State for model grid_(9000,9000) is 1\n"  // more cells than a space holds
                  "[p: {2}] generated by model queue(1)\n"
                  "1e3\n"
                  "[broken: {1] generated by model x\n");
    read(path);
    // By hand: the first time names x -2 and 0, y 1 and -1: the origin is (-2,-1,0). A plain model's
    // parentheses would read as a cell's: they become brackets.
    EXPECT_EQ((Lines{"-500 grid(-2,1) out 7 grid", "-500 grid(0,-1) out 8 grid", "250 grid(1,2) out 6 grid",
                     "250 queue[1] p 2 neg"}),
              sink.events);
    const TextSink::Record& grid = sink.models.at("grid");
    EXPECT_EQ((std::array<int, 3>{-2, -1, 0}), grid.origin);
    EXPECT_EQ((std::array<unsigned, 3>{4, 4, 1}), grid.size);  // (1,2) is stored at (3,3)
    EXPECT_EQ((Lines{"out"}), grid.ports);
    EXPECT_EQ((Lines{"p"}), sink.models.at("queue[1]").ports);
    EXPECT_EQ((Lines{"Passed over 6 lines that are not messages, the first at line 1"}), reports);
    size_t below = 0;
    for (const std::string& line : log.lines()) {
        below += line.find("grid(-3,0)") != std::string::npos ? 1 : 0;
    }
    EXPECT_EQ(1u, below) << log.text();
    EXPECT_DOUBLE_EQ(1e6, latest);  // 1e3 seconds
}

}  // namespace
