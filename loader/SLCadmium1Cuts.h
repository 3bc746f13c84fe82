#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "loader/SLCadmium1Line.h"
#include "loader/SLLineCuts.h"

// The lines of a batch of a Cadmium 1 message or state file read as far as the line alone tells, on the
// line reader's thread (see SLCadmium1Line): what kind of line each is, its time, its model, its state's
// text and number, its messages' numbers. The model's reference ("life(3,4)", or a plain model's id with
// brackets for its parentheses) is written over the id in the line itself, which is never longer.
class SLCadmium1Cuts : public SLLineCuts {
  public:
    struct Message {
        double value = 0.0;  // the message's first number, 0 without
        bool numbered = false;
    };
    struct Port {
        std::string_view name;  // the short name
        uint32_t first = 0;     // its messages in messages()
        uint32_t count = 0;
    };
    struct Line {
        enum class Kind : uint8_t { Blank, Time, Messages, State, Other };
        Kind kind = Kind::Other;
        double time = 0.0;  // a time line's milliseconds
        // A message or state line's model: its reference and, for a cell, its space and coordinates.
        std::string_view reference;
        bool cell = false;
        int dimensions = 0;
        std::string_view space;
        std::array<int, 3> coordinates{};
        // A state line's text and its first number.
        std::string_view text;
        bool numbered = false;
        double value = 0.0;
        // A message line: whether its list of outputs reads, and its ports in ports().
        bool outputsRead = false;
        uint32_t firstPort = 0;
        uint32_t portCount = 0;
    };

    void clear() override;
    void cut(char* text, size_t length) override;

    const Line& line(size_t index) const { return m_lines[index]; }
    const Port& port(size_t index) const { return m_ports[index]; }
    const Message& message(size_t index) const { return m_messages[index]; }

    // Reads one line into `line` (the outputs of a message line into `outputs`) and writes the model's
    // reference over its id.
    static void cutLine(char* text, size_t length, Line& line, SLCadmium1Line::Outputs& outputs);

  private:
    std::vector<Line> m_lines;
    std::vector<Port> m_ports;
    std::vector<Message> m_messages;
    SLCadmium1Line::Outputs m_outputs;  // reused for every message line
};
