#pragma once

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "loader/SLLogFields.h"
#include "loader/SLLogFile.h"
#include "loader/SLSink.h"
#include "shell/TextScan.h"
#include "simdata/SDCELLDevsModel.h"
#include "simdata/SDDevsModel.h"
#include "simdata/SDEvent.h"
#include "simdata/SDTime.h"
#include "tests/fuzz/FuzzSupport.h"

// The loader's pieces one line at a time, each held against a plain reading of the same text written
// with the C library, so that a fault shows as a difference and not only as a crash.
namespace fuzz {

// strtol saturated to int, as the "%d" conversion should read: false when no number starts the text.
inline bool referenceInt(const char* text, int& out, const char** end = nullptr) {
    char* stop = nullptr;
    errno = 0;
    const long value = std::strtol(text, &stop, 10);
    if (stop == text) {
        return false;
    }
    out = value > INT_MAX ? INT_MAX : (value < INT_MIN ? INT_MIN : static_cast<int>(value));
    if (end != nullptr) {
        *end = stop;
    }
    return true;
}

// Fields cut at ' ' and '/', empty ones dropped.
inline std::vector<std::string> referenceFields(const char* line) {
    std::vector<std::string> fields(1);
    for (const char* p = line; *p != '\0'; ++p) {
        if (*p == ' ' || *p == '/') {
            if (!fields.back().empty()) {
                fields.emplace_back();
            }
        } else {
            fields.back() += *p;
        }
    }
    if (fields.back().empty()) {
        fields.pop_back();
    }
    return fields;
}

// "h:m:s:ms" read as "%d:%d:%d:%d" reads it, missing components 0, summed in milliseconds.
inline double referenceTime(const char* text) {
    long long values[4] = {0, 0, 0, 0};
    const char* p = text;
    for (int i = 0; i < 4; ++i) {
        if (i > 0) {
            if (*p != ':') {
                break;
            }
            ++p;
        }
        int value = 0;
        if (!referenceInt(p, value, &p)) {
            break;
        }
        values[i] = value;
    }
    return static_cast<double>(values[0] * 3600000 + values[1] * 60000 + values[2] * 1000 + values[3]);
}

// The cell counts a record made from a reference's text before its identifier should have: the first
// three numbers after its last '(', grown to hold that cell, or 1 x 1 x 1 when the cell is refused.
inline void referenceCounts(const std::string& end, uint64_t counts[3]) {
    const size_t open = end.rfind('(');
    long long coordinates[3] = {0, 0, 0};
    size_t at = open;
    for (int found = 0; found < 3; ++found) {
        at = end.find_first_not_of("(,)", at);
        if (at == std::string::npos) {
            break;
        }
        const size_t stop = std::min(end.find_first_of("(,)", at), end.size());
        int value = 0;
        referenceInt(end.substr(at, stop - at).c_str(), value);
        coordinates[found] = value;
        at = stop;
    }
    counts[0] = counts[1] = counts[2] = 1;
    for (long long c : coordinates) {
        if (c < 0) {
            return;
        }
    }
    const uint64_t grown[3] = {static_cast<uint64_t>(coordinates[0]) + 1,
                               static_cast<uint64_t>(coordinates[1]) + 1,
                               static_cast<uint64_t>(coordinates[2]) + 1};
    if (grown[0] * grown[1] > SDCELLDevsModel::kMaxCells ||
        grown[0] * grown[1] * grown[2] > SDCELLDevsModel::kMaxCells) {
        return;  // each factor is below 2^31, so the products cannot wrap
    }
    for (int i = 0; i < 3; ++i) {
        counts[i] = grown[i];
    }
}

// Keeps everything it is offered, in order.
class KeepingSink : public SLSink {
  public:
    bool addModel(SDDevsModel* model) override {
        FUZZ_CHECK(model != nullptr && events.empty());  // both records come before the event
        models.emplace_back(model);
        return true;
    }
    bool addEvent(SDEvent* event) override {
        FUZZ_CHECK(event != nullptr && models.size() == 2);
        events.emplace_back(event);
        return true;
    }
    std::vector<std::unique_ptr<SDDevsModel>> models;
    std::vector<std::unique_ptr<SDEvent>> events;
};

// The text before the last '(', or all of it.
inline std::string beforeLastParenthesis(const std::string& text) {
    const size_t open = text.rfind('(');
    return open == std::string::npos ? text : text.substr(0, open);
}

inline void checkRecord(const SDDevsModel& model, const std::string& end) {
    FUZZ_CHECK(model.getName() == beforeLastParenthesis(end));
    const auto* cells = dynamic_cast<const SDCELLDevsModel*>(&model);
    FUZZ_CHECK((cells != nullptr) == (end.find('(') != std::string::npos));
    if (cells != nullptr) {
        uint64_t counts[3];
        referenceCounts(end, counts);
        FUZZ_CHECK(cells->getWidth() == counts[0]);
        FUZZ_CHECK(cells->getHeight() == counts[1]);
        FUZZ_CHECK(cells->getLength() == counts[2]);
    }
}

// One line through the field cutter and the line handler of the log loader.
inline void logLineInput(const uint8_t* data, size_t size) {
    chooseLogging(size);
    const std::string line = text(data, size);  // a NUL ends the line, as it does in a file
    const std::vector<std::string> expected = referenceFields(line.c_str());

    std::string_view fields[8];
    const int count = cutLogFields(line.c_str(), fields, 8);
    FUZZ_CHECK(count == static_cast<int>(std::min<size_t>(expected.size(), 9)));
    for (int i = 0; i < count && i < 8; ++i) {
        FUZZ_CHECK(fields[i] == expected[static_cast<size_t>(i)]);
    }

    KeepingSink sink;
    SLLogFile loader(&sink, "fuzz.log");
    FUZZ_CHECK(loader.parseLine(line.c_str()));
    if (expected.size() != 8 || (expected[1] != "X" && expected[1] != "Y")) {
        FUZZ_CHECK(sink.models.empty() && sink.events.empty());
        return;
    }
    FUZZ_CHECK(sink.models.size() == 2 && sink.events.size() == 1);
    const SDEvent& event = *sink.events[0];
    const bool output = expected[1] == "Y";
    FUZZ_CHECK(event.getType() == (output ? 1 : 0));
    FUZZ_CHECK(event.getTime().getMilliseconds() == referenceTime(expected[2].c_str()));
    FUZZ_CHECK(event.getSource() == beforeLastParenthesis(expected[3]));
    FUZZ_CHECK(event.getPort() == expected[4]);
    FUZZ_CHECK(event.getDestination() == beforeLastParenthesis(expected[7]));
    char* stop = nullptr;
    double value = std::strtod(expected[5].c_str(), &stop);
    if (stop == expected[5].c_str()) {
        value = 0.0;
    }
    FUZZ_CHECK(std::memcmp(&value, &event.m_value, sizeof value) == 0 ||
               (std::isnan(value) && std::isnan(event.getValue())));

    const SDDevsModel& source = *sink.models[0];
    const SDDevsModel& destination = *sink.models[1];
    checkRecord(source, event.getSource());
    checkRecord(destination, event.getDestination());
    const std::vector<std::string> port{expected[4]};
    FUZZ_CHECK(source.getOutputPorts() == (output ? port : std::vector<std::string>{}));
    FUZZ_CHECK(destination.getInputPorts() == (output ? std::vector<std::string>{} : port));
    FUZZ_CHECK(source.getInputPorts().empty() && destination.getOutputPorts().empty());
}

// Number scanning and simulated time: scanInt against strtol, SDTime's reading, its components and its
// display form read back.
inline void timeInput(const uint8_t* data, size_t size) {
    chooseLogging(size);
    const std::string input = text(data, size);
    const char* s = input.c_str();

    int scanned = 12345;
    const char* scannedEnd = nullptr;
    const bool found = scanInt(s, scanned, &scannedEnd);
    int expected = 0;
    const char* expectedEnd = nullptr;
    FUZZ_CHECK(found == referenceInt(s, expected, &expectedEnd));
    FUZZ_CHECK(found ? (scanned == expected && scannedEnd == expectedEnd) : scanned == 12345);
    double d = 0.0;
    float f = 0.0f;
    scanDouble(s, d);
    scanFloat(s, f);

    SDTime time;
    time.parse(input);
    FUZZ_CHECK(time.getMilliseconds() == referenceTime(s));
    int h = 0, m = 0, sec = 0, ms = 0;
    time.getComponents(h, m, sec, ms);
    FUZZ_CHECK(m >= 0 && m <= 59 && sec >= 0 && sec <= 59 && ms >= 0 && ms <= 999);
    const std::string shown = time.toString();
    if (h != INT_MAX && h != INT_MIN) {
        // The components are exact for a whole number of milliseconds, so the display form reads back.
        FUZZ_CHECK(static_cast<double>(h * 3600000LL + m * 60000LL + sec * 1000LL + ms) ==
                   time.getMilliseconds());
        SDTime again;
        again.parse(shown);
        FUZZ_CHECK(again.getMilliseconds() == time.getMilliseconds());
    }

    // Any double as a time: never out of range components, never UB.
    if (size >= sizeof(double)) {
        double raw = 0.0;
        std::memcpy(&raw, data, sizeof raw);
        SDTime any(raw);
        any.getComponents(h, m, sec, ms);
        FUZZ_CHECK(m >= 0 && m <= 59 && sec >= 0 && sec <= 59 && ms >= 0 && ms <= 999);
        FUZZ_CHECK(!any.toString().empty());
    }
}

}  // namespace fuzz
