#include "tools/HeatLog.h"

#include <cmath>
#include <cstdio>

#include "tools/LifeGrid.h"
#include "tools/LifeLog.h"
#include "tools/LogLineWriter.h"

namespace {

constexpr long long kStepMs = 100;

class HeatLogWriter {
  public:
    HeatLogWriter(const HeatLogOptions& options, std::ostream& out)
        : m_options(options), m_lines(out), m_field(heatFieldAtStart(options)) {
        m_lastSent.assign(m_field.cellCount(), kHeatAmbient);
        m_everSent.assign(m_field.cellCount(), 0);
        m_space = options.name + "(02)";
    }

    bool write() {
        const std::string zero = formatLogTime(0);
        m_lines.line("msg I / %s / Root(00) to top(01)", zero.c_str());
        m_lines.line("msg I / %s / top(01) to %s", zero.c_str(), m_space.c_str());
        for (int step = 0; step <= m_options.steps; ++step) {
            for (int i = 0; step > 0 && i < m_options.substeps; ++i) {
                m_field.step();
            }
            writeStep(step);
        }
        m_summary.lines = m_lines.count();
        return m_lines.good();
    }

    const HeatLogSummary& summary() const { return m_summary; }

  private:
    std::string reference(size_t cell) const {
        int x = 0;
        int y = 0;
        int z = 0;
        m_field.coordinates(cell, x, y, z);
        return heatCellReference(m_options, x, y, z);
    }

    void writeStep(int step) {
        const std::string now = formatLogTime(step * kStepMs);
        const char* t = now.c_str();
        const char* space = m_space.c_str();
        m_lines.line("msg * / %s / Root(00) to top(01)", t);
        m_lines.line("msg * / %s / top(01) to %s", t, space);

        m_reporting.clear();
        for (size_t cell = 0; cell < m_field.cellCount(); ++cell) {
            if (std::fabs(m_field.temperature(cell) - m_lastSent[cell]) >= m_options.quantum) {
                m_reporting.push_back(cell);
            }
        }
        for (size_t cell : m_reporting) {
            const std::string self = reference(cell);
            const double value = m_field.temperature(cell);
            m_lines.line("msg Y / %s / %s / out / %12.5f to %s", t, self.c_str(), value, space);
            m_lines.line("msg D / %s / %s / ... to %s", t, self.c_str(), space);
            m_lastSent[cell] = value;
            ++m_summary.outputMessages;
            if (m_everSent[cell] == 0) {
                m_everSent[cell] = 1;
                ++m_summary.cellsReported;
            }
        }
        if (m_options.neighbours) {
            size_t around[6];
            for (size_t cell : m_reporting) {
                const double value = m_field.temperature(cell);
                const int count = m_field.neighbours(cell, around);
                for (int i = 0; i < count; ++i) {
                    const std::string neighbour = reference(around[i]);
                    m_lines.line("msg X / %s / %s / neighborchange / %12.5f to %s", t, space, value,
                                 neighbour.c_str());
                    ++m_summary.externalMessages;
                }
            }
        }
        const std::string next = step < m_options.steps ? formatLogTime(kStepMs) : "...";
        m_lines.line("msg D / %s / %s / %s to top(01)", t, space, next.c_str());
        m_lines.line("msg D / %s / top(01) / %s to Root(00)", t, next.c_str());
    }

    const HeatLogOptions& m_options;
    LogLineWriter m_lines;
    HeatField m_field;
    std::string m_space;
    std::vector<double> m_lastSent;
    std::vector<uint8_t> m_everSent;
    std::vector<size_t> m_reporting;
    HeatLogSummary m_summary;
};

}  // namespace

bool validHeatLogOptions(const HeatLogOptions& options, std::string* why) {
    auto fail = [why](const char* text) {
        if (why != nullptr) {
            *why = text;
        }
        return false;
    };
    if (options.width < 1 || options.height < 1 || options.depth < 1) {
        return fail("every side must be at least 1 cell");
    }
    if (static_cast<long long>(options.width) * options.height * options.depth > kHeatLogMaxCells) {
        return fail("the box may have at most 16777216 cells");
    }
    if (options.depth > 1 && !options.threeD) {
        return fail("a plane has a depth of 1");
    }
    if (options.steps < 0 || options.steps > kHeatLogMaxSteps) {
        return fail("steps must be between 0 and 1000000");
    }
    if (options.substeps < 1 || options.substeps > kHeatLogMaxSubsteps) {
        return fail("substeps must be between 1 and 10000");
    }
    if (options.sources < 0 || options.sources > 1000000) {
        return fail("sources must be between 0 and 1000000");
    }
    if (!std::isfinite(options.quantum) || options.quantum <= 0.0) {
        return fail("quantum must be a number above 0");
    }
    // The name goes into every reference; the importer cuts at spaces, '/' and the reference's brackets.
    if (options.name.empty() || options.name.size() > 64 ||
        options.name.find_first_of(" /()\t\r\n,") != std::string::npos) {
        return fail("name must be a word of up to 64 characters without spaces, '/', ',' or brackets");
    }
    return true;
}

HeatField heatFieldAtStart(const HeatLogOptions& options) {
    HeatField field(options.width, options.height, options.depth, kHeatAmbient);
    // The corners, hot and cold in turn like a chequerboard's, so that every run spans the whole box.
    const int xs[2] = {0, field.width() - 1};
    const int ys[2] = {0, field.height() - 1};
    const int zs[2] = {0, field.depth() - 1};
    for (int i = 0; i < 2; ++i) {
        for (int j = 0; j < 2; ++j) {
            for (int k = 0; k < 2; ++k) {
                field.addSource(xs[i], ys[j], zs[k], (i + j + k) % 2 == 0 ? kHeatHot : kHeatCold);
            }
        }
    }
    LifeRandom random(options.seed);
    for (int s = 0; s < options.sources; ++s) {
        const int x = static_cast<int>(random.next() % static_cast<uint64_t>(field.width()));
        const int y = static_cast<int>(random.next() % static_cast<uint64_t>(field.height()));
        const int z = static_cast<int>(random.next() % static_cast<uint64_t>(field.depth()));
        field.addSource(x, y, z, s % 2 == 0 ? kHeatHot : kHeatCold);
    }
    return field;
}

std::string heatCellReference(const HeatLogOptions& options, int x, int y, int z) {
    const long long id =
        3 + (static_cast<long long>(x) * options.height + y) * static_cast<long long>(options.depth) + z;
    char text[128];
    if (options.threeD) {
        std::snprintf(text, sizeof text, "(%d,%d,%d)(%02lld)", x, y, z, id);
    } else {
        std::snprintf(text, sizeof text, "(%d,%d)(%02lld)", x, y, id);
    }
    return options.name + text;
}

bool writeHeatLog(const HeatLogOptions& options, std::ostream& out, HeatLogSummary* summary) {
    if (!validHeatLogOptions(options)) {
        return false;
    }
    HeatLogWriter writer(options, out);
    const bool written = writer.write();
    if (summary != nullptr) {
        *summary = writer.summary();
    }
    return written;
}
