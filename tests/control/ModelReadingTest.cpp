// vis_model's answers for every model of the two deepest plain DEVS logs at every event time. What the
// answers should be is worked out here from the file, by a plain replay of its lines from the start that
// shares nothing with the program's reading.
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
#include "tests/tools/LogText.h"

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
            const std::vector<std::string> f = fields(text);
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
        file = fs::path(TESS_SHARED_DIR) / "logs" / (std::string(GetParam()) + ".log");
        if (!fs::exists(file)) {
            GTEST_SKIP() << "no real log at " << file;
        }
        ASSERT_NE(nullptr, createSimulation());
        ASSERT_TRUE(getSimulation()->newVisualization("models"));
        ASSERT_TRUE(getSimulation()->importLogFile(file.string()));
    }
    void TearDown() override { destroySimulation(); }

    fs::path file;
    LogRecorder rec;  // the import's lines stay out of the test's output
};

TEST_P(ModelReadingTest, EveryModelAtEveryEventTimeAsTheLogSays) {
    const PlainReading log(file);
    ASSERT_GE(log.eventTimes.size(), 6u);
    ASSERT_GE(log.models.size(), 7u);
    for (long time : log.eventTimes) {
        ASSERT_TRUE(getSimulation()->timeGoto(static_cast<double>(time)) ||
                    getSimulation()->currentTime() == static_cast<double>(time));
        for (const std::string& model : log.models) {
            EXPECT_EQ(log.expected(model, time), VCModelReading::read(model).lines)
                << model << " at " << clock(time);
        }
    }
    // A model file's links of a coupled model follow its other lines, in the file's order.
    if (std::string(GetParam()) == "gun_loader_crew") {
        ASSERT_TRUE(getSimulation()->importModelFile(
            (fs::path(TESS_SOURCE_DIR) / "samples" / "models" / "gun_loader_crew.ma").string()));
        Lines expected = log.expected("gunner", log.eventTimes.back());
        for (const char* link :
             {"ecin -> in@electric_fire", "min -> in@manual_fire", "emin -> in@emergency_fire",
              "out@electric_fire -> ecin@fire", "out@fire -> out"}) {
            expected.push_back(std::string("  link ") + link);
        }
        EXPECT_EQ(expected, VCModelReading::read("gunner").lines);
    }
}

INSTANTIATE_TEST_SUITE_P(PlainLogs, ModelReadingTest,
                         ::testing::Values("gun_loader_crew", "pulse_neuron_timer"));

}  // namespace
