#pragma once

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "loader/SLSink.h"
#include "simdata/SDCELLDevsModel.h"
#include "simdata/SDDevsModel.h"
#include "simdata/SDEvent.h"
#include "simdata/SDLogMessage.h"

// A sink that keeps what a run reader hands it as text: each model merged by name (its ports, and for a
// cell space its size and origin), each event, state and message as a line. With `mergePorts`, a port
// offered again for a model is kept once (for readers that offer a model with each of its lines).
class CsvRunSink : public SLSink {
  public:
    struct Model {
        std::vector<std::string> ports;
        bool cells = false;
        std::array<unsigned, 3> size{};
        std::array<int, 3> origin{};
    };
    std::map<std::string, Model> models;
    std::vector<std::string> modelOrder;
    std::vector<std::string> events;    // "<ms> <source> <port> <value> > <destination>"
    std::vector<std::string> states;    // "<ms> <model> = <text>"
    std::vector<std::string> messages;  // "<kind> <source> > <destination>"
    std::string declaredName;
    bool mergePorts = false;
    std::array<int, 3> declaredOrigin{};

    bool addModel(SDDevsModel* model) override {
        delete model;
        return false;
    }
    bool addEvent(SDEvent* event) override {
        delete event;
        return false;
    }
    bool offerModel(const SDDevsModel& offered) override {
        if (models.find(offered.name()) == models.end()) {
            modelOrder.push_back(offered.name());
        }
        Model& model = models[offered.name()];
        for (const std::string& port : offered.getOutputPorts()) {
            if (!mergePorts || std::find(model.ports.begin(), model.ports.end(), port) == model.ports.end()) {
                model.ports.push_back(port);
            }
        }
        if (const auto* cells = dynamic_cast<const SDCELLDevsModel*>(&offered)) {
            model.cells = true;
            model.size[0] = std::max(model.size[0], cells->getWidth());
            model.size[1] = std::max(model.size[1], cells->getHeight());
            model.size[2] = std::max(model.size[2], cells->getLength());
            model.origin = cells->getOrigin();
        }
        return true;
    }
    bool offerEvent(const SDEvent& event) override {
        char text[64];
        std::snprintf(text, sizeof text, "%g ", event.m_time.getMilliseconds());
        std::string line = text + event.m_source + " " + event.m_port;
        std::snprintf(text, sizeof text, " %g > ", event.m_value);
        events.push_back(line + text + event.m_destination);
        return true;
    }
    void offerState(std::string_view model, double milliseconds, std::string_view text) override {
        char time[32];
        std::snprintf(time, sizeof time, "%g ", milliseconds);
        states.push_back(time + std::string(model) + " = " + std::string(text));
    }
    void offerMessage(const SDLogMessage& m) override {
        messages.push_back(std::string(1, static_cast<char>(m.kind)) + " " + std::string(m.source) + " > " +
                           std::string(m.destination));
    }
    bool declaredCellSpace(std::string& name, std::array<int, 3>& origin) const override {
        if (declaredName.empty()) {
            return false;
        }
        name = declaredName;
        origin = declaredOrigin;
        return true;
    }

    // The messages of one kind ('I', 'Y', ...), each as "<source> > <destination>".
    std::vector<std::string> messagesOf(char kind) const {
        std::vector<std::string> lines;
        for (const std::string& m : messages) {
            if (m[0] == kind) {
                lines.push_back(m.substr(2));
            }
        }
        return lines;
    }

    // The value cell `reference` holds at `milliseconds`: its last event at or before then, in the order
    // the events came; "-" when it has none.
    std::string valueAt(const std::string& reference, double milliseconds) const {
        std::string value = "-";
        for (const std::string& event : events) {
            double time = 0;
            char source[128];
            char port[64];
            double number = 0;
            if (std::sscanf(event.c_str(), "%lf %127s %63s %lf", &time, source, port, &number) == 4 &&
                time <= milliseconds && reference == source && std::string(port) == "out") {
                char text[32];
                std::snprintf(text, sizeof text, "%g", number);
                value = text;
            }
        }
        return value;
    }
};
