#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

class SDInitialValues;

// The two files a model file may name for the initial values of a cell space, read into `values` (sized
// to the declared counts): a cells file (".val"), lines "(x,y) = v" or "(x,y,z) = v"; and a map file
// (".map"), one value per line for every cell in turn, the first coordinate varying slowest. Blank lines
// and '%' comments are passed over; "?" stands for "no value". Each line that cannot be read is reported
// to `error` with the file's name and its line number (from 1) and skipped.
class SLCellValueFile {
  public:
    using ErrorSink = std::function<void(const std::string& file, long line, const std::string& reason)>;

    // `counts`: the declared size, 2 or 3 counts.
    SLCellValueFile(SDInitialValues& values, const std::vector<unsigned>& counts, ErrorSink error);

    // False when the file cannot be opened (nothing reported: the model file's line says so).
    bool readCells(const std::string& path);
    bool readMap(const std::string& path);

  private:
    // Hands each line with content (its comment and end blanks cut off) to `read`, which answers whether to
    // go on. False when the file cannot be opened.
    using LineReader = std::function<bool(long number, std::string_view text)>;
    bool eachLine(const std::string& path, const LineReader& read);

    SDInitialValues& m_values;
    std::vector<unsigned> m_counts;  // 2 or 3 of them
    ErrorSink m_error;
};
