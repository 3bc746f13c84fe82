#include "tools/CadmiumCsvLog.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tools/HeatField.h"
#include "tools/LogLineWriter.h"

namespace {

constexpr double kStepSeconds = 0.1;

class CadmiumCsvWriter {
  public:
    CadmiumCsvWriter(const CadmiumCsvOptions& options, std::ostream& out)
        : m_options(options), m_lines(out), m_field(heatFieldAtStart(options.field)) {
        m_lastSent.assign(m_field.cellCount(), 0.0);
        m_sep = options.separator;
        m_names.resize(m_field.cellCount());
        for (size_t cell = 0; cell < m_field.cellCount(); ++cell) {
            int x = 0;
            int y = 0;
            int z = 0;
            m_field.coordinates(cell, x, y, z);
            m_names[cell] =
                "(" + std::to_string(x + options.origin[0]) + ',' + std::to_string(y + options.origin[1]);
            if (options.field.threeD) {
                m_names[cell] += ',' + std::to_string(z + options.origin[2]);
            }
            m_names[cell] += ")";
        }
    }

    bool write() {
        const char s = m_sep;
        if (m_options.separatorLine) {
            m_lines.line("sep=%c", s);
        }
        m_lines.line("time%cmodel_id%cmodel_name%cport_name%cdata", s, s, s, s);
        writeStates("0", false);
        const int steps = m_options.field.steps;
        for (int step = 1; step <= steps; ++step) {
            for (int i = 0; i < m_options.field.substeps; ++i) {
                m_field.step();
            }
            char time[32];
            std::snprintf(time, sizeof time, "%g", step * kStepSeconds);
            m_lines.line("%s%c0%cstepper%ctick%c%d", time, s, s, s, s, step);
            ++m_summary.outputRows;
            m_lines.line("%s%c0%cstepper%c%c{step: %d}", time, s, s, s, s, step);
            ++m_summary.stateRows;
            for (size_t cell = 0; cell < m_field.cellCount(); ++cell) {
                const double value = m_field.temperature(cell);
                if (std::fabs(value - m_lastSent[cell]) < m_options.field.quantum) {
                    continue;
                }
                m_lastSent[cell] = value;
                m_lines.line("%s%c%zu%c%s%cout%c%.6g", time, s, cell + 1, s, m_names[cell].c_str(), s, s,
                             value);
                ++m_summary.outputRows;
                writeState(time, cell);
            }
        }
        if (steps > 0) {
            char time[32];
            std::snprintf(time, sizeof time, "%g", steps * kStepSeconds);
            writeStates(time, true);
        }
        m_summary.lines = m_lines.count();
        return m_lines.good();
    }

    const CadmiumCsvSummary& summary() const { return m_summary; }

  private:
    void writeState(const char* time, size_t cell) {
        const char s = m_sep;
        m_lines.line("%s%c%zu%c%s%c%c{temperature: %.6g, source: %d}", time, s, cell + 1, s,
                     m_names[cell].c_str(), s, s, m_field.temperature(cell), m_field.isSource(cell) ? 1 : 0);
        ++m_summary.stateRows;
    }

    void writeStates(const char* time, bool end) {
        const char s = m_sep;
        m_lines.line("%s%c0%cstepper%c%c{step: %d}", time, s, s, s, s, end ? m_options.field.steps : 0);
        ++m_summary.stateRows;
        for (size_t cell = 0; cell < m_field.cellCount(); ++cell) {
            m_lastSent[cell] = m_field.temperature(cell);
            writeState(time, cell);
        }
    }

    const CadmiumCsvOptions& m_options;
    LogLineWriter m_lines;
    HeatField m_field;
    char m_sep;
    std::vector<std::string> m_names;
    std::vector<double> m_lastSent;
    CadmiumCsvSummary m_summary;
};

}  // namespace

bool validCadmiumCsvOptions(const CadmiumCsvOptions& options, std::string* why) {
    HeatLogOptions field = options.field;
    field.name = "heat";
    if (!validHeatLogOptions(field, why)) {
        return false;
    }
    const char s = options.separator;
    if (s == '\0' || s == '\n' || s == '\r' || s == '-' || s == '.' || (s >= '0' && s <= '9') || s == '(' ||
        s == ')' || s == '{' || s == '}') {
        if (why != nullptr) {
            *why = "the separator must be one character that no number, name or state holds";
        }
        return false;
    }
    for (int axis = 0; axis < 3; ++axis) {
        if (std::abs(options.origin[axis]) > 1000000) {
            if (why != nullptr) {
                *why = "the origin's coordinates must lie between -1000000 and 1000000";
            }
            return false;
        }
    }
    return true;
}

bool writeCadmiumCsvLog(const CadmiumCsvOptions& options, std::ostream& out, CadmiumCsvSummary* summary) {
    if (!validCadmiumCsvOptions(options)) {
        return false;
    }
    CadmiumCsvWriter writer(options, out);
    const bool written = writer.write();
    if (summary != nullptr) {
        *summary = writer.summary();
    }
    return written;
}
