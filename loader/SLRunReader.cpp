#include "loader/SLRunReader.h"

#include "loader/SLCadmiumCsvFile.h"
#include "loader/SLCsvRow.h"
#include "loader/SLLogFile.h"
#include "loader/SLRunSniff.h"

SLRunReader::~SLRunReader() = default;

std::unique_ptr<SLRunReader> openRunReader(SLSink* link, const std::string& path) {
    const SLRunSniff sniff(path);
    // Each further format adds its test here, before the message log, which takes whatever is left.
    if (SLCsvRow::recognise(sniff.lines())) {
        return std::make_unique<SLCadmiumCsvFile>(link, path);
    }
    return std::make_unique<SLLogFile>(link, path);
}

std::string runFormatsTried() {
    return "Cadmium 2 CSV (time;model_id;model_name;port_name;data), message log (I/*/D/X/Y lines)";
}
