#include "simdata/ModelOffer.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "shell/Log.h"
#include "simdata/SDCELLDevsModel.h"
#include "tests/support/LogRecorder.h"

namespace {

using Lines = std::vector<std::string>;

SDDevsModel* plain(const std::string& name, const Lines& in = {}, const Lines& out = {}) {
    auto* m = new SDDevsModel;
    m->setName(name);
    for (const std::string& p : in) {
        m->appendInputPort(p);
    }
    for (const std::string& p : out) {
        m->appendOutputPort(p);
    }
    return m;
}

SDCELLDevsModel* cells(const std::string& name, unsigned x, unsigned y, unsigned z, const Lines& in = {},
                       const Lines& out = {}) {
    auto* m = new SDCELLDevsModel;
    m->setName(name);
    m->ensureCell(x, y, z);
    for (const std::string& p : in) {
        m->appendInputPort(p);
    }
    for (const std::string& p : out) {
        m->appendOutputPort(p);
    }
    return m;
}

// Offers the record as the loader does: a refused record is deleted by the offerer.
bool offer(SDDevsModelList& registry, SDDevsModel* model) {
    bool taken = offerModel(registry, model);
    if (!taken) {
        delete model;
    }
    return taken;
}

Lines printed(const std::string& name, const Lines& in, const Lines& out, const Lines& space = {}) {
    auto portLine = [](std::string label, const Lines& ports) {
        for (const std::string& p : ports) {
            label += p + " | ";
        }
        return label;
    };
    Lines lines{"Model Data:", "Name: " + name, portLine("Input ports: ", in),
                portLine("Output ports: ", out)};
    if (!space.empty()) {
        lines.push_back("CELL Space:");
        lines.insert(lines.end(), space.begin(), space.end());
    }
    return lines;
}

Lines twice(const Lines& lines) {
    Lines both = lines;
    both.insert(both.end(), lines.begin(), lines.end());
    return both;
}

TEST(ModelOfferTest, NewNamesAreRegisteredAndPlainRecordsMergeTheirPorts) {
    LogRecorder rec;
    SDDevsModelList registry;
    EXPECT_FALSE(offer(registry, nullptr));
    EXPECT_FALSE(offer(registry, plain("")));
    EXPECT_EQ(2u, rec.count("Unable to add Model. No name specified"));
    rec.clear();

    SDDevsModel* first = plain("m", {}, {"y"});
    EXPECT_TRUE(offer(registry, first));
    EXPECT_EQ(printed("m", {}, {"y"}), rec.lines());
    rec.clear();
    EXPECT_FALSE(offer(registry, plain("m", {"x"}, {})));
    EXPECT_EQ(printed("m", {"x"}, {"y"}), rec.lines());
    EXPECT_EQ(first, registry.findModel("m"));
    rec.clear();
    // Nothing new: nothing printed.
    EXPECT_FALSE(offer(registry, plain("m", {"x"}, {"y"})));
    EXPECT_TRUE(rec.lines().empty());

    // A plain record offered to a Cell-DEVS one only brings its ports.
    offer(registry, cells("c", 1, 0, 0));
    rec.clear();
    EXPECT_FALSE(offer(registry, plain("c", {"in"})));
    EXPECT_EQ(printed("c", {"in"}, {}, {"Width: 2"}), rec.lines());
    EXPECT_EQ(2u, registry.size());
}

TEST(ModelOfferTest, CellRecordsGrowTheRegisteredCellRecordAndKeepTheirPorts) {
    LogRecorder rec;
    SDDevsModelList registry;
    auto* life = cells("life", 2, 3, 0);
    EXPECT_TRUE(offer(registry, life));
    rec.clear();
    EXPECT_FALSE(offer(registry, cells("life", 1, 1, 0, {}, {"out"})));
    EXPECT_EQ(printed("life", {}, {"out"}, {"Width: 3", "Height: 4"}), rec.lines());
    rec.clear();
    EXPECT_FALSE(offer(registry, cells("life", 5, 0, 0, {"in"}, {"out"})));
    EXPECT_EQ(printed("life", {"in"}, {"out"}, {"Width: 6", "Height: 4"}), rec.lines());
    EXPECT_EQ(life, registry.findModel("life"));
    // Even a record that brings nothing new is printed once.
    rec.clear();
    EXPECT_FALSE(offer(registry, cells("life", 0, 0, 0)));
    EXPECT_EQ(printed("life", {"in"}, {"out"}, {"Width: 6", "Height: 4"}), rec.lines());
}

TEST(ModelOfferTest, ACellRecordReplacesAPlainRecordOfItsName) {
    LogRecorder rec;
    SDDevsModelList registry;
    offer(registry, plain("top", {"in"}));
    rec.clear();
    EXPECT_FALSE(offer(registry, cells("top", 2, 0, 0, {}, {"out"})));
    auto* top = dynamic_cast<SDCELLDevsModel*>(registry.findModel("top"));
    ASSERT_NE(nullptr, top);
    EXPECT_EQ(3u, top->getWidth());
    EXPECT_EQ(1u, top->getHeight());
    EXPECT_EQ(1u, top->getLength());
    EXPECT_EQ((Lines{"in"}), top->getInputPorts());
    EXPECT_EQ((Lines{"out"}), top->getOutputPorts());
    EXPECT_EQ(twice(printed("top", {"in"}, {"out"}, {"Width: 3"})), rec.lines());
    EXPECT_EQ(1u, registry.size());
    // The replaced plain record is deleted (the sanitizer build reports it otherwise).
}

// What a registered record looks like from outside: kind, ports and counts.
std::string shape(const SDDevsModel& model) {
    std::string text = model.isCellSpace() ? "cells" : "plain";
    for (const std::string& port : model.getInputPorts()) {
        text += " in:" + port;
    }
    for (const std::string& port : model.getOutputPorts()) {
        text += " out:" + port;
    }
    if (const auto* space = dynamic_cast<const SDCELLDevsModel*>(&model)) {
        text += " " + std::to_string(space->getWidth()) + "x" + std::to_string(space->getHeight());
    }
    return text;
}

TEST(ModelOfferTest, AnOfferThatChangesNothingIsKnownBeforeTheMerge) {
    const auto originAt = [](SDCELLDevsModel* m, int x) {
        m->setOrigin({x, 0, 0});
        return m;
    };
    const auto declared = [](SDCELLDevsModel* m) {
        m->declareSize(4, 5, 1, 2);  // above the 3 × 4 the record holds: nothing to report
        return m;
    };
    const struct {
        const char* what;
        std::function<SDDevsModel*()> registered;
        std::function<SDDevsModel*()> offered;
        bool logOn;
        bool nothing;
    } cases[] = {
        {"plain, its port held", [] { return plain("m", {"x"}, {"y"}); }, [] { return plain("m", {"x"}); },
         true, true},
        {"plain, a port new", [] { return plain("m", {"x"}); }, [] { return plain("m", {}, {"x"}); }, true,
         false},
        {"plain offered a cell space", [] { return plain("m", {"x"}); }, [] { return cells("m", 0, 0, 0); },
         false, false},
        {"cells within, log off", [] { return cells("c", 2, 3, 0, {"in"}); },
         [] { return cells("c", 1, 3, 0, {"in"}); }, false, true},
        {"cells within, log on: printed", [] { return cells("c", 2, 3, 0); },
         [] { return cells("c", 1, 1, 0); }, true, false},
        {"cells beyond the width", [] { return cells("c", 2, 3, 0); }, [] { return cells("c", 3, 0, 0); },
         false, false},
        {"cells of another origin", [] { return cells("c", 2, 3, 0); },
         [&] { return originAt(cells("c", 0, 0, 0), -1); }, true, false},
        {"cells offered a plain port held", [] { return cells("c", 2, 3, 0, {"in"}); },
         [] { return plain("c", {"in"}); }, true, true},
        {"cells within a declared size", [&] { return declared(cells("c", 2, 3, 0)); },
         [] { return cells("c", 0, 0, 0); }, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        LogRecorder rec;
        SDDevsModelList registry;
        offer(registry, c.registered());
        holdLogLines(!c.logOn);
        rec.clear();
        std::unique_ptr<SDDevsModel> offered(c.offered());
        SDDevsModel& registeredRecord = *registry.findModel(offered->name());
        EXPECT_EQ(c.nothing, offerChangesNothing(registeredRecord, *offered));
        // The merge itself agrees: nothing changed and nothing written, or something did.
        const std::string before = shape(registeredRecord);
        offerModelCopy(registry, *offered);
        const bool unchanged = before == shape(*registry.findModel(offered->name())) && rec.lines().empty();
        EXPECT_EQ(c.nothing, unchanged) << rec.text();
        holdLogLines(false);
    }
}

}  // namespace
