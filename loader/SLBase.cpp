#include "loader/SLBase.h"

#include <cstdarg>
#include <cstdio>
#include <memory>

#include "loader/SLSink.h"
#include "shell/Log.h"
#include "simdata/ModelOffer.h"
#include "simdata/SDEvent.h"
#include "simdata/SDModelDeclaration.h"

SLSink::~SLSink() = default;

bool SLSink::offerModel(const SDDevsModel& model) {
    std::unique_ptr<SDDevsModel> copy = copyModelRecord(model);
    if (!addModel(copy.get())) {
        return false;
    }
    copy.release();  // the sink owns it now
    return true;
}

bool SLSink::offerEvent(const SDEvent& event) {
    auto copy = std::make_unique<SDEvent>(event);
    if (!addEvent(copy.get())) {
        return false;
    }
    copy.release();  // the sink owns it now
    return true;
}

bool SLSink::addDeclaration(SDModelDeclaration) {
    return false;
}

SLBase::~SLBase() = default;

bool SLBase::failed(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int needed = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    m_failure.assign(needed > 0 ? static_cast<size_t>(needed) : 0, '\0');
    if (needed > 0) {
        std::vsnprintf(m_failure.data(), m_failure.size() + 1, format, again);
    }
    va_end(again);
    logText(m_failure);
    return false;
}

void SLSink::foreseeNames(uint32_t, uint32_t, bool) {}

void SLSink::offerMessage(const SDLogMessage&) {}

void SLSink::offerState(std::string_view, double, std::string_view) {}

void SLSink::offerReadState(std::string_view model, double milliseconds, std::string_view text, bool) {
    offerState(model, milliseconds, text);
}

void SLSink::offerKeyedState(uint32_t, std::string_view model, double milliseconds, std::string_view text,
                             bool numbered) {
    offerReadState(model, milliseconds, text, numbered);
}

bool SLSink::declaredCellSpace(std::string&, std::array<int, 3>&) const {
    return false;
}

bool SLSink::modelsStamp(uint64_t&) const {
    return false;
}
