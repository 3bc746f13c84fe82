#include "gui/VDConsoleParser.h"

#include <utility>

VDConsoleParser::VDConsoleParser() = default;
VDConsoleParser::~VDConsoleParser() = default;

std::vector<std::string> VDConsoleParser::getCompletions(const std::string& prefix) const {
    std::vector<std::string> matches;
    for (const std::string& name : m_commandNames) {
        if (name.size() >= prefix.size() && name.compare(0, prefix.size(), prefix) == 0) {
            matches.push_back(name);
        }
    }
    return matches;
}

VDLineCompletion VDConsoleParser::completeLine(const std::string& line) const {
    VDLineCompletion completion;
    completion.line = line;
    std::vector<std::string> matches = getCompletions(line);
    if (matches.size() == 1) {
        completion.line = matches.front();
    } else if (matches.size() > 1) {
        completion.title = "Command List:";
        completion.listing = std::move(matches);
    }
    return completion;
}

std::vector<std::string> VDConsoleParser::getCommandNames() const {
    return m_commandNames;
}

void VDConsoleParser::addCommandName(const std::string& name) {
    m_commandNames.push_back(name);
}

std::vector<std::string> VDConsoleParser::tokenize(const std::string& text, const std::string& delimiters) {
    std::vector<std::string> pieces;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (delimiters.find(text[i]) != std::string::npos) {
            pieces.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    if (start < text.size()) {
        pieces.push_back(text.substr(start));
    }
    return pieces;
}
