#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "console/VDDEVSConsoleParser.h"
#include "control/VCSimulation.h"
#include "gui/VDConsole.h"
#include "gui/VDConsoleCommand.h"
#include "gui/VDEditBox.h"
#include "gui/VDEvent.h"
#include "gui/VDKey.h"
#include "gui/VDStringLog.h"
#include "gui/VDTextBox.h"
#include "shell/VDGarbageCan.h"
#include "simdata/SDVisualization.h"
#include "tests/fuzz/FuzzSupport.h"
#include "tests/fuzz/ImportTarget.h"

// The command language without a window: the process-wide garbage can, controller and console exist as
// at start-up, the main window does not (so "exit" only asks nobody, and the camera commands find no view).
namespace fuzz {

// "life.log", which the console target's imports read, in the directory it runs in. The fuzzer and the
// replay of its saved inputs must write the same one, or a saved input may not do again what it did.
inline const char* const kConsoleLifeLog =
    "msg Y / 00:00:00:100 / life(1,2)(9) / out / 1 to life(02)\n"
    "msg X / 00:00:00:100 / life(02) / neighborchange / 1 to life(2,2)(10)\n"
    "msg X / 00:00:00:000 / Root(00) / in / 5 to top(01)\n";

// Keys for the bytes 0xF0 and up when the input is typed: the editing and history keys and the clipboard.
inline int keyForByte(uint8_t byte) {
    static const int kSpecial[16] = {VDKey::KEY_UP,
                                     VDKey::KEY_DOWN,
                                     VDKey::KEY_LEFT,
                                     VDKey::KEY_RIGHT,
                                     VDKey::KEY_HOME,
                                     VDKey::KEY_END,
                                     VDKey::KEY_PAGE_UP,
                                     VDKey::KEY_PAGE_DOWN,
                                     VDKey::KEY_INSERT,
                                     VDKey::KEY_TAB,
                                     VDKey::KEY_BACKSPACE,
                                     VDKey::KEY_DELETE,
                                     VDKey::KEY_SHIFT | VDKey::KEY_LEFT,
                                     VDKey::KEY_CONTROL | 'c',
                                     VDKey::KEY_CONTROL | 'v',
                                     VDKey::KEY_CONTROL | 'x'};
    if (byte == '\n') {
        return VDKey::KEY_ENTER;
    }
    return byte >= 0xF0 ? kSpecial[byte - 0xF0] : byte;
}

// The console of the slot, fresh, with the program's parser.
inline VDConsole& freshConsole() {
    setConsole(std::make_unique<VDConsole>(std::make_unique<VDDEVSConsoleParser>()));
    getConsole()->initialise();
    return *getConsole();
}

inline std::vector<std::string> consoleOutput() {
    const VDStringLog& log = getConsole()->getOutput()->getLog();
    return std::vector<std::string>(log.begin(), log.end());  // newest first
}

// Builds the process-wide objects the commands use, once, with a visualization open.
inline void consoleSetUp() {
    createGarbageCan();
    createSimulation();
    freshConsole();
    getSimulation()->newVisualization("fuzz.vis");
}

// The state every input starts from: nothing pending, a fresh console, an open and empty visualization.
// Rebuilt only after an input that made a command (a refused one too): one that made none changed
// nothing. The rebuild goes through the commands themselves and checks that they still answer.
inline void consoleReset(bool commandsRan) {
    VDGarbageCan* can = getGarbageCan();
    can->empty();
    freshConsole();
    if (!commandsRan && getVisualization() != nullptr) {
        return;
    }
    VDDEVSConsoleParser parser;
    for (const char* line : {"vis_close", "vis_new fuzz", "print VIS"}) {
        VDConsoleCommand* command = nullptr;
        std::string reply;
        FUZZ_CHECK(parser.parse(line, &command, reply) && command != nullptr);
        command->execute();
    }
    FUZZ_CHECK(getVisualization() != nullptr && getVisualization()->getName() == "fuzz.vis");
    const std::vector<std::string> output = consoleOutput();
    FUZZ_CHECK(output.size() >= 4 && output[2] == "Name: fuzz.vis");
    can->empty();
}

// Lines of the input through the parser and, when accepted, executed (even sizes); or the input typed
// into the console key by key, '\n' as Enter (odd sizes). Half of either kind runs with the log's console
// channel on, so that the listings and the import's reports reach the console.
inline void consoleInput(const uint8_t* data, size_t size) {
    EngineVariables* variables = getEngineVariables();
    variables->setBool("file_logging", false);
    variables->setBool("console_logging", (size / 2) % 2 == 0);
    VDGarbageCan* can = getGarbageCan();
    if (size % 2 == 0) {
        VDDEVSConsoleParser parser;
        const std::string input = text(data, size);
        size_t start = 0;
        while (start <= input.size()) {
            size_t end = input.find('\n', start);
            if (end == std::string::npos) {
                end = input.size();
            }
            const std::string line = input.substr(start, end - start);
            start = end + 1;
            parser.getCompletions(line);
            VDConsoleCommand* command = nullptr;
            std::string reply;
            const bool accepted = parser.parse(line, &command, reply);
            FUZZ_CHECK(accepted == (command != nullptr));
            if (accepted) {
                const size_t pending = can->pendingCount();
                command->execute();
                // Every command is done with itself once it has run: it waits in the can.
                FUZZ_CHECK(can->pendingCount() == pending + 1);
            }
        }
    } else {
        VDConsole& console = *getConsole();
        for (size_t i = 0; i < size; ++i) {
            VDKeyDownEvent down(keyForByte(data[i]));
            console.handleEvent(&down);
            VDKeyUpEvent up(keyForByte(data[i]));
            console.handleEvent(&up);
        }
        FUZZ_CHECK(static_cast<int>(console.getHistory().size()) <= VDConsole::HISTORY_SIZE);
        FUZZ_CHECK(static_cast<int>(console.getCommandLine()->getText().size()) <=
                   VDConsole::COMMAND_LINE_LENGTH);
    }
    FUZZ_CHECK(static_cast<int>(consoleOutput().size()) <= VDConsole::OUTPUT_LINES);
    VCSimulation* simulation = getSimulation();
    FUZZ_CHECK((getVisualization() != nullptr) == (simulation->getModelList() != nullptr));
    if (SDVisualization* visualization = getVisualization()) {
        checkImported(*visualization->getModelList(), *visualization->getEventList());
    }
    consoleReset(can->pendingCount() > 0);
}

}  // namespace fuzz
