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
    // Cells mostly repeat their own last state, or the state the cell before them just took.
    if (held.count > 0 && held.last.length == text.size() && textOf(held.last) == text) {
        row.chunk = held.last.chunk;
        row.offset = held.last.offset;
        row.length = held.last.length;
    } else if (m_hasLast && m_last.length == text.size() && textOf(m_last) == text) {
        row.chunk = m_last.chunk;
        row.offset = m_last.offset;
        row.length = m_last.length;
    } else {
        store(text, row);
    }
    m_last = row;
    m_hasLast = true;
    // A state without a time is found at none; it leaves the search to the slow way.
    if (std::isnan(milliseconds) || (held.count > 0 && milliseconds < held.last.time)) {
        held.ordered = false;
    }
    held.lastRow = static_cast<uint32_t>(m_rows.size());
    held.last = row;
    ++held.count;
    m_rows.push_back(row);
    m_rowModel.push_back(number);
    return Ref{number, held.count - 1};
}

size_t SDStateTexts::rowOf(Ref ref) const {
    const Model& model = m_models[ref.model];
    if (ref.row + 1 == model.count) {
        return model.lastRow;  // the state just added, mostly: no index needed
    }
    index();
    return m_byModel[m_modelStart[ref.model] + ref.row];
}

void SDStateTexts::index() const {
    if (m_indexed == m_rows.size() && m_modelStart.size() == m_models.size() + 1) {
        return;
    }
    // Counted by model, then each row placed after its model's rows before it.
    m_modelStart.assign(m_models.size() + 1, 0);
    for (size_t model = 0; model < m_models.size(); ++model) {
        m_modelStart[model + 1] = m_modelStart[model] + m_models[model].count;
    }
    std::vector<uint32_t> next(m_modelStart.begin(), m_modelStart.end() - 1);
    m_byModel.resize(m_rows.size());
    for (size_t row = 0; row < m_rows.size(); ++row) {
        m_byModel[next[m_rowModel[row]]++] = static_cast<uint32_t>(row);
    }
    m_indexed = m_rows.size();
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
    m_rows[rowOf(ref)].event = index >= kUnplaced ? kUnplaced : static_cast<uint32_t>(index);
}

SDStateTexts::State SDStateTexts::state(Ref ref) const {
    const Row& row = m_rows[rowOf(ref)];
    return State{row.time, textOf(row), row.event};
}

bool SDStateTexts::at(uint32_t model, double milliseconds, State& state) const {
    const Model& held = m_models[model];
    if (held.count == 0) {
        return false;
    }
    index();
    const uint32_t* const first = m_byModel.data() + m_modelStart[model];
    const uint32_t* const last = first + held.count;
    const Row* found = nullptr;
    if (held.ordered) {
        const uint32_t* after = std::upper_bound(
            first, last, milliseconds, [this](double time, uint32_t row) { return time < m_rows[row].time; });
        if (after != first) {
            found = &m_rows[*(after - 1)];
        }
    } else {
        for (const uint32_t* row = first; row != last; ++row) {
            const Row& candidate = m_rows[*row];
            if (candidate.time <= milliseconds && (found == nullptr || candidate.time >= found->time)) {
                found = &candidate;
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
    size_t bytes = m_names.memoryBytes() + m_models.capacity() * sizeof(Model) + m_rows.memoryBytes() +
                   m_rowModel.memoryBytes() +
                   (m_byModel.capacity() + m_modelStart.capacity()) * sizeof(uint32_t);
    for (size_t chunk : m_chunkBytes) {
        bytes += chunk;
    }
    return bytes;
}
