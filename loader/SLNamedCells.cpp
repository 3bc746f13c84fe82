#include "loader/SLNamedCells.h"

#include "simdata/SDCellName.h"

void SLNamedCells::note(std::string_view reference) {
    std::string_view name;
    long long coordinates[3];
    if (!splitCellName(reference, name, coordinates, m_scratch) || name.empty() || coordinates[0] < 0 ||
        coordinates[1] < 0 || coordinates[2] < 0) {
        return;
    }
    noteCell(name, coordinates);
}

void SLNamedCells::note(const SLCutLine::End& reference) {
    const long long* coordinates = reference.coordinates;
    if (reference.cell && !reference.model.empty() && coordinates[0] >= 0 && coordinates[1] >= 0 &&
        coordinates[2] >= 0) {
        noteCell(reference.model, coordinates);
    }
}

void SLNamedCells::noteCell(std::string_view name, const long long coordinates[3]) {
    SDCELLDevsModel* space = m_last;
    if (space == nullptr || space->name() != name) {
        auto found = m_spaces.find(name);
        if (found == m_spaces.end()) {
            auto record = std::make_unique<SDCELLDevsModel>();
            record->setName(std::string(name));
            found = m_spaces.emplace(std::string(name), std::move(record)).first;
        }
        space = found->second.get();
        m_last = space;
    }
    if (coordinates[0] < space->getWidth() && coordinates[1] < space->getHeight() &&
        coordinates[2] < space->getLength()) {
        return;
    }
    space->acceptCell(coordinates[0], coordinates[1], coordinates[2]);
}
