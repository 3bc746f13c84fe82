#pragma once

#include <string_view>

// One message line of a simulator's log, as the loader reads it, for what the events leave out: every kind
// of line (I, *, D as well as X and Y), so that the models' hierarchy, their activity and their scheduled
// events can be known. The texts view into the loader's line and live for the call that hands them over.
//
// An I, * or D line that names a cell (name(x,y..)) is handed over without its time and delay (both 0): it
// passes between a cell and its space, and a run has millions of them.
struct SDLogMessage {
    enum class Kind : char {
        Init = 'I',      // parent to child, at the start
        Internal = '*',  // parent to child: the child's internal transition
        Done = 'D',      // child to parent: the child is done, with the time to its next event
        External = 'X',  // parent to child, on the child's input port
        Output = 'Y',    // child to parent, on the child's output port
    };

    Kind kind = Kind::Init;
    double time = 0.0;        // milliseconds
    std::string_view source;  // model references without their identifiers: "top", "life(3,4)"
    std::string_view destination;
    std::string_view port;  // X and Y only
    double value = 0.0;     // X and Y only
    double delay = 0.0;     // D only: milliseconds to the next event, unless passive
    bool passive = false;   // D only: "..." in place of the delay

    // The ends as parent and child: I, *, and X go down the hierarchy, D and Y go up.
    bool goesDown() const { return kind == Kind::Init || kind == Kind::Internal || kind == Kind::External; }
    std::string_view parent() const { return goesDown() ? source : destination; }
    std::string_view child() const { return goesDown() ? destination : source; }

    // A cell's reference ends with its coordinates: "life(3,4)".
    static bool isCell(std::string_view reference) { return !reference.empty() && reference.back() == ')'; }
    bool namesCell() const { return isCell(source) || isCell(destination); }
};
