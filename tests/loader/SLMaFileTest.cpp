// Model files: what a well-formed file declares, the precedence of the initial values, and the report of
// every line that cannot be read, with the rest of the file still read.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "loader/SLMaFile.h"
#include "loader/SLSink.h"
#include "simdata/SDModelDeclaration.h"
#include "tests/support/LogRecorder.h"
#include "tests/support/TempDir.h"

namespace {

class DeclarationSink : public SLSink {
  public:
    std::vector<SDModelDeclaration> declarations;
    bool addModel(SDDevsModel*) override { return false; }
    bool addEvent(SDEvent*) override { return false; }
    bool addDeclaration(SDModelDeclaration declaration) override {
        declarations.push_back(std::move(declaration));
        return true;
    }
    const SDModelDeclaration* find(const std::string& name) const {
        for (const SDModelDeclaration& declaration : declarations) {
            if (declaration.name == name) {
                return &declaration;
            }
        }
        return nullptr;
    }
};

class SLMaFileTest : public ::testing::Test {
  protected:
    // Reads `text` as run.ma; the log lines it wrote are in m_log.
    bool read(const std::string& text) {
        m_sink.declarations.clear();
        m_log.clear();
        SLMaFile file(&m_sink, m_dir.write("run.ma", text));
        const bool loaded = file.load();
        m_errors = file.getErrors();
        return loaded;
    }
    double initial(const std::string& model, unsigned x, unsigned y, unsigned z) {
        const SDModelDeclaration* declaration = m_sink.find(model);
        double value = -1.0;
        if (declaration == nullptr || declaration->initial == nullptr ||
            !declaration->initial->at(x, y, z, value)) {
            return -1.0;
        }
        return value;
    }

    TempDir m_dir;
    DeclarationSink m_sink;
    LogRecorder m_log;
    std::vector<std::string> m_errors;
};

TEST_F(SLMaFileTest, ReadsCouplingsSizesAndInitialValuesInTheirPrecedence) {
    m_dir.write("rock.val", "% cells\n(1,2,0) = 7\n\n(0,0,1) = ?\n(3,1,0) = 8.5\n");
    ASSERT_TRUE(
        read("% a run\n"
             "[TOP]\n"
             "Components : Loader gunner@Gunner  % two\n"
             "in : ammu_in safety_in\n"
             "out : amm_out\n"
             "link : ammu_in ain@loader\n"
             "LINK : out@gunner fin@Loader\n"
             "[rock]\n"
             "type : Cell\n"
             "InitialRowValue : 1 2?3\n"  // after the files in the text, below them in precedence
             "dim : (4,3,2)\n"
             "initialValue : 0.5\n"
             "initialcellsvalue : rock.val\n"
             "localtransition : fall-rule\n"
             "[plane]\n"
             "width : 25\n"
             "height : 20\n"
             "initialmapvalue : nothing-here.map\n"
             "[fall-rule]\n"
             "rule : 1 100 { t }\n"));
    ASSERT_EQ(3u, m_sink.declarations.size()) << "a section of rules declares no model";

    const SDModelDeclaration& top = *m_sink.find("top");
    EXPECT_FALSE(top.cellSpace);
    ASSERT_EQ(2u, top.coupling.components.size());
    EXPECT_EQ("loader", top.coupling.components[0].name);
    EXPECT_EQ("", top.coupling.components[0].type);
    EXPECT_EQ("gunner", top.coupling.components[1].name);
    EXPECT_EQ("Gunner", top.coupling.components[1].type);
    EXPECT_EQ((std::vector<std::string>{"ammu_in", "safety_in"}), top.coupling.inputPorts);
    EXPECT_EQ((std::vector<std::string>{"amm_out"}), top.coupling.outputPorts);
    ASSERT_EQ(2u, top.coupling.links.size());
    EXPECT_EQ("ammu_in -> ain@loader", top.coupling.links[0].describe());
    EXPECT_EQ("out@gunner -> fin@loader", top.coupling.links[1].describe());

    const SDModelDeclaration& rock = *m_sink.find("rock");
    EXPECT_TRUE(rock.cellSpace);
    EXPECT_EQ(3, rock.dimensions);
    EXPECT_EQ(4u, rock.width);
    EXPECT_EQ(3u, rock.height);
    EXPECT_EQ(2u, rock.length);
    EXPECT_EQ(0.5, initial("rock", 0, 0, 0)) << "initialvalue alone";
    EXPECT_EQ(2.0, initial("rock", 1, 0, 0)) << "the row";
    EXPECT_EQ(0.5, initial("rock", 1, 1, 0)) << "'?' in the row gives nothing of its own";
    EXPECT_EQ(7.0, initial("rock", 1, 2, 0)) << "the .val file over the row";
    EXPECT_EQ(8.5, initial("rock", 3, 1, 0));
    EXPECT_EQ(0.5, initial("rock", 0, 0, 1)) << "'?' in the .val file";

    const SDModelDeclaration& plane = *m_sink.find("plane");
    EXPECT_EQ(2, plane.dimensions);
    EXPECT_EQ(25u, plane.width);
    EXPECT_EQ(20u, plane.height);
    EXPECT_EQ(nullptr, plane.initial);
    EXPECT_EQ((std::vector<std::string>{"Model file " + m_dir.file("run.ma") + ", line 18: unable to open " +
                                        m_dir.file("nothing-here.map")}),
              m_errors);
}

TEST_F(SLMaFileTest, AMapGivesEveryCellInTurnTheFirstCoordinateSlowest) {
    m_dir.write("rock.map", "1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n12\n");
    ASSERT_TRUE(read("[rock]\ndim : (2,3,2)\ninitialvalue : 0\ninitialmapvalue : rock.map\n"));
    EXPECT_EQ(1.0, initial("rock", 0, 0, 0));
    EXPECT_EQ(2.0, initial("rock", 0, 0, 1));
    EXPECT_EQ(3.0, initial("rock", 0, 1, 0));
    EXPECT_EQ(7.0, initial("rock", 1, 0, 0));
    EXPECT_EQ(12.0, initial("rock", 1, 2, 1));
    EXPECT_TRUE(m_errors.empty());
}

TEST_F(SLMaFileTest, EachBadLineIsReportedWithItsFileAndLineAndTheRestIsRead) {
    struct Case {
        std::string line;  // the third line of the file, in section [space]
        std::string file;  // the file reported: run.ma or an included one
        long lineNumber;   // 0: no line
        std::string reason;
        std::string included;  // the content of space.val / space.map
    };
    const std::vector<Case> cases = {
        {"initialvalue 0", "run.ma", 3, "no ':' between a key and its value", ""},
        {": 3", "run.ma", 3, "no key before ':'", ""},
        {"dim : (0,8)", "run.ma", 3, "dim wants 2 or 3 positive whole numbers, as (8,8,8), not '(0,8)'", ""},
        {"dim : (8)", "run.ma", 3, "dim wants 2 or 3 positive whole numbers, as (8,8,8), not '(8)'", ""},
        {"dim : (8,8,8,8)", "run.ma", 3,
         "dim wants 2 or 3 positive whole numbers, as (8,8,8), not '(8,8,8,8)'", ""},
        {"dim : (5000,5000)", "run.ma", 3, "(5000,5000) holds more than 16777216 cells", ""},
        {"width : 8", "run.ma", 3, "width and height go together", ""},
        {"height : -2", "run.ma", 3, "height wants a positive whole number, not '-2'", ""},
        {"height : 99999999999", "run.ma", 3,
         "height 99999999999 is too large: a cell space holds at most 16777216 cells", ""},
        {"dim : (8, 4294967296)", "run.ma", 3, "(8, 4294967296) holds more than 16777216 cells", ""},
        {"initialvalue : zero", "run.ma", 3, "'zero' is not a number", ""},
        {"initialvalue : 1e999", "run.ma", 3, "'1e999' is not a number", ""},
        {std::string("initialvalue : 4\0x5", 19), "run.ma", 3, "'4\\0x5' is not a number", ""},
        {"link : out@gunner", "run.ma", 3, "a link is written from-port[@model] to-port[@model]", ""},
        {"link : out@ fin@loader", "run.ma", 3, "a link is written from-port[@model] to-port[@model]", ""},
        {"initialrowvalue : 4 0101", "run.ma", 3, "row 4 lies outside dim (4,4)", ""},
        {"initialrowvalue : 1 01010", "run.ma", 3, "a row of 5 values is longer than the 4 of dim (4,4)", ""},
        {"initialrowvalue : 1 01x1", "run.ma", 3, "'x' is not a digit", ""},
        {"initialcellsvalue : space.val", "space.val", 2, "cell (4,0) lies outside dim (4,4)",
         "(1,1) = 2\n(4,0) = 1\n"},
        {"initialcellsvalue : space.val", "space.val", 1,
         "a cell's value is written (x,y) = value or (x,y,z) = value", "1,1 = 2\n"},
        {"initialcellsvalue : space.val", "space.val", 1, "'two' is not a number", "(1,1) = two\n"},
        {"initialmapvalue : space.map", "space.map", 18,
         "more values than the 16 cells of dim (4,4); the rest is passed over",
         "1\n1\n1\n1\n1\n1\n1\n1\n\n1\n1\n1\n1\n1\n1\n1\n1\n1\n2\n"},
        {"initialmapvalue : space.map", "space.map", 0, "3 values for the 16 cells of dim (4,4)",
         "1\n2\n3\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        if (!c.included.empty()) {
            m_dir.write(c.file, c.included);
        }
        // The line comes between a dim and an initial value that must both still be read.
        ASSERT_TRUE(read("[space]\ndim : (4,4)\n" + c.line + "\ninitialvalue : 9\n"));
        const std::string where = c.lineNumber > 0 ? ", line " + std::to_string(c.lineNumber) : "";
        const std::string expected = "Model file " + m_dir.file(c.file) + where + ": " + c.reason;
        ASSERT_EQ(1u, m_errors.size()) << m_log.text();
        EXPECT_EQ(expected, m_errors[0]);
        EXPECT_TRUE(m_log.contains(expected));
        const SDModelDeclaration* space = m_sink.find("space");
        ASSERT_NE(nullptr, space);
        EXPECT_EQ(4u, space->width);
        ASSERT_NE(nullptr, space->initial);
        EXPECT_EQ(9.0, space->initial->getCommon()) << "the line after the bad one";
    }
}

// Products past 2^32 or 2^64 are refused; the rows and cells after them find no size.
TEST_F(SLMaFileTest, SizesOverTheCellLimitAreRefusedHoweverLargeTheirProduct) {
    struct Case {
        std::string size, refused;
        int line;  // of the refusal
    };
    const std::vector<Case> cases = {
        {"dim : (536870912,536870912,64)", "(536870912,536870912,64)", 2},  // wraps to 0
        {"dim : (999999827,970881435,19)", "(999999827,970881435,19)", 2},  // wraps to 3,171,539
        {"width : 65536\nheight : 65536", "(65536,65536)", 3},
    };
    m_dir.write("space.val", "(0,166924,0) = 42\n");
    const std::string file = "Model file " + m_dir.file("run.ma") + ", line ";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        ASSERT_TRUE(read("[space]\n" + c.size + "\ninitialrowvalue : 0 1\ninitialcellsvalue : space.val\n"));
        EXPECT_EQ((std::vector<std::string>{
                      file + std::to_string(c.line) + ": " + c.refused + " holds more than 16777216 cells",
                      file + std::to_string(c.line + 1) +
                          ": initialrowvalue needs the model's dim (or width and height)",
                      file + std::to_string(c.line + 2) +
                          ": initialcellsvalue needs the model's dim (or width and height)"}),
                  m_errors);
    }
    ASSERT_TRUE(read("[space]\ndim : (16777216,1,1)\n[plane]\nwidth : 4096\nheight : 4096\n"));
    EXPECT_TRUE(m_errors.empty()) << "the limit itself is taken";
}

TEST_F(SLMaFileTest, KeysAfterABadSectionBelongToNoModel) {
    // Given to the section before, they would change a model the file does not mean.
    ASSERT_TRUE(read("[top]\ncomponents : rock\n[rock\ndim : (4,4)\n"));
    const std::string file = "Model file " + m_dir.file("run.ma");
    EXPECT_EQ((std::vector<std::string>{
                  file + ", line 3: a section starts with its model's name in brackets, as [top]",
                  file + ", line 4: 'dim' is not in a [section]"}),
              m_errors);
    ASSERT_EQ(1u, m_sink.declarations.size());
    EXPECT_EQ(0, m_sink.declarations[0].dimensions);
}

TEST_F(SLMaFileTest, ALogReadByMistakeReportsFiftyLinesAndCountsTheRest) {
    const std::string log = std::string(TESS_SOURCE_DIR) + "/samples/life_20x20.log";
    SLMaFile file(&m_sink, log);
    ASSERT_TRUE(file.load());
    EXPECT_EQ(5614u, file.getSkipped()) << "every line of the sample (samples/README.md)";
    ASSERT_EQ(SLMaFile::kMaxReported + 1, file.getErrors().size());
    EXPECT_EQ("Model file " + log + ", line 1: 'msg i / 00' is not in a [section]", file.getErrors().front());
    EXPECT_EQ("Model file " + log + ": more lines cannot be read; they are skipped without a word",
              file.getErrors().back());
    EXPECT_EQ(SLMaFile::kMaxReported + 1, m_log.lines().size());
}

TEST_F(SLMaFileTest, AMissingFileFailsAsAMissingLogDoes) {
    SLMaFile file(&m_sink, m_dir.file("absent.ma"));
    EXPECT_FALSE(file.load());
    EXPECT_EQ("Unable to open model file for import", file.getFailure());
    EXPECT_TRUE(m_log.contains("Unable to open model file for import"));
    SLMaFile folder(&m_sink, m_dir.path());
    EXPECT_FALSE(folder.load()) << "a folder is not a model file";
    EXPECT_TRUE(m_sink.declarations.empty());
}

}  // namespace
