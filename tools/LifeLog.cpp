#include "tools/LifeLog.h"

#include <cmath>
#include <cstdio>
#include <utility>
#include <vector>

namespace {

constexpr long long kGenerationMs = 100;

int wrap(int value, int size) {
    int r = value % size;
    return r < 0 ? r + size : r;
}

bool validBoard(int width, int height, int generations, std::string* why) {
    auto fail = [why](const char* text) {
        if (why != nullptr) {
            *why = text;
        }
        return false;
    };
    if (width < kLifeLogMinSide || height < kLifeLogMinSide) {
        return fail("width and height must be at least 3");
    }
    if (static_cast<long long>(width) * height > kLifeLogMaxCells) {
        return fail("the board may have at most 16777216 cells");
    }
    if (generations < 1 || generations > kLifeLogMaxGenerations) {
        return fail("generations must be between 1 and 1000000");
    }
    return true;
}

}  // namespace

std::string formatLogTime(long long milliseconds) {
    if (milliseconds < 0) {
        milliseconds = 0;
    }
    char text[48];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld:%03lld", milliseconds / 3600000,
                  milliseconds / 60000 % 60, milliseconds / 1000 % 60, milliseconds % 1000);
    return text;
}

std::string lifeCellReference(int x, int y, int height) {
    char text[64];
    const long long id = 3 + static_cast<long long>(x) * height + y;
    std::snprintf(text, sizeof text, "life(%d,%d)(%02lld)", x, y, id);
    return text;
}

bool LifeLogWriter::write(const LifeGrid& initial, int generations) {
    if (!validBoard(initial.width(), initial.height(), generations, nullptr)) {
        return false;
    }
    m_summary = LifeLogSummary();
    m_lines.resetCount();
    const std::string zero = formatLogTime(0);
    // The delay to the next event, or "..." when the model has gone passive.
    const std::string firstNext = initial.population() > 0 ? formatLogTime(kGenerationMs) : "...";
    m_lines.line("msg I / %s / Root(00) to top(01)", zero.c_str());
    m_lines.line("msg I / %s / top(01) to life(02)", zero.c_str());
    m_lines.line("msg D / %s / life(02) / %s to top(01)", zero.c_str(), firstNext.c_str());
    m_lines.line("msg D / %s / top(01) / %s to Root(00)", zero.c_str(), firstNext.c_str());

    LifeGrid before(initial.width(), initial.height());
    LifeGrid current = initial;
    for (int g = 1; g <= generations && current != before; ++g) {
        const bool last = g == generations;
        LifeGrid next = last ? current : current.step();
        const bool more = !last && next != current;
        writeGeneration(before, current, g * kGenerationMs, more);
        before = std::move(current);
        current = std::move(next);
    }
    m_summary.lines = m_lines.count();
    return m_lines.good();
}

void LifeLogWriter::writeGeneration(const LifeGrid& before, const LifeGrid& after, long long time,
                                    bool more) {
    const std::string now = formatLogTime(time);
    const char* t = now.c_str();
    const int width = after.width();
    const int height = after.height();
    m_lines.line("msg * / %s / Root(00) to top(01)", t);
    m_lines.line("msg * / %s / top(01) to life(02)", t);

    std::vector<std::pair<int, int>> changed;
    for (int x = 0; x < width; ++x) {
        for (int y = 0; y < height; ++y) {
            if (before.alive(x, y) != after.alive(x, y)) {
                changed.emplace_back(x, y);
            }
        }
    }
    for (const auto& [x, y] : changed) {
        const std::string cell = lifeCellReference(x, y, height);
        const double value = after.alive(x, y) ? 1.0 : 0.0;
        m_lines.line("msg Y / %s / %s / out / %12.5f to life(02)", t, cell.c_str(), value);
        m_lines.line("msg D / %s / %s / ... to life(02)", t, cell.c_str());
        ++m_summary.outputMessages;
    }
    for (const auto& [x, y] : changed) {
        const double value = after.alive(x, y) ? 1.0 : 0.0;
        for (int dx = -1; dx <= 1; ++dx) {
            for (int dy = -1; dy <= 1; ++dy) {
                if (dx == 0 && dy == 0) {
                    continue;
                }
                const std::string neighbour =
                    lifeCellReference(wrap(x + dx, width), wrap(y + dy, height), height);
                m_lines.line("msg X / %s / life(02) / neighborchange / %12.5f to %s", t, value,
                             neighbour.c_str());
                ++m_summary.externalMessages;
            }
        }
    }

    const std::string next = more ? formatLogTime(kGenerationMs) : "...";
    m_lines.line("msg D / %s / life(02) / %s to top(01)", t, next.c_str());
    m_lines.line("msg D / %s / top(01) / %s to Root(00)", t, next.c_str());
    ++m_summary.generations;
}

bool validLifeLogOptions(const LifeLogOptions& options, std::string* why) {
    if (!validBoard(options.width, options.height, options.generations, why)) {
        return false;
    }
    if (!std::isfinite(options.density) || options.density < 0.0 || options.density > 1.0) {
        if (why != nullptr) {
            *why = "density must be between 0 and 1";
        }
        return false;
    }
    return true;
}

bool writeLifeLog(const LifeLogOptions& options, std::ostream& out, LifeLogSummary* summary) {
    if (!validLifeLogOptions(options)) {
        return false;
    }
    LifeLogWriter writer(out);
    const bool written = writer.write(
        LifeGrid::random(options.width, options.height, options.density, options.seed), options.generations);
    if (summary != nullptr) {
        *summary = writer.summary();
    }
    return written;
}
