#pragma once

#include <cstddef>
#include <string>
#include <vector>

// What vis_messages prints: the X and Y messages of the open visualization at the current time, in the
// order the log gives them, one line each:
//
//     Messages at 00:00:20:004: 2
//     electric_fire --out: 1.000000--> gunner
//     gunner --ecin: 1.000000--> fire
//
// Names are those of the events (a cell as name(r,c)), values as the port values print them. At most
// kMostListed messages are listed, then "... and N more". With a model, only the messages whose source or
// destination is that very name are counted and listed (a coupled model's own messages, not its
// children's). A name is known when the hierarchy has it or a message names it, so a cell can be given.
struct VCMessageReading {
    enum class Result { NoVisualization, NoModel, Messages };
    static constexpr size_t kMostListed = 50;

    Result result = Result::NoVisualization;
    // The lines to print, the refusals included.
    std::vector<std::string> lines;

    // An empty model lists every message of the time.
    static VCMessageReading read(const std::string& model);
};
