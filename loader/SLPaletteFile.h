#pragma once

#include <array>
#include <string>
#include <utility>
#include <vector>

// A palette file: colours for ranges of cell values, in the two forms the 2D players of Cell-DEVS runs
// read.
//   - Lines "[low;high] r g b", components 0 .. 255:   [-0.1;0.9] 255 255 51
//   - The saved form: a first line VALIDSAVEDFILE, then one "r,g,b" line per colour, then one "low,high"
//     line per colour, in the same order.
// Blank lines are passed over. A line that cannot be read is logged as "Palette file x.pal, line 3:
// <reason>" and skipped; the entries keep the file's order.
class SLPaletteFile {
  public:
    struct Entry {
        double low = 0.0;
        double high = 0.0;
        std::array<float, 4> colour{};  // components 0 .. 1, alpha 1
    };

    explicit SLPaletteFile(std::string fileName) : m_fileName(std::move(fileName)) {}

    // False, after "Unable to open palette file for import", when the file cannot be opened.
    bool load();
    const std::vector<Entry>& getEntries() const { return m_entries; }
    // The messages of the lines skipped, at most SLMaFile's kMaxReported of them and then one that says
    // more were skipped.
    const std::vector<std::string>& getErrors() const { return m_errors; }
    const std::string& getFailure() const { return m_failure; }
    const std::string& getFileName() const { return m_fileName; }

  private:
    void readRangeLine(long line, const std::string& text);
    void readSaved(const std::vector<std::pair<long, std::string>>& lines);
    // r, g and b from 0 .. 255; false (reported) otherwise.
    bool readColour(long line, const std::vector<std::string>& parts, std::array<float, 4>& colour);
    bool readRange(long line, const std::string& lowText, const std::string& highText, double& low,
                   double& high);
    void error(long line, const std::string& reason);

    std::string m_fileName;
    std::vector<Entry> m_entries;
    std::vector<std::string> m_errors;
    size_t m_skipped = 0;
    std::string m_failure;
};
