#include "loader/SLOfferMemo.h"

#include <algorithm>

bool SLOfferMemo::same(const Entry& entry, const SLCutLine::End& end, char portKind, std::string_view port) {
    return entry.valid && entry.cell == end.cell && entry.portKind == portKind && entry.port == port &&
           entry.model == modelOf(end);
}

bool SLOfferMemo::covers(int which, const SLCutLine::End& end, char portKind, std::string_view port,
                         uint64_t stamp) const {
    const Entry& entry = m_ends[which];
    if (entry.stamp != stamp || !same(entry, end, portKind, port)) {
        return false;
    }
    if (!end.cell) {
        return true;
    }
    for (int axis = 0; axis < 3; ++axis) {
        // Below 0 a cell is refused, and that is reported every time.
        if (end.coordinates[axis] < 0 || end.coordinates[axis] > entry.reach[axis]) {
            return false;
        }
    }
    return true;
}

void SLOfferMemo::offered(int which, const SLCutLine::End& end, char portKind, std::string_view port,
                          uint64_t before, uint64_t after, bool accepted) {
    Entry& entry = m_ends[which];
    if (after != before) {
        entry.valid = false;
        return;
    }
    if (!accepted) {
        return;
    }
    if (entry.stamp == before && same(entry, end, portKind, port)) {
        for (int axis = 0; axis < 3 && end.cell; ++axis) {
            entry.reach[axis] = std::max(entry.reach[axis], end.coordinates[axis]);
        }
        return;
    }
    entry.valid = true;
    entry.stamp = after;
    entry.cell = end.cell;
    entry.model.assign(modelOf(end));
    entry.portKind = portKind;
    entry.port.assign(port);
    for (int axis = 0; axis < 3; ++axis) {
        entry.reach[axis] = end.cell ? end.coordinates[axis] : 0;
    }
}

void SLOfferMemo::clear() {
    m_ends[0] = Entry();
    m_ends[1] = Entry();
}
