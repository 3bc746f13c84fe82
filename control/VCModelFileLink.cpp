#include "control/VCModelFileLink.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <utility>

#include "loader/SLMaFile.h"
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
    m_file = std::make_unique<SLMaFile>(this, path);
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
    m_file.reset();
    std::string summary = "Model file " + m_path + " read: " + counted(m_declared, "model", "models");
    if (m_skipped > 0) {
        summary += ", " + counted(m_skipped, "line", "lines") + " skipped";
    }
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
    if (declaration.cellSpace) {
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
