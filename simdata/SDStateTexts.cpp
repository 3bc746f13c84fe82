#include "simdata/SDStateTexts.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

SDStateTexts::SDStateTexts() = default;
SDStateTexts::~SDStateTexts() = default;

SDStateTexts::Ref SDStateTexts::add(std::string_view model, double milliseconds, std::string_view text) {
    return add(modelNumber(model), milliseconds, text);
}

uint32_t SDStateTexts::modelNumber(std::string_view model) {
    const uint32_t number = m_names.intern(model);
    if (number == m_models.size()) {
        m_models.emplace_back();
    }
    return number;
}

SDStateTexts::Ref SDStateTexts::add(uint32_t number, double milliseconds, std::string_view text) {
    // A state longer than 4 GiB keeps its head.
    text = text.substr(0, std::numeric_limits<uint32_t>::max());
    Model& held = m_models[number];
    Row row{milliseconds, 0, 0, 0, kNoEvent};
    // Cells mostly take the state the cell before them just took, one of a few texts used over and over,
    // or their own last state; the last of these lies furthest back in memory.
    const auto same = [&](const Row& stored) {
        return stored.length == text.size() && textOf(stored) == text;
    };
    Row& recent = m_recent[recentSlot(text)];
    const Row* found = nullptr;
    if (m_hasLast && same(m_last)) {
        found = &m_last;
    } else if (same(recent)) {
        found = &recent;
    } else if (held.count > 0 && same(held.last)) {
        found = &held.last;
    }
    if (found != nullptr) {
        row.chunk = found->chunk;
        row.offset = found->offset;
        row.length = found->length;
    } else {
        store(text, row);
    }
    recent = row;
    m_last = row;
    m_hasLast = true;
    // A state without a time is found at none; it leaves the search to the slow way.
    if (std::isnan(milliseconds) || (held.count > 0 && milliseconds < held.last.time)) {
        held.ordered = false;
    }
    held.last = row;
    held.lastArrived = static_cast<uint32_t>(m_arrived.size());
    held.grouping = m_grouping;
    ++held.count;
    m_arrived.push_back(row);
    m_arrivedModel.push_back(number);
    return Ref{number, held.count - 1};
}

const SDStateTexts::Row& SDStateTexts::rowOf(Ref ref) const {
    const Model& model = m_models[ref.model];
    if (ref.row + 1 == model.count && model.grouping == m_grouping) {
        return m_arrived[model.lastArrived];
    }
    group();
    return m_grouped[m_modelStart[ref.model] + ref.row];
}

void SDStateTexts::group() const {
    if (m_arrived.empty() && m_modelStart.size() == m_models.size() + 1) {
        return;
    }
    // Each model's grouped rows first, then each row that came since after its model's rows before it.
    std::vector<uint32_t> start(m_models.size() + 1, 0);
    for (size_t model = 0; model < m_models.size(); ++model) {
        start[model + 1] = start[model] + m_models[model].count;
    }
    std::vector<Row> grouped(start.back());
    std::vector<uint32_t> next(m_models.size());
    const size_t groupedModels = m_modelStart.size() - 1;
    for (size_t model = 0; model < m_models.size(); ++model) {
        next[model] = start[model];
        if (model < groupedModels) {
            const auto first = m_grouped.begin() + m_modelStart[model];
            const auto last = m_grouped.begin() + m_modelStart[model + 1];
            next[model] += static_cast<uint32_t>(last - first);
            std::copy(first, last, grouped.begin() + start[model]);
        }
    }
    for (size_t row = 0; row < m_arrived.size(); ++row) {
        grouped[next[m_arrivedModel[row]]++] = m_arrived[row];
    }
    m_grouped.swap(grouped);
    m_modelStart.swap(start);
    m_arrived.clear();
    m_arrivedModel.clear();
    ++m_grouping;
}

size_t SDStateTexts::recentSlot(std::string_view text) {
    // The length and the first bytes, which tell the short texts of a run apart, and the last byte.
    uint32_t hash = 2166136261u ^ static_cast<uint32_t>(text.size());
    for (size_t i = 0; i < text.size() && i < 16; ++i) {
        hash = (hash ^ static_cast<unsigned char>(text[i])) * 16777619u;
    }
    if (!text.empty()) {
        hash = (hash ^ static_cast<unsigned char>(text.back())) * 16777619u;
    }
    return (hash ^ (hash >> 16)) % kRecentTexts;
}

void SDStateTexts::store(std::string_view text, Row& row) {
    if (text.empty()) {
        return;
    }
    if (m_chunks.empty() || m_used + text.size() > m_chunkBytes.back()) {
        const size_t bytes = std::max(kChunkBytes, text.size());
        m_chunks.push_back(std::make_unique<char[]>(bytes));
        m_chunkBytes.push_back(bytes);
        m_used = 0;
    }
    std::memcpy(m_chunks.back().get() + m_used, text.data(), text.size());
    row.chunk = static_cast<uint32_t>(m_chunks.size() - 1);
    row.offset = static_cast<uint32_t>(m_used);
    row.length = static_cast<uint32_t>(text.size());
    m_used += text.size();
}

std::string_view SDStateTexts::textOf(const Row& row) const {
    if (row.length == 0) {
        return {};
    }
    return std::string_view(m_chunks[row.chunk].get() + row.offset, row.length);
}

void SDStateTexts::setEvent(Ref ref, size_t index) {
    // The row is the store's own, held in members that are only mutable for grouping.
    const_cast<Row&>(rowOf(ref)).event = index >= kUnplaced ? kUnplaced : static_cast<uint32_t>(index);
}

SDStateTexts::State SDStateTexts::state(Ref ref) const {
    const Row& row = rowOf(ref);
    return State{row.time, textOf(row), row.event};
}

bool SDStateTexts::at(uint32_t model, double milliseconds, State& state) const {
    const Model& held = m_models[model];
    if (held.count == 0) {
        return false;
    }
    group();
    const Row* const first = m_grouped.data() + m_modelStart[model];
    const Row* const last = first + held.count;
    const Row* found = nullptr;
    if (held.ordered) {
        const Row* after = std::upper_bound(first, last, milliseconds,
                                            [](double time, const Row& row) { return time < row.time; });
        if (after != first) {
            found = after - 1;
        }
    } else {
        for (const Row* row = first; row != last; ++row) {
            if (row->time <= milliseconds && (found == nullptr || row->time >= found->time)) {
                found = row;
            }
        }
    }
    if (found == nullptr) {
        return false;
    }
    state = State{found->time, textOf(*found), found->event};
    return true;
}

int SDStateTexts::chosenField(std::string_view name) const {
    const auto found = m_fields.find(name);
    return found != m_fields.end() ? found->second : -1;
}

size_t SDStateTexts::memoryBytes() const {
    size_t bytes = m_names.memoryBytes() + m_models.capacity() * sizeof(Model) +
                   m_grouped.capacity() * sizeof(Row) + m_modelStart.capacity() * sizeof(uint32_t) +
                   m_arrived.memoryBytes() + m_arrivedModel.memoryBytes();
    for (size_t chunk : m_chunkBytes) {
        bytes += chunk;
    }
    return bytes;
}
