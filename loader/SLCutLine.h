#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "simdata/SDTime.h"

// What a log line's text says before anything is stored: its fields and, for an external or output
// message, its time, value and the two ends it names. Worked out from the text alone, so that the reader's
// thread can do it while the program stores the lines before.
struct SLCutLine {
    static constexpr int kMessageFields = 8;

    // One end of a message: the reference without its identifier, and for a cell the model's name and
    // the cell's coordinates.
    struct End {
        std::string_view reference;
        bool cell = false;
        std::string_view model;
        long long coordinates[3] = {0, 0, 0};
        uint32_t hash = 0;  // of an event's reference (SDNameTable::hashOf), for lookups ahead
    };

    int count = 0;  // fields, or kMessageFields + 1 when there are more
    std::string_view fields[kMessageFields];
    // An external or output message (X or Y, eight fields): its time, its value (0 when the field does
    // not start with a number) and whether both were numbers throughout.
    bool isEvent = false;
    SDTime time;
    double value = 0.0;
    bool numbersWhole = false;
    // The source and the destination (the third field and the last): of an event, and of an I, D or *
    // line of six to eight fields, whose cells a log names where no event does. `endsCut` says which.
    End ends[2];
    bool endsCut = false;
    // Any other line: whether it is a message (I, *, D, X, Y) with a time of three colons, and whether
    // that time is whole numbers.
    bool timed = false;
    bool wholeTime = false;
    std::string_view timeText;  // the time field of such a line

    // What lines cut one after another share: a log's lines come in runs of one time, whose text is then
    // read once, not once a line.
    class Times {
      public:
        bool isWhole(std::string_view text);
        SDTime parse(std::string_view text);

      private:
        void take(std::string_view text);

        std::string m_text;
        bool m_known = false;
        bool m_whole = false;
        bool m_parsed = false;
        SDTime m_time;
    };

    // Fills every member from `line`, which the views then point into. `scratch` is reused for texts
    // that must end in a NUL.
    void cut(const char* line, std::string& scratch);
    // The same for a line after those cut with the same `times`.
    void cut(const char* line, std::string& scratch, Times& times);

    // The event's end of a model reference: the text before its last '(' (the identifier is dropped), or
    // the whole reference when it has none.
    static std::string_view withoutIdentifier(std::string_view reference);

  private:
    void cutWith(const char* line, std::string& scratch, Times* times);
};
