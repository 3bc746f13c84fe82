#include "loader/SLCadmium1Cuts.h"

#include <charconv>

#include "loader/SLDataText.h"

namespace {

bool isBlankLine(std::string_view line) {
    return line.find_first_not_of(" \t\r") == std::string_view::npos;
}

// Writes the reference of the model `id` names over the id: for a cell "<space>(x,y[,z])", which is never
// longer than the "<space>_(x,y[,z])" it was read from (no '_', and the coordinates as few digits as
// any text that reads as them); for any other model the id with brackets for its parentheses, since
// everything else reads name(...) as a cell.
std::string_view writeReference(std::string_view id, const SLCadmium1Line::CellId* cell) {
    char* const start = const_cast<char*>(id.data());
    if (cell == nullptr) {
        for (char* c = start; c != start + id.size(); ++c) {
            *c = *c == '(' ? '[' : (*c == ')' ? ']' : *c);
        }
        return id;
    }
    char* out = start + cell->space.size();
    char* const end = start + id.size();
    *out++ = '(';
    for (int axis = 0; axis < cell->dimensions; ++axis) {
        if (axis > 0) {
            *out++ = ',';
        }
        out = std::to_chars(out, end, cell->coordinates[static_cast<size_t>(axis)]).ptr;
    }
    *out++ = ')';
    return std::string_view(start, static_cast<size_t>(out - start));
}

}  // namespace

void SLCadmium1Cuts::clear() {
    m_lines.clear();
    m_ports.clear();
    m_messages.clear();
}

void SLCadmium1Cuts::cut(char* text, size_t length) {
    Line& line = m_lines.emplace_back();
    if (text == nullptr) {
        return;
    }
    cutLine(text, length, line, m_outputs);
    if (line.kind != Line::Kind::Messages || !line.outputsRead) {
        return;
    }
    line.firstPort = static_cast<uint32_t>(m_ports.size());
    line.portCount = static_cast<uint32_t>(m_outputs.ports.size());
    const auto base = static_cast<uint32_t>(m_messages.size());
    for (const SLCadmium1Line::Outputs::Port& read : m_outputs.ports) {
        m_ports.push_back(
            Port{read.name, base + static_cast<uint32_t>(read.first), static_cast<uint32_t>(read.count)});
    }
    for (const std::string_view message : m_outputs.messages) {
        Message& kept = m_messages.emplace_back();
        kept.numbered = SLDataText::number(message, 0, kept.value);
        if (!kept.numbered) {
            kept.value = 0.0;
        }
    }
}

void SLCadmium1Cuts::cutLine(char* text, size_t length, Line& line, SLCadmium1Line::Outputs& outputs) {
    const std::string_view whole(text, length);
    if (isBlankLine(whole)) {
        line.kind = Line::Kind::Blank;
        return;
    }
    if (SLCadmium1Line::readTime(whole, line.time)) {
        line.kind = Line::Kind::Time;
        return;
    }
    std::string_view first;
    std::string_view id;
    if (SLCadmium1Line::readMessageLine(whole, first, id)) {
        line.kind = Line::Kind::Messages;
        line.outputsRead = SLCadmium1Line::readOutputs(first, outputs);
    } else if (SLCadmium1Line::readStateLine(whole, id, first)) {
        line.kind = Line::Kind::State;
        line.text = first;
        line.numbered = SLDataText::number(first, 0, line.value);
    } else {
        line.kind = Line::Kind::Other;
        return;
    }
    SLCadmium1Line::CellId cell;
    line.cell = SLCadmium1Line::readCellId(id, cell);
    if (line.cell) {
        line.space = cell.space;
        line.coordinates = cell.coordinates;
        line.dimensions = cell.dimensions;
    }
    line.reference = writeReference(id, line.cell ? &cell : nullptr);
}
