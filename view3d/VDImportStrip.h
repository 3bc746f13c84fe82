#pragma once

#include <string>

#include "control/VCImportProgress.h"
#include "gui/VDWindow.h"

// What the button strip shows while a log import runs, in place of its buttons: a bar filled as far as
// the file is read, and over it the progress text ("Importing <file>: 43 % (540,000 lines)").
class VDImportStrip {
  public:
    // The bar's colours: its filled part, and the rest.
    static constexpr float kFilled[3] = {0.15f, 0.45f, 0.8f};
    static constexpr float kEmpty[3] = {0.22f, 0.22f, 0.22f};
    // Between the strip's edge and the bar, and between the bar's edge and the text.
    static constexpr float kMargin = 5.0f;
    static constexpr float kTextIndent = 6.0f;

    VDImportStrip(const VDRect& strip, const VCImportProgress& progress)
        : m_strip(strip), m_progress(progress) {}

    VDRect barRectangle() const;
    // The part of the bar that is filled.
    VDRect filledRectangle() const;
    // The progress text, shortened to at most `characters` characters by leaving out the start of the
    // file's name (shown as "..."): the end of a path says most about it.
    std::string fittedText(int characters) const;

    // Covers the strip and draws the bar and the text in the current theme's font, in the 2D pass.
    void draw() const;

  private:
    VDRect m_strip;
    VCImportProgress m_progress;
};
