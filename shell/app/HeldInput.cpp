#include "shell/app/HeldInput.h"

HeldInput::Verdict HeldInput::arrive(const GlutInput& input, bool importing, bool busy) {
    if (importing && input.isEscape()) {
        return Verdict::CancelImport;
    }
    if (!busy && m_waiting.empty()) {
        return Verdict::Deliver;
    }
    m_waiting.push_back(input);
    return Verdict::Held;
}

void HeldInput::replay(const std::function<void(const GlutInput&)>& deliver,
                       const std::function<bool()>& busy) {
    while (!m_waiting.empty() && !busy()) {
        // Off the queue before it is handed on: what it starts may hold more input behind it.
        const GlutInput input = m_waiting.front();
        m_waiting.pop_front();
        deliver(input);
    }
}
