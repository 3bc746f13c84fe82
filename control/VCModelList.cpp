#include "control/VCModelList.h"

#include "loader/SLNamedCells.h"
#include "simdata/ModelOffer.h"

VCModelList::~VCModelList() {
    m_list = nullptr;
}

bool VCModelList::addModel(SDDevsModel* model) {
    if (m_list == nullptr) {
        return false;
    }
    return ::offerModel(*m_list, model);
}

bool VCModelList::offerModel(const SDDevsModel& model) {
    return m_list != nullptr && offerModelCopy(*m_list, model);
}

SDDevsModelList* VCModelList::getModelList() {
    return m_list;
}

void VCModelList::growCellSpaces(const SLNamedCells& cells) {
    if (m_list == nullptr) {
        return;
    }
    for (const auto& [name, space] : cells.getSpaces()) {
        growCellSpace(*m_list, *space);
    }
}
