#include "tests/e2e/ConsoleReader.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace {

// Where start-up puts the console's output in the 800 by 600 window, in GUI coordinates (origin bottom
// left): the text box (20, 90)-(780, 520) less its 30-pixel scroll bar; text starts 5 pixels in from its
// left and bottom edges, the newest line at the bottom.
constexpr int kTextLeft = 25;
constexpr int kTextRight = 750;
constexpr int kFirstBaseline = 95;
constexpr int kOutputTop = 520;
constexpr int kOutputBottom = 90;
// Rows of a line's cell below its baseline; the rest of the line pitch lies above it.
constexpr int kDescent = 4;

const char* const kReplyPrefix = "Unknown command: ";

}  // namespace

const std::string& ConsoleReader::characters() {
    static const std::string all = [] {
        std::string chars;
        for (char c = 33; c < 127; ++c) {
            if (c != '`') {
                chars += c;
            }
        }
        return chars;
    }();
    return all;
}

bool ConsoleReader::ink(const Image& shot, int x, int y) const {
    if (x < 0 || y < 0 || x >= shot.width || y >= shot.height) {
        return false;
    }
    const Image::Pixel p = shot.at(x, y);
    return std::abs(p.r - m_fill.r) + std::abs(p.g - m_fill.g) + std::abs(p.b - m_fill.b) > 120;
}

ConsoleReader::Cell ConsoleReader::cell(const Image& shot, int column, int baseRow) const {
    Cell bits;
    bits.reserve(static_cast<size_t>(m_linePitch * m_charPitch));
    const int left = kTextLeft + column * m_charPitch;
    for (int y = baseRow - (m_linePitch - kDescent); y < baseRow + kDescent; ++y) {
        for (int x = left; x < left + m_charPitch; ++x) {
            bits.push_back(ink(shot, x, y));
        }
    }
    return bits;
}

std::string ConsoleReader::readLine(const Image& shot, int baseRow) const {
    std::string text;
    for (int column = 0; column < m_lineCapacity; ++column) {
        const Cell seen = cell(shot, column, baseRow);
        if (std::none_of(seen.begin(), seen.end(), [](bool b) { return b; })) {
            text += ' ';
            continue;
        }
        char best = '?';
        int bestDistance = INT_MAX;
        for (const auto& [c, glyph] : m_glyphs) {
            int distance = 0;
            for (size_t i = 0; i < seen.size(); ++i) {
                distance += seen[i] != glyph[i] ? 1 : 0;
            }
            if (distance < bestDistance) {
                bestDistance = distance;
                best = c;
            }
        }
        text += best;
    }
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

bool ConsoleReader::calibrate(AppSession& app) {
    const std::string& chars = characters();
    const std::string first = chars.substr(0, chars.size() / 2);
    const std::string second = chars.substr(chars.size() / 2);
    app.command(first);
    app.command(second);
    const Image shot = app.settledScreenshot();
    if (!shot.valid()) {
        return false;
    }
    const int height = shot.height;
    m_fill = shot.at(kTextLeft + 5, height - kOutputTop + 3);

    // The newest line (the second reply) and, above the empty line printed before it, the first reply.
    // Both begin with "Unkn", so their lowest inked rows under those letters lie two line pitches apart.
    auto rowInked = [&](int y) {
        for (int x = kTextLeft; x < kTextLeft + 35; ++x) {
            if (ink(shot, x, y)) {
                return true;
            }
        }
        return false;
    };
    int y = height - kOutputBottom - 1;
    while (y > 0 && !rowInked(y)) {
        --y;
    }
    const int newestBottom = y;
    while (y > 0 && rowInked(y)) {
        --y;
    }
    while (y > 0 && !rowInked(y)) {
        --y;
    }
    const int olderBottom = y;
    if ((newestBottom - olderBottom) % 2 != 0 || newestBottom - olderBottom < 16) {
        return false;
    }
    m_linePitch = (newestBottom - olderBottom) / 2;

    // The character pitch: the newest reply's ink ends inside its last character cell. Rows below the
    // baseline are left out, since the text box's lower edge is drawn right beneath them.
    const int newestBase = height - kFirstBaseline;
    int right = kTextLeft;
    for (int row = newestBase - m_linePitch + kDescent; row <= newestBase; ++row) {
        for (int x = kTextLeft; x < kTextRight - 2; ++x) {  // short of the box's right edge
            if (ink(shot, x, row)) {
                right = std::max(right, x);
            }
        }
    }
    const std::string newest = kReplyPrefix + second;
    const std::string older = kReplyPrefix + first;
    m_charPitch = static_cast<int>((right - kTextLeft + 1) / static_cast<double>(newest.size()) + 0.5);
    if (m_charPitch < 4) {
        return false;
    }
    m_lineCapacity = (kTextRight - kTextLeft) / m_charPitch;
    const int charHeight = m_linePitch - 2;
    m_visibleLines = (kOutputTop - kFirstBaseline - charHeight) / m_linePitch + 1;

    m_glyphs.clear();
    const int olderBase = newestBase - 2 * m_linePitch;
    for (size_t i = 0; i < older.size(); ++i) {
        m_glyphs.emplace(older[i], cell(shot, static_cast<int>(i), olderBase));
    }
    for (size_t i = 0; i < newest.size(); ++i) {
        m_glyphs.emplace(newest[i], cell(shot, static_cast<int>(i), newestBase));
    }
    m_glyphs.erase(' ');
    return readLine(shot, newestBase) == newest && readLine(shot, olderBase) == older;
}

std::vector<std::string> ConsoleReader::outputLines(const Image& shot) const {
    std::vector<std::string> lines;
    if (!shot.valid() || m_linePitch == 0) {
        return lines;
    }
    for (int k = m_visibleLines - 1; k >= 0; --k) {
        lines.push_back(readLine(shot, shot.height - (kFirstBaseline + k * m_linePitch)));
    }
    return lines;
}

bool containsRun(const std::vector<std::string>& lines, const std::vector<std::string>& expected) {
    return std::search(lines.begin(), lines.end(), expected.begin(), expected.end()) != lines.end();
}
