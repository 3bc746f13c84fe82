#include "loader/SLRunReader.h"

#include "loader/SLLogFile.h"
#include "loader/SLRunSniff.h"

SLRunReader::~SLRunReader() = default;

std::unique_ptr<SLRunReader> openRunReader(SLSink* link, const std::string& path) {
    const SLRunSniff sniff(path);
    // Each further format adds its test here, before the message log, which takes whatever is left.
    (void)sniff;
    return std::make_unique<SLLogFile>(link, path);
}

std::string runFormatsTried() {
    return "message log (I/*/D/X/Y lines)";
}
