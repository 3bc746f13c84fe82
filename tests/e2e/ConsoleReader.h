#pragma once

#include <map>
#include <string>
#include <vector>

#include "tests/e2e/AppSession.h"

// Reads the console's text back from screenshots of the program's window, so that end-to-end tests can
// check what the user reads. The console must sit where start-up puts it in an 800 by 600 window, with no
// message box over it.
//
// The font is whatever the machine provides, so the reader first learns it from the program itself:
// calibrate() enters two unknown commands made of every character the console can be asked to show, and
// the replies ("Unknown command: ...") give the picture of each character, the character pitch and the
// line pitch. Text is then read cell by cell, each cell taken as the learnt character it differs least from.
class ConsoleReader {
  public:
    // Types the calibration commands into the open console and learns the font. False when the replies
    // could not be found on screen.
    bool calibrate(AppSession& app);

    // The output's visible lines, top (oldest) to bottom (newest), without trailing blanks. Empty lines
    // are kept, so the list always has one entry per visible line.
    std::vector<std::string> outputLines(const Image& shot) const;

    // How many characters fit on one output line; longer lines are cut there.
    int lineCapacity() const { return m_lineCapacity; }

    // The characters that calibrate() teaches; the back-quote is missing since it toggles the console.
    static const std::string& characters();

  private:
    using Cell = std::vector<bool>;
    Cell cell(const Image& shot, int column, int baseRow) const;
    std::string readLine(const Image& shot, int baseRow) const;
    bool ink(const Image& shot, int x, int y) const;

    int m_charPitch = 0;
    int m_linePitch = 0;
    int m_lineCapacity = 0;
    int m_visibleLines = 0;
    Image::Pixel m_fill;
    std::map<char, Cell> m_glyphs;
};

// Whether `lines` holds `expected` as consecutive entries.
bool containsRun(const std::vector<std::string>& lines, const std::vector<std::string>& expected);
