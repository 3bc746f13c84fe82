// vis_model's answers for every model of the two deepest plain DEVS logs, at their first, a middle and their
// last event time. What the answers should be is worked out here from the file, by a plain replay of its
// lines from the start that shares nothing with the program's reading.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "control/VCModelReading.h"
#include "control/VCSimulation.h"
#include "tests/support/LogRecorder.h"

namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

struct Line {
    std::string kind, source, destination, port, delay;
    long time = 0;
    double value = 0.0;
};

long milliseconds(const std::string& text) {
    int h = 0, m = 0, s = 0, ms = 0;
    std::sscanf(text.c_str(), "%d:%d:%d:%d", &h, &m, &s, &ms);
    return ((h * 60L + m) * 60L + s) * 1000L + ms;
}

std::string clock(long ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%02ld:%02ld:%02ld:%03ld", ms / 3600000, ms / 60000 % 60, ms / 1000 % 60,
                  ms % 1000);
    return text;
}

// The log as a list of lines, and the models with their parent, children and ports in the order the
// lines show them (neither log has cells).
struct PlainReading {
    std::vector<Line> lines;
    std::vector<std::string> models;  // first appearance
    std::map<std::string, std::string> parent;
    std::map<std::string, Lines> children, inputs, outputs;
    std::vector<long> eventTimes;  // of the X and Y lines, ascending, each once

    explicit PlainReading(const fs::path& file) {
        std::ifstream in(file);
        std::string text;
        std::set<long> times;
        while (std::getline(in, text)) {
            std::replace(text.begin(), text.end(), '/', ' ');
            std::vector<std::string> f;
            for (size_t at = 0; (at = text.find_first_not_of(" \r", at)) != std::string::npos;) {
                const size_t stop = text.find_first_of(" \r", at);
                f.push_back(text.substr(at, stop - at));
                at = stop;
            }
            auto name = [](const std::string& reference) { return reference.substr(0, reference.find('(')); };
            Line line;
            line.kind = f[1];
            line.time = milliseconds(f[2]);
            line.source = name(f[3]);
            line.destination = name(f.back());
            if (f.size() == 8) {
                line.port = f[4];
                line.value = std::stod(f[5]);
                times.insert(line.time);
            } else if (f.size() == 7) {
                line.delay = f[4];
            }
            lines.push_back(line);
            const bool down = line.kind == "I" || line.kind == "*" || line.kind == "X";
            const std::string up = down ? line.source : line.destination;
            const std::string child = down ? line.destination : line.source;
            for (const std::string& model : {line.source, line.destination}) {
                if (std::find(models.begin(), models.end(), model) == models.end()) {
                    models.push_back(model);
                }
            }
            if (child != "Root" && parent.count(child) == 0) {
                parent[child] = up;
                children[up].push_back(child);
            }
            Lines& ports = line.kind == "X" ? inputs[line.destination] : outputs[line.source];
            if ((line.kind == "X" || line.kind == "Y") &&
                std::find(ports.begin(), ports.end(), line.port) == ports.end()) {
                ports.push_back(line.port);
            }
        }
        eventTimes.assign(times.begin(), times.end());
    }

    // What vis_model should print for `model` at `now`: the lines up to then replayed.
    Lines expected(const std::string& model, long now) const {
        std::map<std::string, std::pair<double, long>> in, out;
        std::string next = "unknown";
        for (const Line& line : lines) {
            if (line.time > now) {
                break;  // both logs are in time order
            }
            if (line.kind == "X" && line.destination == model) {
                in[line.port] = {line.value, line.time};
            } else if (line.kind == "Y" && line.source == model) {
                out[line.port] = {line.value, line.time};
            } else if (line.kind == "D" && line.source == model) {
                next = line.delay == "..." ? "passive" : clock(line.time + milliseconds(line.delay));
            }
        }
        auto listed = [](const std::map<std::string, Lines>& lists, const std::string& key) {
            auto found = lists.find(key);
            return found == lists.end() ? Lines{} : found->second;
        };
        const Lines kids = listed(children, model);
        std::string first = model + ": " + (kids.empty() ? "atomic" : "coupled") + ", ";
        first += parent.count(model) != 0 ? "in " + parent.at(model) : "no parent";
        for (size_t i = 0; i < kids.size(); ++i) {
            first += (i == 0 ? "; children " : ", ") + kids[i];
        }
        Lines result{first};
        for (const auto& [direction, ports, values] :
             {std::tuple{"in", listed(inputs, model), in}, std::tuple{"out", listed(outputs, model), out}}) {
            for (const std::string& port : ports) {
                auto found = values.find(port);
                char value[64];
                std::snprintf(value, sizeof value, " = %f since ",
                              found != values.end() ? found->second.first : 0.0);
                result.push_back(
                    std::string("  ") + direction + " " + port +
                    (found == values.end() ? ": nothing yet" : value + clock(found->second.second)));
            }
        }
        result.push_back("  next event: " + next);
        return result;
    }
};

class ModelReadingTest : public ::testing::TestWithParam<const char*> {
  protected:
    void SetUp() override {
        file = fs::path(TESS_SHARED_DIR) / "logs" / GetParam();
        if (!fs::exists(file)) {
            GTEST_SKIP() << "no real log at " << file;
        }
        ASSERT_NE(nullptr, createSimulation());
        ASSERT_TRUE(getSimulation()->newVisualization("models"));
        ASSERT_TRUE(getSimulation()->importLogFile(file.string()));
    }
    void TearDown() override { destroySimulation(); }
    Lines read(const std::string& model) { return VCModelReading::read(model).lines; }

    fs::path file;
    LogRecorder rec;  // the import's lines stay out of the test's output
};

TEST_P(ModelReadingTest, EveryModelAtTheFirstAMiddleAndTheLastEventTimeAsTheLogSays) {
    const PlainReading log(file);
    ASSERT_GE(log.eventTimes.size(), 3u);
    ASSERT_GE(log.models.size(), 7u);
    for (long time :
         {log.eventTimes.front(), log.eventTimes[log.eventTimes.size() / 2], log.eventTimes.back()}) {
        ASSERT_TRUE(getSimulation()->timeGoto(static_cast<double>(time)) ||
                    getSimulation()->currentTime() == static_cast<double>(time));
        for (const std::string& model : log.models) {
            EXPECT_EQ(log.expected(model, time), read(model)) << model << " at " << clock(time);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(PlainLogs, ModelReadingTest,
                         ::testing::Values("gun_loader_crew.log", "pulse_neuron_timer.log"));

// A few answers written out by hand from gun_loader_crew.log, which the replay above must agree with too.
TEST(ModelReadingByHandTest, GunLoaderCrewAsReadFromTheFile) {
    const fs::path file = fs::path(TESS_SHARED_DIR) / "logs" / "gun_loader_crew.log";
    if (!fs::exists(file)) {
        GTEST_SKIP() << "no real log at " << file;
    }
    LogRecorder rec;
    ASSERT_NE(nullptr, createSimulation());
    EXPECT_EQ(Lines{"Unable to describe model. Visualization does not exist."},
              VCModelReading::read("top").lines);
    ASSERT_TRUE(getSimulation()->newVisualization("gun"));
    ASSERT_TRUE(getSimulation()->importLogFile(file.string()));
    struct Case {
        const char* time;
        const char* model;
        Lines lines;
    };
    const Case cases[] = {
        {"00:00:20:004",
         "gunner",
         {"gunner: coupled, in top; children electric_fire, manual_fire, emergency_fire, fire",
          "  in ecin = 1.000000 since 00:00:20:000", "  in min = 0.000000 since 00:00:20:000",
          "  in emin = 0.000000 since 00:00:20:000", "  out out: nothing yet", "  next event: 00:00:20:008"}},
        {"00:00:20:004",
         "fire",
         {"fire: atomic, in gunner", "  in ecin = 1.000000 since 00:00:20:004", "  out out: nothing yet",
          "  next event: 00:00:20:008"}},
        {"00:00:20:008",
         "gunner",
         {"gunner: coupled, in top; children electric_fire, manual_fire, emergency_fire, fire",
          "  in ecin = 1.000000 since 00:00:20:000", "  in min = 0.000000 since 00:00:20:000",
          "  in emin = 0.000000 since 00:00:20:000", "  out out = 1.000000 since 00:00:20:008",
          "  next event: passive"}},
        {"00:00:10:000",
         "barrel",
         {"barrel: atomic, in loader", "  in ain = 1.000000 since 00:00:05:000",
          "  in sfin = 1.000000 since 00:00:10:000", "  in fin: nothing yet", "  out ammu_out: nothing yet",
          "  next event: passive"}},
        {"00:00:10:000", "Root", {"Root: coupled, no parent; children top", "  next event: unknown"}},
        {"00:00:10:000", "nosuch", {"No model named nosuch"}},
    };
    for (const Case& c : cases) {
        getSimulation()->timeGoto(static_cast<double>(milliseconds(c.time)));
        EXPECT_EQ(c.lines, VCModelReading::read(c.model).lines) << c.model << " at " << c.time;
    }
    // The model file's links of gunner follow its other lines, in the file's order.
    ASSERT_TRUE(getSimulation()->importModelFile(
        (fs::path(TESS_SOURCE_DIR) / "samples" / "models" / "gun_loader_crew.ma").string()));
    Lines gunner = VCModelReading::read("gunner").lines;
    ASSERT_GE(gunner.size(), 5u);
    EXPECT_EQ((Lines{"  link ecin -> in@electric_fire", "  link min -> in@manual_fire",
                     "  link emin -> in@emergency_fire", "  link out@electric_fire -> ecin@fire",
                     "  link out@fire -> out"}),
              Lines(gunner.end() - 5, gunner.end()));
    EXPECT_EQ("  next event: passive", gunner[gunner.size() - 6]);
    destroySimulation();
}

}  // namespace
