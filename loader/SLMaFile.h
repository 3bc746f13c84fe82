#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <unordered_map>
#include <vector>

#include "loader/SLDeclarationFile.h"
#include "simdata/SDModelDeclaration.h"

// The loader of a model file (".ma"), the description a Cell-DEVS modeller keeps next to a run's log. It
// reads what the viewer can use and hands the sink one declaration per model, in the order of their
// sections:
//
//     % a comment, to the end of the line
//     [top]
//     components : loader gunner@Gunner      the children, an optional @AtomicType after each
//     in : ammu_in safety_in                 the coupled model's own ports
//     out : amm_out
//     link : ammu_in ain@loader              from-port[@model] to-port[@model]; no @model: the own port
//     [fallrock]
//     type : cell
//     dim : (8,8,8)                          or (25,25); or width : W with height : H
//     initialvalue : 0                       every cell
//     initialrowvalue : 3 00011100           first coordinate 3, one digit per value of the second
//     initialcellsvalue : fallrock.val       lines "(x,y[,z]) = v", next to the model file
//     initialmapvalue : fallrock.map         one value per line, the first coordinate varying slowest
//
// Keys and section names are case-insensitive; model names are read in lower case, as the simulator
// writes them. Other keys (localtransition, delay, border, neighbors, rule, ...) are passed over. A cell's
// initial value comes from initialvalue, then initialrowvalue, then the .val and .map files, later sources
// taking the place of earlier ones. "?" stands for "no value".
//
// A line that cannot be read is logged as "Model file run.ma, line 12: <reason>" (an included file with
// its own name and line; a NUL byte of the line shown as \0) and skipped; the rest is read.
//
// The file can be read a slice at a time (open, readLines until it answers false, then finish): nothing
// reaches the sink before finish, so a reading stopped early hands it nothing.
class SLMaFile : public SLDeclarationFile {
  public:
    SLMaFile(SLSink* sink, std::string fileName);
    ~SLMaFile() override;

    // Reads the file and hands its declarations to the sink. False, after "Unable to open model file for
    // import", when the file cannot be opened; lines skipped do not make it fail.
    bool load() override;
    // Opens the file; false, after the same message as load, when it cannot be opened.
    bool open() override;
    // Reads at most `count` more lines; true while lines remain.
    bool readLines(size_t count) override;
    // Hands the sink the declarations of the lines read, in the order of their sections, and closes the
    // file.
    void finish() override;
    long long linesRead() const override { return m_lines; }
    uint64_t bytesRead() const override { return m_bytes; }
    uint64_t fileSize() const override { return m_size; }
    // A file that is no model file at all (a log read by mistake) would report every one of its lines:
    // past this many, the lines skipped are only counted.
    static constexpr size_t kMaxReported = 50;
    // The messages of the lines the last load skipped, in the order logged (at most kMaxReported, and a
    // last one that says more were skipped), and how many lines it skipped in all.
    const std::vector<std::string>& getErrors() const override { return m_errors; }
    size_t getSkipped() const override { return m_skipped; }
    const std::string& getFileName() const override { return m_fileName; }
    const char* kind() const override { return "Model file"; }

  private:
    struct Entry {
        std::string key;  // in lower case
        std::string value;
        long line;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
    };

    void readLine(long number, const std::string& line);
    SDModelDeclaration interpret(const Section& section);
    void readSize(const Section& section, SDModelDeclaration& declaration);
    void readCoupling(const Entry& entry, SDCoupledModel& coupling);
    void readRow(const Entry& entry, const SDModelDeclaration& declaration, SDInitialValues& values);
    void error(const std::string& file, long line, const std::string& reason);

    std::string m_fileName;
    std::ifstream m_file;
    std::vector<Section> m_sections;
    std::unordered_map<std::string, size_t> m_sectionIndex;  // by name, into m_sections
    size_t m_current = std::string::npos;                    // the section keys go to; npos: none
    long long m_lines = 0;
    uint64_t m_bytes = 0;
    uint64_t m_size = 0;
    std::vector<std::string> m_errors;
    size_t m_skipped = 0;
};
