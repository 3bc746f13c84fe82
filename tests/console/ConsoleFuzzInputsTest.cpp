// Replays the console fuzz target's seeds and every input it once failed on through the same code.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "gui/VDConsole.h"
#include "shell/EngineVariables.h"
#include "shell/VDGarbageCan.h"
#include "tests/fuzz/ConsoleTarget.h"
#include "tests/fuzz/SavedInputs.h"
#include "tests/support/TempDir.h"

namespace {

TEST(ConsoleFuzzInputsTest, ConsoleTarget) {
    TempDir dir(true);  // the fuzzer runs where "life.log" is
    dir.write("life.log", fuzz::kConsoleLifeLog);
    fuzz::consoleSetUp();
    const std::vector<std::filesystem::path> inputs = fuzz::savedInputs(TESS_SOURCE_DIR, "console");
    ASSERT_FALSE(inputs.empty());
    for (const std::filesystem::path& input : inputs) {
        SCOPED_TRACE(input.string());
        const std::string bytes = readFile(input.string());
        fuzz::consoleInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    }
    destroyConsole();
    destroySimulation();
    destroyGarbageCan();
    getEngineVariables()->removeVariable("console_logging");
}

}  // namespace
