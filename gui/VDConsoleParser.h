#pragma once

#include <string>
#include <vector>

class VDConsoleCommand;

// What Tab makes of a console line: the line completed as far as it goes, and the candidates to list when
// it cannot be completed further.
struct VDLineCompletion {
    std::string line;
    std::string title;                 // the listing's heading, such as "Command List:"
    std::vector<std::string> listing;  // empty: nothing to list
};

// Turns a console line into a command object. The console knows nothing of the commands themselves: it
// prints the reply the parser gives, executes what it returns, and asks it for completions on Tab.
class VDConsoleParser {
  public:
    VDConsoleParser();
    VDConsoleParser(const VDConsoleParser&) = delete;
    VDConsoleParser& operator=(const VDConsoleParser&) = delete;
    virtual ~VDConsoleParser();

    // On success `*command` receives a new command, which the caller executes and which then disposes of
    // itself through the garbage can (a raw pointer because that hand-over is the command's own business),
    // and `reply` the text to show. On failure `*command` is null (or untouched for a line without tokens)
    // and `reply` says why.
    virtual bool parse(std::string line, VDConsoleCommand** command, std::string& reply) = 0;
    // The known names that begin with `prefix`, in registration order; all of them for an empty prefix.
    virtual std::vector<std::string> getCompletions(const std::string& prefix) const;
    virtual std::vector<std::string> getCommandNames() const;
    // Tab on a whole line. Here: command names, by getCompletions over the whole line. One match becomes
    // the line; several are listed under "Command List:" and leave the line as it is.
    virtual VDLineCompletion completeLine(const std::string& line) const;
    virtual void addCommandName(const std::string& name);
    // Called once a command the parser returned has been executed; nothing here.
    virtual void commandExecuted() {}

    // Splits `text` at every character of `delimiters`. Neighbouring delimiters give empty pieces, so does
    // a leading one; nothing follows a trailing one, and an empty text gives no piece.
    static std::vector<std::string> tokenize(const std::string& text, const std::string& delimiters);

  protected:
    std::vector<std::string> m_commandNames;
};
