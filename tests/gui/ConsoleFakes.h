#pragma once

#include <memory>
#include <string>
#include <vector>

#include "gui/VDConsole.h"
#include "gui/VDConsoleCommand.h"
#include "gui/VDConsoleParser.h"
#include "gui/VDEvent.h"
#include "gui/VDMainWindow.h"
#include "gui/VDMessageBoxCallBack.h"
#include "gui/VDStringLog.h"
#include "gui/VDTextBox.h"

// A command that notes its execution in a journal and disposes of itself as real commands do.
class FakeCommand : public VDConsoleCommand {
  public:
    FakeCommand(std::string line, std::vector<std::string>* journal)
        : VDConsoleCommand("ok"), m_line(std::move(line)), m_journal(journal) {}
    void execute() override {
        m_journal->push_back("executed " + m_line);
        dispose();
    }
    bool parseArguments(const std::vector<std::string>&, std::string& reply) override {
        reply = "done: " + m_line;
        return true;
    }

  private:
    std::string m_line;
    std::vector<std::string>* m_journal;
};

// Knows "alpha", "alpine" and "beta" for completion; a line starting with "ok" makes a FakeCommand, any
// other line is refused.
class FakeParser : public VDConsoleParser {
  public:
    explicit FakeParser(std::vector<std::string>* journal) : m_journal(journal) {
        addCommandName("alpha");
        addCommandName("alpine");
        addCommandName("beta");
    }
    bool parse(std::string line, VDConsoleCommand** command, std::string& reply) override {
        m_journal->push_back("parsed " + line);
        std::vector<std::string> tokens = tokenize(line, " ");
        if (tokens.empty() || tokens[0] != "ok") {
            *command = nullptr;
            reply = "Unknown command: " + (tokens.empty() ? std::string() : tokens[0]);
            return false;
        }
        auto created = std::make_unique<FakeCommand>(line, m_journal);
        created->parseArguments(tokens, reply);
        *command = created.release();
        return true;
    }

  private:
    std::vector<std::string>* m_journal;
};

// A question asked through the main window, as the exit command asks it; disposes of itself on the answer.
class AskCommand : public VDConsoleCommand, public VDMessageBoxCallBack {
  public:
    explicit AskCommand(std::vector<int>* answers) : VDConsoleCommand("ask"), m_answers(answers) {}
    void execute() override { getMainWindow()->showMessageBox(0, "Really?", this); }
    bool parseArguments(const std::vector<std::string>&, std::string&) override { return true; }
    void onResult(int result) override {
        m_answers->push_back(result);
        dispose();
    }

  private:
    std::vector<int>* m_answers;
};

inline void pressKey(VDWindow& window, int key) {
    VDKeyDownEvent down(key);
    window.handleEvent(&down);
}

inline void releaseKey(VDWindow& window, int key) {
    VDKeyUpEvent up(key);
    window.handleEvent(&up);
}

inline void typeText(VDWindow& window, const std::string& text) {
    for (char c : text) {
        pressKey(window, static_cast<unsigned char>(c));
    }
}

inline void click(VDWindow& window, int x, int y) {
    VDMouseDownEvent down(VDMouseButtonEvent::LEFT, x, y);
    window.handleEvent(&down);
    VDMouseUpEvent up(VDMouseButtonEvent::LEFT, x, y);
    window.handleEvent(&up);
}

// The console's output, oldest line first, as it reads on screen.
inline std::vector<std::string> outputLines(const VDConsole& console) {
    const VDStringLog& log = console.getOutput()->getLog();
    std::vector<std::string> lines(log.begin(), log.end());
    return std::vector<std::string>(lines.rbegin(), lines.rend());
}
