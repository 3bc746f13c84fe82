#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "shell/ConsoleChannel.h"
#include "shell/EngineVariables.h"

// A property of the code under test that must hold for every input. A violation aborts, so that the
// fuzzer keeps the input and a unit test replaying it fails.
#define FUZZ_CHECK(condition)                                                                         \
    do {                                                                                              \
        if (!(condition)) {                                                                           \
            std::fprintf(stderr, "Fuzz check failed at %s:%d: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                             \
        }                                                                                             \
    } while (0)

namespace fuzz {

inline void discardLine(const std::string&) {}

// Most inputs run with the log switched off, so that the fuzzer spends its time in the code under test;
// one in four runs with the console channel on and a console that drops every line, so that the
// formatting of the messages is exercised too. The choice follows the input's size: a saved input
// replays the same way.
inline void chooseLogging(size_t size) {
    const bool on = size % 4 == 0;
    EngineVariables* variables = getEngineVariables();
    variables->setBool("file_logging", false);
    variables->setBool("console_logging", on);
    setConsoleSink(on ? &discardLine : nullptr);
}

inline std::string text(const uint8_t* data, size_t size) {
    return std::string(reinterpret_cast<const char*>(data), size);
}

}  // namespace fuzz
