#include "simdata/SDCELLDevsModel.h"

#include <algorithm>
#include <string>
#include <utility>

#include "scene/SDDetailNodeCUBE.h"
#include "shell/Log.h"

namespace {

// True when width × height × length is at most the limit; each factor is checked first so the product
// cannot overflow.
bool withinLimit(uint64_t width, uint64_t height, uint64_t length) {
    const uint64_t limit = SDCELLDevsModel::kMaxCells;
    return width <= limit && height <= limit && length <= limit && width * height <= limit &&
           width * height * length <= limit;
}

}  // namespace

SDCELLDevsModel::SDCELLDevsModel() = default;
SDCELLDevsModel::~SDCELLDevsModel() = default;

void SDCELLDevsModel::print() const {
    if (!logWanted()) {
        return;  // printed for every message of a cell: spare the comparing when no line is wanted
    }
    const std::array<unsigned, 3> counts{m_width, m_height, m_length};
    if (m_printed.lines.empty() || m_printed.name != m_name || m_printed.counts != counts ||
        m_printed.inputPorts != m_inputPorts || m_printed.outputPorts != m_outputPorts) {
        m_printed.name = m_name;
        m_printed.inputPorts = m_inputPorts;
        m_printed.outputPorts = m_outputPorts;
        m_printed.counts = counts;
        m_printed.lines.clear();
        describe(m_printed.lines);
        describeSize(m_printed.lines);
    }
    logLines(m_printed.lines);
}

bool SDCELLDevsModel::holds(const SDDevsModel& offered) const {
    if (!offered.isCellSpace()) {
        return holdsPorts(offered);
    }
    const auto& cells = static_cast<const SDCELLDevsModel&>(offered);
    // Merging would still report a size outside the model file's that no growth has reported yet.
    const bool reportDue = m_declaredDimensions != 0 && !m_outsideReported &&
                           (m_width > m_declared[0] || m_height > m_declared[1] || m_length > m_declared[2]);
    return cells.m_origin == m_origin && cells.m_width <= m_width && cells.m_height <= m_height &&
           cells.m_length <= m_length && !reportDue && holdsPorts(offered);
}

void SDCELLDevsModel::printSize() const {
    std::vector<std::string> lines;
    describeSize(lines);
    logLines(lines);
}

void SDCELLDevsModel::describeSize(std::vector<std::string>& lines) const {
    lines.emplace_back("CELL Space:");
    lines.emplace_back("Width: ").append(std::to_string(m_width));
    if (m_height > 1) {
        lines.emplace_back("Height: ").append(std::to_string(m_height));
    }
    if (m_length > 1) {
        lines.emplace_back("Length: ").append(std::to_string(m_length));
    }
    if (m_scenario != nullptr && m_scenario->wrapped >= 0) {
        lines.emplace_back(m_scenario->wrapped != 0 ? "Wrapped: yes" : "Wrapped: no");
    }
}

SDCell* SDCELLDevsModel::getCell(unsigned x, unsigned y, unsigned z) {
    if (x >= m_width || y >= m_height || z >= m_length) {
        return nullptr;
    }
    materialise();
    return &m_cells[(static_cast<size_t>(x) * m_height + y) * m_length + z];
}

void SDCELLDevsModel::ensureCell(unsigned x, unsigned y, unsigned z) {
    growToHold(x, y, z);
}

bool SDCELLDevsModel::acceptCell(long long x, long long y, long long z) {
    // Stored from the origin on. Callers pass coordinates read as ints: the subtraction cannot overflow.
    const long long stored[3] = {x - m_origin[0], y - m_origin[1], z - m_origin[2]};
    if (stored[0] < 0 || stored[1] < 0 || stored[2] < 0) {
        if (m_origin == std::array<int, 3>{}) {
            logMessage("Refused cell (%lld,%lld,%lld) of CELL model %s: negative coordinates", x, y, z,
                       m_name.c_str());
        } else {
            logMessage("Refused cell (%lld,%lld,%lld) of CELL model %s: below its first cell (%d,%d,%d)", x,
                       y, z, m_name.c_str(), m_origin[0], m_origin[1], m_origin[2]);
        }
        return false;
    }
    return growToHold(static_cast<uint64_t>(stored[0]), static_cast<uint64_t>(stored[1]),
                      static_cast<uint64_t>(stored[2]));
}

bool SDCELLDevsModel::growToHold(uint64_t x, uint64_t y, uint64_t z) {
    // x + 1 cannot wrap: the coordinates come from unsigned or non-negative long long values.
    const uint64_t width = std::max<uint64_t>(m_width, x + 1);
    const uint64_t height = std::max<uint64_t>(m_height, y + 1);
    const uint64_t length = std::max<uint64_t>(m_length, z + 1);
    if (!withinLimit(width, height, length)) {
        // Named as the run names it: the stored index plus the origin.
        logMessage("Refused cell (%lld,%lld,%lld) of CELL model %s: more than %llu cells",
                   static_cast<long long>(x) + m_origin[0], static_cast<long long>(y) + m_origin[1],
                   static_cast<long long>(z) + m_origin[2], m_name.c_str(),
                   static_cast<unsigned long long>(kMaxCells));
        return false;
    }
    const std::array<unsigned, 3> cell{static_cast<unsigned>(x), static_cast<unsigned>(y),
                                       static_cast<unsigned>(z)};
    const uint64_t counts[3] = {width, height, length};
    const unsigned current[3] = {m_width, m_height, m_length};
    for (int axis = 0; axis < 3; ++axis) {
        if (counts[axis] > current[axis]) {
            m_reach[axis] = cell;
        }
    }
    resize(static_cast<unsigned>(width), static_cast<unsigned>(height), static_cast<unsigned>(length));
    reportOutsideDeclared();
    return true;
}

bool SDCELLDevsModel::growTo(const SDCELLDevsModel* other) {
    if (other == nullptr) {
        return false;
    }
    const unsigned width = std::max(m_width, other->m_width);
    const unsigned height = std::max(m_height, other->m_height);
    const unsigned length = std::max(m_length, other->m_length);
    if (!withinLimit(width, height, length)) {
        logMessage("Refused growing CELL model %s to %u x %u x %u cells: more than %llu cells",
                   m_name.c_str(), width, height, length, static_cast<unsigned long long>(kMaxCells));
        return false;
    }
    const unsigned theirs[3] = {other->m_width, other->m_height, other->m_length};
    const unsigned mine[3] = {m_width, m_height, m_length};
    for (int axis = 0; axis < 3; ++axis) {
        if (theirs[axis] > mine[axis]) {
            m_reach[axis] = other->m_reach[axis];
        }
    }
    resize(width, height, length);
    reportOutsideDeclared();
    return true;
}

void SDCELLDevsModel::resize(unsigned width, unsigned height, unsigned length) {
    if (width == m_width && height == m_height && length == m_length) {
        return;
    }
    if (!m_cells.empty()) {
        const size_t total = static_cast<size_t>(width) * height * length;
        if (height == m_height && length == m_length) {
            // New planes go behind the existing ones, x being outermost.
            m_cells.resize(total);
        } else {
            std::vector<SDCell> grown(total);
            size_t from = 0;
            for (unsigned x = 0; x < m_width; ++x) {
                for (unsigned y = 0; y < m_height; ++y) {
                    size_t to = (static_cast<size_t>(x) * height + y) * length;
                    for (unsigned z = 0; z < m_length; ++z) {
                        grown[to++] = std::move(m_cells[from++]);
                    }
                }
            }
            m_cells.swap(grown);
        }
    }
    m_width = width;
    m_height = height;
    m_length = length;
}

void SDCELLDevsModel::materialise() {
    if (m_cells.empty()) {
        m_cells.resize(static_cast<size_t>(m_width) * m_height * m_length);
    }
}

void SDCELLDevsModel::arrange(const Vector3& centre, float extentX, float extentY, float extentZ) {
    // NaN is refused along with zero and negative edges: it would put every cube nowhere.
    if (!(extentX > 0.0f) || !(extentY > 0.0f) || !(extentZ > 0.0f)) {
        logMessage("Negative dimensions sent to arrange a CELL model: { %.3f, %.3f, %.3f }",
                   static_cast<double>(extentX), static_cast<double>(extentY), static_cast<double>(extentZ));
        return;
    }
    m_centre = centre;
    m_extent = Vector3(extentX, extentY, extentZ);
    materialise();
    const Vector3 start(centre.x - extentX / 2.0f, centre.y - extentY / 2.0f, centre.z - extentZ / 2.0f);
    const Vector3 step(extentX / static_cast<float>(m_width), extentY / static_cast<float>(m_height),
                       extentZ / static_cast<float>(m_length));
    // The position advances by adding steps, which is how the cells have always been laid out.
    Vector3 position = start;
    size_t index = 0;
    for (unsigned x = 0; x < m_width; ++x) {
        position.y = start.y;
        for (unsigned y = 0; y < m_height; ++y) {
            position.z = start.z;
            for (unsigned z = 0; z < m_length; ++z) {
                SDDetailNodeCUBE* cube = m_cells[index++].getCube();
                cube->setPosition(position);
                cube->setSize(0.5f);
                position.z += step.z;
            }
            position.y += step.y;
        }
        position.x += step.x;
    }
}

void SDCELLDevsModel::drawCells() {
    materialise();
    for (SDCell& cell : m_cells) {
        cell.getCube()->drawIfShown();
    }
}

SDCellValues& SDCELLDevsModel::getValues() {
    m_values.setInitial(m_initial.get());
    m_values.resize(m_width, m_height, m_length);
    return m_values;
}

SDCellLook& SDCELLDevsModel::getLook() {
    if (!m_look) {
        m_look = std::make_unique<SDCellLook>();
    }
    return *m_look;
}

void SDCELLDevsModel::reuseAsCell(std::string_view name) {
    reuseAs(name);
    m_cells.clear();
    m_width = m_height = m_length = 1;
    m_reach = {};
}

void SDCELLDevsModel::initFrom(const SDDevsModel* plain) {
    if (plain == nullptr) {
        return;
    }
    m_name = plain->getName();
    m_tag = plain->getTag();
    mergePorts(plain);
}

bool SDCELLDevsModel::declareSize(unsigned width, unsigned height, unsigned length, int dimensions) {
    if (width == 0 || height == 0 || length == 0 || !withinLimit(width, height, length)) {
        logMessage("Refused the declared size %u x %u x %u of CELL model %s: more than %llu cells", width,
                   height, length, m_name.c_str(), static_cast<unsigned long long>(kMaxCells));
        return false;
    }
    const unsigned grownWidth = std::max(m_width, width);
    const unsigned grownHeight = std::max(m_height, height);
    const unsigned grownLength = std::max(m_length, length);
    if (!withinLimit(grownWidth, grownHeight, grownLength)) {
        logMessage("Refused growing CELL model %s to %u x %u x %u cells: more than %llu cells",
                   m_name.c_str(), grownWidth, grownHeight, grownLength,
                   static_cast<unsigned long long>(kMaxCells));
        return false;
    }
    m_declared = {width, height, length};
    m_declaredDimensions = dimensions;
    resize(grownWidth, grownHeight, grownLength);
    reportOutsideDeclared();
    return true;
}

void SDCELLDevsModel::reportOutsideDeclared() {
    if (m_declaredDimensions == 0 || m_outsideReported) {
        return;
    }
    const unsigned counts[3] = {m_width, m_height, m_length};
    for (int axis = 0; axis < 3; ++axis) {
        if (counts[axis] <= m_declared[axis]) {
            continue;
        }
        const std::array<unsigned, 3>& cell = m_reach[axis];
        // As many coordinates as the file gives, and a third one when the cell has it.
        const int shown = cell[2] != 0 ? 3 : m_declaredDimensions;
        std::string text = m_name + "(";
        std::string size;
        for (int i = 0; i < shown; ++i) {
            text += (i > 0 ? "," : "") + std::to_string(static_cast<long long>(cell[i]) + m_origin[i]);
        }
        for (int i = 0; i < m_declaredDimensions; ++i) {
            size += (i > 0 ? "x" : "") + std::to_string(m_declared[i]);
        }
        logText(text + ") lies outside the model file's " + size);
        m_outsideReported = true;
        return;
    }
}

void SDCELLDevsModel::setInitialValues(std::unique_ptr<SDInitialValues> initial) {
    m_initial = std::move(initial);
    // The values must not be left reading the table just let go; they take the new one for the cells
    // cleared from now on (the time cursor clears them all, seeing the new revision).
    m_values.setInitial(m_initial.get());
    ++m_initialRevision;
}

void SDCELLDevsModel::setScenario(std::unique_ptr<SDScenarioStates> states) {
    m_scenario = std::move(states);
    m_printed.lines.clear();  // the size's lines may say more now
}

bool SDCELLDevsModel::initialValue(unsigned x, unsigned y, unsigned z, double& value) const {
    return m_initial != nullptr && m_initial->at(x, y, z, value);
}
