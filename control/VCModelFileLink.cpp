#include "control/VCModelFileLink.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <utility>

#include "control/VCPalette.h"
#include "loader/SLDeclarationFile.h"
#include "shell/Log.h"
#include "shell/LogFormat.h"
#include "simdata/SDCELLDevsModel.h"
#include "simdata/SDCouplings.h"
#include "simdata/SDDevsModelList.h"
#include "simdata/SDModelDeclaration.h"

namespace {

std::string number(double value) {
    return numberText(value);
}

std::string counted(size_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

// The Cell-DEVS record of that name, registered (and printed) when the name is new; a plain record of the
// name is replaced by one that keeps its name, tag and ports.
SDCELLDevsModel* cellSpaceNamed(SDDevsModelList& registry, const std::string& name) {
    SDDevsModel* existing = registry.findModel(name);
    if (auto* cells = dynamic_cast<SDCELLDevsModel*>(existing)) {
        return cells;
    }
    auto space = std::make_unique<SDCELLDevsModel>();
    if (existing != nullptr) {
        space->initFrom(existing);
        registry.takeModel(name);
    } else {
        space->setName(name);
    }
    SDCELLDevsModel* registered = space.get();
    if (!registry.addModel(registered)) {
        return nullptr;  // cannot happen: the name is not empty and is free
    }
    space.release();  // the registry owns it now
    return registered;
}

}  // namespace

VCModelFileLink::VCModelFileLink(SDDevsModelList& models, SDCouplings& couplings)
    : m_models(models), m_couplings(couplings) {}

VCModelFileLink::~VCModelFileLink() = default;

bool VCModelFileLink::load(const std::string& path) {
    if (!begin(path)) {
        return false;
    }
    while (readLines(SIZE_MAX)) {
    }
    finish();
    return true;
}

bool VCModelFileLink::begin(const std::string& path) {
    m_declared = 0;
    m_path = path;
    m_file = openDeclarationFile(this, path);
    if (!m_file->open()) {
        noteErrors();
        m_file.reset();
        return false;
    }
    m_failure.clear();
    return true;
}

bool VCModelFileLink::readLines(size_t count) {
    return m_file != nullptr && m_file->readLines(count);
}

void VCModelFileLink::finish() {
    if (m_file == nullptr) {
        return;
    }
    m_file->finish();
    noteErrors();
    std::string summary =
        std::string(m_file->kind()) + " " + m_path + " read: " + counted(m_declared, "model", "models");
    if (m_skipped > 0) {
        summary += ", " + counted(m_skipped, "line", "lines") + " skipped";
    }
    m_file.reset();
    logText(summary);
}

void VCModelFileLink::stop() {
    if (m_file == nullptr) {
        return;
    }
    noteErrors();
    m_file.reset();
}

void VCModelFileLink::noteErrors() {
    m_failure = m_file->getFailure();
    m_errors = m_file->getErrors();
    m_skipped = m_file->getSkipped();
}

long long VCModelFileLink::linesRead() const {
    return m_file != nullptr ? m_file->linesRead() : 0;
}

uint64_t VCModelFileLink::bytesRead() const {
    return m_file != nullptr ? m_file->bytesRead() : 0;
}

uint64_t VCModelFileLink::fileSize() const {
    return m_file != nullptr ? m_file->fileSize() : 0;
}

bool VCModelFileLink::addModel(SDDevsModel*) {
    return false;
}

bool VCModelFileLink::addEvent(SDEvent*) {
    return false;
}

bool VCModelFileLink::addDeclaration(SDModelDeclaration declaration) {
    ++m_declared;
    if (declaration.scenario != nullptr) {
        applyScenario(declaration);
    } else if (declaration.cellSpace) {
        applyCellSpace(declaration);
    }
    const SDCoupledModel& coupling = declaration.coupling;
    if (!coupling.empty()) {
        m_couplings.add(declaration.name, coupling);
        logText("Model " + declaration.name + ": " +
                counted(coupling.components.size(), "component", "components") + ", " +
                counted(coupling.inputPorts.size(), "input port", "input ports") + ", " +
                counted(coupling.outputPorts.size(), "output port", "output ports") + ", " +
                counted(coupling.links.size(), "link", "links"));
    }
    return true;
}

void VCModelFileLink::applyCellSpace(SDModelDeclaration& declaration) {
    SDCELLDevsModel* space = cellSpaceNamed(m_models, declaration.name);
    if (space == nullptr) {
        return;
    }
    std::string summary = "Model " + declaration.name + ": Cell-DEVS";
    if (declaration.dimensions > 0 && space->declareSize(declaration.width, declaration.height,
                                                         declaration.length, declaration.dimensions)) {
        summary += ", dim " + std::to_string(declaration.width) + "x" + std::to_string(declaration.height);
        if (declaration.dimensions == 3) {
            summary += "x" + std::to_string(declaration.length);
        }
        // "width" counts rows, not columns, as stored files have it: the reply says which way it was read.
        if (declaration.sizeFromWidthAndHeight) {
            summary += " (" + counted(declaration.width, "row", "rows") + ", " +
                       counted(declaration.height, "column", "columns") + ")";
        }
    }
    if (declaration.initial != nullptr) {
        const SDInitialValues& initial = *declaration.initial;
        if (initial.hasCommon()) {
            summary += ", initial value " + number(initial.getCommon());
        }
        if (initial.cellsGiven() > 0) {
            summary += ", initial values of " + counted(initial.cellsGiven(), "cell", "cells");
        }
        // The same values again leave the run as it is (and its time cursor need not start over).
        const SDInitialValues* current = space->getInitialValues();
        if (current == nullptr || *current != initial) {
            space->setInitialValues(std::move(declaration.initial));
        }
    }
    logText(summary);
}

namespace {

// "(x,y)" of as many coordinates as the space has.
std::string coordinatesText(const std::array<int, 3>& at, int dimensions) {
    std::string text = "(";
    for (int i = 0; i < dimensions; ++i) {
        text += (i > 0 ? "," : "") + std::to_string(at[static_cast<size_t>(i)]);
    }
    return text + ")";
}

}  // namespace

SDCELLDevsModel* VCModelFileLink::scenarioSpace(SDModelDeclaration& declaration) {
    if (auto* named = dynamic_cast<SDCELLDevsModel*>(m_models.findModel(declaration.name))) {
        return named;
    }
    // A run read before the scenario named its space itself: the scenario is about that one.
    SDCELLDevsModel* only = nullptr;
    size_t spaces = 0;
    for (const auto& entry : m_models.getModels()) {
        if (auto* cells = dynamic_cast<SDCELLDevsModel*>(entry.second.get())) {
            only = cells;
            ++spaces;
        }
    }
    if (spaces == 1) {
        logText("Scenario file " + m_path + ": the cell space " + only->name() +
                " keeps its name; the scenario calls it " + declaration.name);
        declaration.name = only->name();
        return only;
    }
    SDCELLDevsModel* space = cellSpaceNamed(m_models, declaration.name);
    if (space != nullptr) {
        space->setOrigin(declaration.origin);  // no run placed cells in it yet
    }
    return space;
}

void VCModelFileLink::applyScenario(SDModelDeclaration& declaration) {
    SDCELLDevsModel* space = scenarioSpace(declaration);
    if (space == nullptr) {
        return;
    }
    // The space keeps the origin a run gave it: the scenario's cells are counted from there, and those
    // before it have no place.
    const std::array<int, 3> origin = space->getOrigin();
    const std::array<unsigned, 3> counts = {declaration.width, declaration.height, declaration.length};
    std::array<unsigned, 3> size{};
    bool before = false;
    for (size_t i = 0; i < 3; ++i) {
        const long long end = static_cast<long long>(declaration.origin[i]) + counts[i] - origin[i];
        before = before || declaration.origin[i] < origin[i];
        size[i] = static_cast<unsigned>(std::max(end, 1LL));
    }
    if (before) {
        logText("Scenario file " + m_path + ": the cells before " +
                coordinatesText(origin, declaration.dimensions) + ", where the run's cells of " +
                space->name() + " begin, are left out");
    }
    std::string summary = "Model " + declaration.name + ": Cell-DEVS";
    if (space->declareSize(size[0], size[1], size[2], declaration.dimensions)) {
        summary += ", dim " + std::to_string(declaration.width);
        summary += declaration.dimensions > 1 ? "x" + std::to_string(declaration.height) : "";
        summary += declaration.dimensions > 2 ? "x" + std::to_string(declaration.length) : "";
    }
    if (declaration.origin != std::array<int, 3>{}) {
        summary += ", origin " + coordinatesText(declaration.origin, declaration.dimensions);
    }
    std::unique_ptr<SDInitialValues> initial = declaration.scenario->valuesOf(
        0, origin, {space->getWidth(), space->getHeight(), space->getLength()});
    if (initial != nullptr) {
        if (initial->hasCommon()) {
            summary += ", initial value " + number(initial->getCommon());
        }
        if (initial->cellsGiven() > 0) {
            summary += ", initial values of " + counted(initial->cellsGiven(), "cell", "cells");
        }
    }
    // The same values again leave the run as it is (and its time cursor need not start over).
    const SDInitialValues* current = space->getInitialValues();
    if ((current == nullptr) != (initial == nullptr) ||
        (current != nullptr && initial != nullptr && *current != *initial)) {
        space->setInitialValues(std::move(initial));
    }
    if (declaration.scenario->wrapped >= 0) {
        summary += declaration.scenario->wrapped != 0 ? ", wrapped" : ", not wrapped";
    }
    space->setScenario(std::move(declaration.scenario));
    logText(summary);
    if (!declaration.palette.empty()) {
        std::vector<SLPaletteFile::Entry> entries;
        for (const SDModelDeclaration::Band& band : declaration.palette) {
            entries.push_back(SLPaletteFile::Entry{band.low, band.high, band.colour});
        }
        colourCellSpace(
            *space, entries,
            m_path + (declaration.paletteField.empty() ? "" : " (" + declaration.paletteField + ")"));
    }
}
