#pragma once

#include <list>
#include <memory>
#include <string>

#include "gui/VDPanel.h"

class VDConsoleParser;
class VDEditBox;
class VDTextBox;

// The panel through which the user types commands and reads what the program reports: a one-line command
// line along the bottom and a scrolling output above it. A line entered with Enter goes to the parser; its
// reply is printed and the command it returns is executed. The console keeps the last 25 lines for Up and
// Down, completes command names on Tab, and scrolls the output with the arrow and page keys while the output
// has the focus.
class VDConsole : public VDPanel {
  public:
    static constexpr int HISTORY_SIZE = 25;
    static constexpr int OUTPUT_LINES = 1000;
    // The command line takes whole file paths.
    static constexpr int COMMAND_LINE_LENGTH = 255;

    explicit VDConsole(std::unique_ptr<VDConsoleParser> parser);
    ~VDConsole() override;

    bool handleEvent(VDEvent* event) override;
    // Builds the contents with room for OUTPUT_LINES lines of output.
    void initialise() override;
    // Lays the command line and the output out inside the current rectangle, then moves everything along.
    void setRectangle(const VDRect& rect) override;
    virtual void close();
    virtual void open();
    virtual bool isOpen() const;
    // Adds a line to the output. Lines printed before the contents exist are dropped.
    virtual void print(const std::string& line);
    // Creates the command line and the output; only the first call does anything.
    virtual void buildContents(int lines);

    VDEditBox* getCommandLine() const { return m_commandLine; }
    VDTextBox* getOutput() const { return m_output; }
    const std::list<std::string>& getHistory() const { return m_history; }

  private:
    bool handleCommandLineKey(int key);
    void handleOutputKey(int key);
    void showHistoryEntry();

    std::list<std::string> m_history;  // oldest first
    std::list<std::string>::iterator m_historyPos;
    VDEditBox* m_commandLine = nullptr;  // one of m_children
    VDTextBox* m_output = nullptr;       // one of m_children
    std::unique_ptr<VDConsoleParser> m_parser;
    bool m_open = false;
    bool m_built = false;
};

// The program's one console. The main window fills the slot with the console it creates and empties it when
// it goes; the slot owns what it holds. While it is filled, the log's console channel prints into it.
VDConsole* getConsole();
// Replaces (and destroys) any console in the slot.
void setConsole(std::unique_ptr<VDConsole> console);
void destroyConsole();
