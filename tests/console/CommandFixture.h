#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "console/VDDEVSConsoleParser.h"
#include "control/VCSimulation.h"
#include "gui/VDConsole.h"
#include "gui/VDConsoleCommand.h"
#include "gui/VDStringLog.h"
#include "gui/VDTextBox.h"
#include "shell/EngineVariables.h"
#include "shell/VDGarbageCan.h"

using Lines = std::vector<std::string>;

// The commands as the console runs them: parsed, executed, and printing into the console of the slot.
class CommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        createGarbageCan();
        createSimulation();
        setConsole(std::make_unique<VDConsole>(nullptr));
        getConsole()->initialise();
    }
    void TearDown() override {
        delete parsed;
        destroyConsole();
        destroySimulation();
        destroyGarbageCan();
        getEngineVariables()->removeVariable("console_logging");
    }
    // Parses `line`; returns the reply and keeps the command unexecuted in `parsed`.
    std::string check(const std::string& line) {
        delete parsed;
        parsed = nullptr;
        std::string reply;
        parser.parse(line, &parsed, reply);
        return reply;
    }
    // Parses and executes `line`; returns what it printed into the console.
    Lines run(const std::string& line) {
        const size_t before = printed().size();
        VDConsoleCommand* command = nullptr;
        std::string reply;
        if (parser.parse(line, &command, reply)) {
            command->execute();
        }
        Lines all = printed();
        return Lines(all.begin() + static_cast<long>(before), all.end());
    }
    static Lines printed() {
        const VDStringLog& log = getConsole()->getOutput()->getLog();
        Lines lines(log.begin(), log.end());
        std::reverse(lines.begin(), lines.end());
        return lines;
    }

    VDDEVSConsoleParser parser;
    VDConsoleCommand* parsed = nullptr;
};
