#pragma once

#include <string>
#include <vector>

#include "loader/SLBase.h"
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
// its own name and line) and skipped; the rest is read.
class SLMaFile : public SLBase {
  public:
    SLMaFile(SLSink* sink, std::string fileName);
    ~SLMaFile() override;

    // Reads the file and hands its declarations to the sink. False, after "Unable to open model file for
    // import", when the file cannot be opened; lines skipped do not make it fail.
    bool load() override;
    // A file that is no model file at all (a log read by mistake) would report every one of its lines:
    // past this many, the lines skipped are only counted.
    static constexpr size_t kMaxReported = 50;
    // The messages of the lines the last load skipped, in the order logged (at most kMaxReported, and a
    // last one that says more were skipped), and how many lines it skipped in all.
    const std::vector<std::string>& getErrors() const { return m_errors; }
    size_t getSkipped() const { return m_skipped; }
    const std::string& getFileName() const { return m_fileName; }

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

    bool readSections(std::vector<Section>& sections);
    SDModelDeclaration interpret(const Section& section);
    void readSize(const Section& section, SDModelDeclaration& declaration);
    void readCoupling(const Entry& entry, SDCoupledModel& coupling);
    void readRow(const Entry& entry, const SDModelDeclaration& declaration, SDInitialValues& values);
    void error(const std::string& file, long line, const std::string& reason);

    std::string m_fileName;
    std::vector<std::string> m_errors;
    size_t m_skipped = 0;
};
