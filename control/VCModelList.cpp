#include "control/VCModelList.h"

#include "loader/SLNamedCells.h"
#include "simdata/ModelOffer.h"
#include "simdata/SDDevsModelList.h"

VCModelList::~VCModelList() {
    m_list = nullptr;
}

bool VCModelList::addModel(SDDevsModel* model) {
    if (m_list == nullptr) {
        return false;
    }
    ++m_changes;
    return ::offerModel(*m_list, model);
}

bool VCModelList::offerModel(const SDDevsModel& model) {
    if (m_list == nullptr) {
        return false;
    }
    if (const SDDevsModel* known = recent(model)) {
        if (offerChangesNothing(*known, model)) {
            return false;
        }
        ++m_changes;
        return offerModelCopy(*m_list, model);
    }
    ++m_changes;
    const bool added = offerModelCopy(*m_list, model);
    remember(model);
    return added;
}

SDDevsModel* VCModelList::recent(const SDDevsModel& offered) const {
    for (const Recent& entry : m_recent) {
        if (entry.model != nullptr && entry.revision == m_list->revision() &&
            entry.model->name() == offered.name()) {
            return entry.model;
        }
    }
    return nullptr;
}

void VCModelList::remember(const SDDevsModel& offered) {
    SDDevsModel* registered = m_list->findModel(offered.name());
    if (registered == nullptr) {
        return;
    }
    m_recent[m_older] = Recent{registered, m_list->revision()};
    m_older = 1 - m_older;
}

uint64_t VCModelList::offerStamp() const {
    // Both only grow: their sum changes whenever either does.
    return m_changes + (m_list != nullptr ? m_list->revision() : 0);
}

SDDevsModelList* VCModelList::getModelList() {
    return m_list;
}

void VCModelList::growCellSpaces(const SLNamedCells& cells) {
    if (m_list == nullptr) {
        return;
    }
    ++m_changes;
    for (const auto& [name, space] : cells.getSpaces()) {
        growCellSpace(*m_list, *space);
    }
}
