// Every log written by a real simulator imports completely. What the import should hold is worked out here
// from the file itself, with a reading of the format that shares nothing with the loader.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <list>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "control/VCSimulation.h"
#include "shell/Log.h"
#include "simdata/SDCELLDevsModel.h"
#include "simdata/SDDevsModelList.h"
#include "simdata/SDEventList.h"
#include "simdata/SDVisualization.h"
#include "tests/support/LogRecorder.h"
#include "tests/support/TempDir.h"

namespace {

namespace fs = std::filesystem;
using Ports = std::set<std::string>;

struct Expected {
    size_t events = 0;
    size_t messageLines = 0;  // of any kind: I, *, D, X or Y after the first word
    size_t lines = 0;
    double lastTime = 0;                   // the latest time of any message line, in milliseconds
    std::map<std::string, Ports> inputs;   // every model, with the ports it receives on
    std::map<std::string, Ports> outputs;  // every model, with the ports it sends on
    std::map<std::string, std::vector<long>>
        cellCounts;  // Cell-DEVS models: largest coordinate + 1 on any line
};

std::vector<std::string> split(const std::string& text, const char* separators) {
    std::vector<std::string> parts;
    size_t at = text.find_first_not_of(separators);
    while (at != std::string::npos) {
        const size_t stop = text.find_first_of(separators, at);
        parts.push_back(text.substr(at, stop == std::string::npos ? std::string::npos : stop - at));
        at = stop == std::string::npos ? stop : text.find_first_not_of(separators, stop);
    }
    return parts;
}

// A reference in these logs is name(id) or name(coordinates)(id).
std::string noteModel(Expected& expected, const std::string& reference) {
    const std::string name = reference.substr(0, reference.find('('));
    expected.inputs[name];
    expected.outputs[name];
    if (std::count(reference.begin(), reference.end(), '(') >= 2) {
        const size_t open = reference.find('(');
        const std::string inside = reference.substr(open + 1, reference.find(')') - open - 1);
        std::vector<long>& counts = expected.cellCounts[name];
        counts.resize(3, 1);
        const std::vector<std::string> coordinates = split(inside, ",");
        for (size_t axis = 0; axis < coordinates.size() && axis < 3; ++axis) {
            counts[axis] = std::max(counts[axis], std::stol(coordinates[axis]) + 1);
        }
    }
    return name;
}

Expected expectedFrom(const std::string& path) {
    Expected expected;
    std::istringstream text(readFile(path));
    std::string line;
    while (std::getline(text, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        const std::vector<std::string> fields = split(line, "/ ");
        ++expected.lines;
        if (fields.size() >= 3 && std::string("I*DXY").find(fields[1]) != std::string::npos &&
            fields[1].size() == 1) {
            ++expected.messageLines;
            const std::vector<std::string> hms = split(fields[2], ":");
            expected.lastTime =
                std::max(expected.lastTime,
                         ((std::stod(hms[0]) * 60 + std::stod(hms[1])) * 60 + std::stod(hms[2])) * 1000 +
                             std::stod(hms[3]));
        }
        // The cells of the other lines (I and * lines have 6 fields, D lines 7) count for the size too.
        const bool other = fields.size() >= 6 && (fields[1] == "I" || fields[1] == "D" || fields[1] == "*");
        if (other && std::count(fields[3].begin(), fields[3].end(), '(') >= 2) {
            noteModel(expected, fields[3]);
        }
        if (other && std::count(fields.back().begin(), fields.back().end(), '(') >= 2) {
            noteModel(expected, fields.back());
        }
        if (fields.size() != 8 || (fields[1] != "X" && fields[1] != "Y")) {
            continue;
        }
        ++expected.events;
        const std::string source = noteModel(expected, fields[3]);
        const std::string destination = noteModel(expected, fields[7]);
        if (fields[1] == "Y") {
            expected.outputs[source].insert(fields[4]);
        } else {
            expected.inputs[destination].insert(fields[4]);
        }
    }
    return expected;
}

// Message lines counted by hand in the files, to check the counting above.
const std::map<std::string, size_t> kKnownMessages = {
    {"atrial_conduction.log", 118},       {"gun_loader_crew.log", 41},
    {"pulse_neuron_timer.log", 384},      {"packet_receiver_big_values.log", 14},
    {"morph_filter_2d_8x8.log", 98},      {"water_spread_2d_25x25.log", 959},
    {"thermal_cube_3d_4x4x4.log", 1163},  {"falling_mass_3d_8x8x8.log", 559},
    {"tabular_not_a_message_log.log", 0},
};

void expectPorts(const Ports& expected, const std::vector<std::string>& actual, const std::string& what) {
    EXPECT_EQ(expected, Ports(actual.begin(), actual.end())) << what;
    EXPECT_EQ(expected.size(), actual.size()) << what << ": a port is listed twice";
}

TEST(RealLogsTest, EveryRealLogImportsWhatItHolds) {
    const fs::path folder = fs::path(TESS_SHARED_DIR) / "logs";
    if (!fs::is_directory(folder)) {
        GTEST_SKIP() << "no real logs at " << folder;
    }
    std::vector<fs::path> logs;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        if (entry.path().extension() == ".log") {
            logs.push_back(entry.path());
        }
    }
    std::sort(logs.begin(), logs.end());
    ASSERT_FALSE(logs.empty());

    VCSimulation simulation;
    // Each log twice: with the console's lines, and with no log at all, as a long import reads past its
    // first 100,000 messages, where a record that would change nothing is not offered again.
    for (const bool logged : {true, false}) {
        std::optional<LogRecorder> rec;
        if (logged) {
            rec.emplace();
        }
        ASSERT_EQ(logged, logWanted());
        for (const fs::path& log : logs) {
            SCOPED_TRACE(log.filename().string() + (logged ? "" : ", no log"));
            const Expected expected = expectedFrom(log.string());
            auto known = kKnownMessages.find(log.filename().string());
            if (known != kKnownMessages.end()) {
                EXPECT_EQ(known->second, expected.events);
            }
            if (log.filename() == "atrial_conduction.log") {
                EXPECT_EQ(36000, expected.lastTime)
                    << "its passive lines go on after its last event, at 34 s";
            }
            if (rec) {
                rec->clear();
            }
            ASSERT_TRUE(simulation.newVisualization(log.stem().string()));
            // A file of no messages is refused with one line; in the others every line is a message, so the
            // import has nothing to report about lines passed over or numbers not read.
            EXPECT_EQ(expected.messageLines > 0, simulation.importLogFile(log.string()));
            EXPECT_EQ(expected.messageLines > 0 || !rec ? 0u : 1u,
                      rec ? rec->count(log.string() + " holds no simulation messages") : 0u);
            if (expected.messageLines > 0) {
                EXPECT_EQ(expected.lines, expected.messageLines);
            }
            for (const std::string& line : rec ? rec->lines() : std::vector<std::string>()) {
                EXPECT_NE(0u, line.rfind("Unable", 0)) << line;
                EXPECT_NE(0u, line.rfind("Refused", 0)) << line;
                EXPECT_NE(0u, line.rfind("Passed over", 0)) << line;
                EXPECT_NE(0u, line.rfind("Read ", 0)) << line;
            }

            const SDEventList::Events events = getVisualization()->getEventList()->getEvents();
            EXPECT_EQ(expected.events, events.size());
            EXPECT_TRUE(std::is_sorted(events.begin(), events.end(), [](const SDEvent& a, const SDEvent& b) {
                return a.getTime() < b.getTime();
            }));

            // The run's end is the latest time of any of its lines: End and --time end go there.
            simulation.timeLast();
            EXPECT_EQ(expected.lastTime, simulation.currentTime());

            const SDDevsModelList* models = getVisualization()->getModelList();
            EXPECT_EQ(expected.inputs.size(), models->size());
            for (const auto& [name, inputs] : expected.inputs) {
                const SDDevsModel* model = models->findModel(name);
                ASSERT_NE(nullptr, model) << name;
                expectPorts(inputs, model->getInputPorts(), name + " inputs");
                expectPorts(expected.outputs.at(name), model->getOutputPorts(), name + " outputs");
                auto* cells = dynamic_cast<const SDCELLDevsModel*>(model);
                auto counts = expected.cellCounts.find(name);
                if (counts == expected.cellCounts.end()) {
                    EXPECT_EQ(nullptr, cells) << name;
                    continue;
                }
                ASSERT_NE(nullptr, cells) << name;
                EXPECT_EQ(counts->second[0], static_cast<long>(cells->getWidth())) << name;
                EXPECT_EQ(counts->second[1], static_cast<long>(cells->getHeight())) << name;
                EXPECT_EQ(counts->second[2], static_cast<long>(cells->getLength())) << name;
            }
            simulation.closeVisualization();
        }
    }
}

}  // namespace
