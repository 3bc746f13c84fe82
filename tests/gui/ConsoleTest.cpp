#include <gtest/gtest.h>

#include <algorithm>
#include <list>
#include <memory>
#include <string>
#include <vector>

#include "gui/VDConsole.h"
#include "gui/VDEditBox.h"
#include "gui/VDTextBox.h"
#include "gui/VDTextButton.h"
#include "shell/ConsoleChannel.h"
#include "shell/EngineVariables.h"
#include "shell/Log.h"
#include "shell/VDGarbageCan.h"
#include "tests/gui/ConsoleFakes.h"
#include "tests/gui/ProbeWindow.h"
#include "tests/support/LogRecorder.h"

namespace {

using Lines = std::vector<std::string>;

void expectRect(const VDRect& r, float x1, float y1, float x2, float y2) {
    EXPECT_FLOAT_EQ(x1, r.getX1());
    EXPECT_FLOAT_EQ(y1, r.getY1());
    EXPECT_FLOAT_EQ(x2, r.getX2());
    EXPECT_FLOAT_EQ(y2, r.getY2());
}

// A console placed as the main window places it, inside an owner that records what rises to it.
class ConsoleTest : public ::testing::Test {
  protected:
    void SetUp() override {
        createGarbageCan();
        console = std::make_unique<VDConsole>(std::make_unique<FakeParser>(&journal));
        console->setId(1);
        console->setRectangle(VDRect(10, 50, 790, 550));
        console->setCloseButton(true);
        console->initialise();
        console->setParent(&owner);
    }
    void TearDown() override {
        console.reset();
        destroyGarbageCan();
    }
    void enter(const std::string& line) {
        typeText(*console, line);
        pressKey(*console, VDKey::KEY_ENTER);
    }
    std::string commandLine() const { return console->getCommandLine()->getText(); }

    Lines journal;
    Lines ownerJournal;
    ProbeWindow owner{"owner", &ownerJournal};
    std::unique_ptr<VDConsole> console;
};

TEST_F(ConsoleTest, LaysOutCommandLineOutputAndCloseButtonInsideThePanel) {
    EXPECT_TRUE(console->isOpen());
    EXPECT_EQ("Console", console->getTitle());
    expectRect(console->getCommandLine()->getRectangle(), 20, 60, 780, 80);
    expectRect(console->getOutput()->getRectangle(), 20, 90, 780, 520);
    expectRect(console->getCloseButton()->getRectangle(), 768, 528, 786, 546);
    EXPECT_TRUE(console->getCommandLine()->isFocused());
    EXPECT_EQ(1000, console->getOutput()->getLog().getCapacity());

    // Moving the panel carries its contents along.
    console->setRectangle(VDRect(20, 60, 800, 560));
    expectRect(console->getCommandLine()->getRectangle(), 30, 70, 790, 90);
    expectRect(console->getOutput()->getRectangle(), 30, 100, 790, 530);
}

TEST_F(ConsoleTest, EnterPrintsTheReplyExecutesTheCommandAndClearsTheLine) {
    enter("ok go");
    EXPECT_EQ((Lines{"parsed ok go", "executed ok go"}), journal);
    EXPECT_EQ((Lines{"", "done: ok go"}), outputLines(*console));
    EXPECT_EQ("", commandLine());
    EXPECT_EQ((Lines{"ok go"}), Lines(console->getHistory().begin(), console->getHistory().end()));
    // The console leaves the executed command to the garbage can.
    EXPECT_EQ(1u, getGarbageCan()->pendingCount());

    // A refusal is printed and still enters the history; nothing is executed.
    journal.clear();
    enter("nope x");
    EXPECT_EQ((Lines{"parsed nope x"}), journal);
    EXPECT_EQ((Lines{"", "done: ok go", "", "Unknown command: nope"}), outputLines(*console));
    EXPECT_EQ(2u, console->getHistory().size());
    EXPECT_EQ("", commandLine());

    // Enter on an empty line parses nothing.
    journal.clear();
    pressKey(*console, VDKey::KEY_ENTER);
    EXPECT_TRUE(journal.empty());
    EXPECT_EQ(2u, console->getHistory().size());
}

TEST_F(ConsoleTest, HistoryKeepsTheLast25LinesAndUpDownStopAtTheEnds) {
    pressKey(*console, VDKey::KEY_UP);
    pressKey(*console, VDKey::KEY_DOWN);
    EXPECT_EQ("", commandLine()) << "an empty history changes nothing";

    enter("one");
    enter("two");
    enter("three");
    pressKey(*console, VDKey::KEY_UP);
    EXPECT_EQ("three", commandLine());
    EXPECT_EQ(5, console->getCommandLine()->getCursor());
    pressKey(*console, VDKey::KEY_UP);
    EXPECT_EQ("two", commandLine());
    pressKey(*console, VDKey::KEY_DOWN);
    EXPECT_EQ("three", commandLine());
    pressKey(*console, VDKey::KEY_DOWN);
    EXPECT_EQ("three", commandLine()) << "Down never goes past the newest line";
    pressKey(*console, VDKey::KEY_UP);
    pressKey(*console, VDKey::KEY_UP);
    pressKey(*console, VDKey::KEY_UP);
    EXPECT_EQ("one", commandLine()) << "Up stops at the oldest line";

    console->getCommandLine()->setText("");
    for (int i = 4; i <= 26; ++i) {
        enter("line" + std::to_string(i));
    }
    const std::list<std::string>& history = console->getHistory();
    ASSERT_EQ(25u, history.size());
    EXPECT_EQ("two", history.front()) << "the first of 26 lines is gone";
    EXPECT_EQ("line26", history.back());
    pressKey(*console, VDKey::KEY_UP);
    EXPECT_EQ("line26", commandLine());
}

TEST_F(ConsoleTest, TabCompletesOneNameOrListsSeveral) {
    typeText(*console, "b");
    pressKey(*console, VDKey::KEY_TAB);
    EXPECT_EQ("beta", commandLine());
    EXPECT_EQ(4, console->getCommandLine()->getCursor());
    EXPECT_TRUE(outputLines(*console).empty());
    EXPECT_TRUE(console->getCommandLine()->isFocused()) << "Tab does not move the focus";

    console->getCommandLine()->setText("al");
    pressKey(*console, VDKey::KEY_TAB);
    EXPECT_EQ("al", commandLine());
    EXPECT_EQ((Lines{"", "Command List:", "-------------", "alpha", "alpine"}), outputLines(*console));

    console->getCommandLine()->setText("x");
    pressKey(*console, VDKey::KEY_TAB);
    EXPECT_EQ("x", commandLine());
    EXPECT_EQ(5u, outputLines(*console).size());
}

// Completes every line by "/more" (a line "long" into more than the command line holds), with a listing
// under its own heading.
class LineParser : public FakeParser {
  public:
    explicit LineParser(std::vector<std::string>* journal) : FakeParser(journal) {}
    VDLineCompletion completeLine(const std::string& line) const override {
        return VDLineCompletion{
            line == "long" ? std::string(300, 'x') : line + "/more", "Things:", {"one", "two"}};
    }
};

TEST(LineConsoleTest, TabTakesTheParsersLineAndListing) {
    Lines journal;
    VDConsole console(std::make_unique<LineParser>(&journal));
    console.setRectangle(VDRect(10, 50, 790, 550));
    console.initialise();
    typeText(console, "runs");
    pressKey(console, VDKey::KEY_TAB);
    EXPECT_EQ("runs/more", console.getCommandLine()->getText());
    EXPECT_EQ(9, console.getCommandLine()->getCursor());
    EXPECT_EQ((Lines{"", "Things:", "-------------", "one", "two"}), outputLines(console));

    console.getCommandLine()->setText("long");
    pressKey(console, VDKey::KEY_TAB);
    EXPECT_EQ("long", console.getCommandLine()->getText()) << "not offered: the command line cannot hold it";
    EXPECT_EQ(10u, outputLines(console).size());
}

TEST_F(ConsoleTest, ArrowKeysScrollTheOutputWhenItHasTheFocus) {
    for (int i = 0; i < 30; ++i) {
        console->print("line " + std::to_string(i));
    }
    click(*console, 100, 300);  // into the output
    ASSERT_TRUE(console->getOutput()->isFocused());
    pressKey(*console, VDKey::KEY_UP);
    pressKey(*console, VDKey::KEY_UP);
    EXPECT_EQ(2, console->getOutput()->getFirstLine());
    pressKey(*console, VDKey::KEY_DOWN);
    EXPECT_EQ(1, console->getOutput()->getFirstLine());
    pressKey(*console, VDKey::KEY_UP | VDKey::KEY_SHIFT);
    EXPECT_EQ(1, console->getOutput()->getFirstLine()) << "a key with a modifier is not Up";
    pressKey(*console, VDKey::KEY_DOWN);
    pressKey(*console, VDKey::KEY_DOWN);
    EXPECT_EQ(0, console->getOutput()->getFirstLine());
    EXPECT_EQ("", commandLine()) << "history keys are for the command line only";
}

TEST_F(ConsoleTest, CloseButtonRaisesACloseEventWithTheConsoleId) {
    click(*console, 777, 537);
    EXPECT_EQ(1, std::count(ownerJournal.begin(), ownerJournal.end(), "owner:11"));
    EXPECT_EQ(1, owner.lastSourceId);
}

TEST_F(ConsoleTest, AClosedConsoleTakesNoInputButKeepsPrinting) {
    console->close();
    EXPECT_FALSE(console->isOpen());
    EXPECT_EQ(1, std::count(ownerJournal.begin(), ownerJournal.end(), "owner:8")) << "redisplay request";
    VDKeyDownEvent key('a');
    EXPECT_FALSE(console->handleEvent(&key));
    EXPECT_EQ("", commandLine());
    console->print("while closed");
    console->open();
    EXPECT_TRUE(console->isOpen());
    EXPECT_EQ((Lines{"while closed"}), outputLines(*console));
}

TEST_F(ConsoleTest, AKeyDownThatIsNotOneIsReportedAndConsumed) {
    LogRecorder rec;
    ImpostorEvent fake(VDEvent::KEY_DOWN);
    EXPECT_TRUE(console->handleEvent(&fake));
    EXPECT_EQ(1u, rec.count("Invalid key down event sent to console"));
}

TEST(ConsoleBuildTest, LinesPrintedBeforeTheContentsExistAreDropped) {
    Lines journal;
    VDConsole console(std::make_unique<FakeParser>(&journal));
    EXPECT_FALSE(console.isOpen());
    console.print("too early");
    console.buildContents(3);
    console.buildContents(50);  // only the first call counts
    EXPECT_TRUE(outputLines(console).empty());
    for (const char* line : {"a", "b", "c", "d"}) {
        console.print(line);
    }
    EXPECT_EQ((Lines{"b", "c", "d"}), outputLines(console));
}

// While the slot holds a console, logged lines reach it; once the slot is emptied they reach nothing.
TEST(ConsoleSlotTest, TheSlotConnectsTheLogToTheConsole) {
    Lines journal;
    getEngineVariables()->setBool("console_logging", true);
    setConsole(std::make_unique<VDConsole>(std::make_unique<FakeParser>(&journal)));
    ASSERT_NE(nullptr, getConsole());
    getConsole()->initialise();
    logMessage("value %d", 7);
    consolePrint("direct");
    EXPECT_EQ((Lines{"value 7", "direct"}), outputLines(*getConsole()));
    destroyConsole();
    EXPECT_EQ(nullptr, getConsole());
    EXPECT_FALSE(consoleAvailable());
    getEngineVariables()->removeVariable("console_logging");
}

}  // namespace
