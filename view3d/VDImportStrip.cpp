#include "view3d/VDImportStrip.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "gui/VDBitmapFont.h"
#include "gui/VDDefaultTheme.h"
#include "gui/VDThemeStore.h"
#include "gui/VDUtf8.h"

namespace {

void fill(const VDRect& r) {
    glBegin(GL_QUADS);
    glVertex2f(r.getX1(), r.getY1());
    glVertex2f(r.getX2(), r.getY1());
    glVertex2f(r.getX2(), r.getY2());
    glVertex2f(r.getX1(), r.getY2());
    glEnd();
}

}  // namespace

VDRect VDImportStrip::barRectangle() const {
    return VDRect(m_strip.getX1() + kMargin, m_strip.getY1() + kMargin, m_strip.getX2() - kMargin,
                  m_strip.getY2() - kMargin);
}

VDRect VDImportStrip::filledRectangle() const {
    const VDRect bar = barRectangle();
    const float width = std::floor(bar.getWidth() * static_cast<float>(m_progress.fraction()));
    return VDRect(bar.getX1(), bar.getY1(), bar.getX1() + width, bar.getY2());
}

std::string VDImportStrip::fittedText(int characters) const {
    std::string text = m_progress.text();
    const size_t length = VDUtf8::length(text);
    if (length <= static_cast<size_t>(std::max(characters, 0))) {
        return text;
    }
    // Only the name gives way: the numbers are the point.
    const size_t excess = length - static_cast<size_t>(std::max(characters, 0));
    const std::string& name = m_progress.fileName;
    const size_t nameLength = VDUtf8::length(name);
    const std::string ellipsis = "...";
    if (nameLength < excess + ellipsis.size()) {
        VCImportProgress nameless = m_progress;
        nameless.fileName = ellipsis;
        return nameless.text();
    }
    VCImportProgress shortened = m_progress;
    shortened.fileName = ellipsis + VDUtf8::tail(name, nameLength - excess - ellipsis.size());
    return shortened.text();
}

void VDImportStrip::draw() const {
    glColor4f(0.12f, 0.12f, 0.12f, 1.0f);
    fill(m_strip);
    const VDRect bar = barRectangle();
    glColor4f(kEmpty[0], kEmpty[1], kEmpty[2], 1.0f);
    fill(bar);
    const VDRect filled = filledRectangle();
    if (filled.getWidth() > 0.0f) {
        glColor4f(kFilled[0], kFilled[1], kFilled[2], 1.0f);
        fill(filled);
    }

    const auto* theme = dynamic_cast<const VDDefaultTheme*>(currentTheme());
    const VDBitmapFont* font = theme != nullptr ? theme->getTextFont() : nullptr;
    if (font == nullptr || theme->getCharWidth() <= 0.0f) {
        return;
    }
    const int room = static_cast<int>((bar.getWidth() - 2.0f * kTextIndent) / theme->getCharWidth());
    const float baseline = bar.getY1() + std::floor((bar.getHeight() - theme->getCharHeight()) / 2.0f) + 2.0f;
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    drawText(font, static_cast<int>(bar.getX1() + kTextIndent), static_cast<int>(baseline), fittedText(room));
}
