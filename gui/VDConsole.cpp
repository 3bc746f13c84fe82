#include "gui/VDConsole.h"

#include <utility>
#include <vector>

#include "gui/VDConsoleCommand.h"
#include "gui/VDConsoleParser.h"
#include "gui/VDEditBox.h"
#include "gui/VDEvent.h"
#include "gui/VDTextBox.h"
#include "gui/VDThemeStore.h"
#include "shell/ConsoleChannel.h"
#include "shell/Log.h"

VDConsole::VDConsole(std::unique_ptr<VDConsoleParser> parser)
    : m_historyPos(m_history.end()), m_parser(std::move(parser)) {}

// The members go in reverse order: the parser, then the history; the panel then destroys the children.
VDConsole::~VDConsole() = default;

void VDConsole::initialise() {
    buildContents(OUTPUT_LINES);
}

void VDConsole::buildContents(int lines) {
    if (m_built) {
        return;
    }
    m_built = true;
    m_open = true;
    setTitle("Console");

    auto commandLine = std::make_unique<VDEditBox>();
    m_commandLine = commandLine.get();
    m_commandLine->setMaxLength(COMMAND_LINE_LENGTH);
    m_focusIndex = addChild(std::move(commandLine));
    m_commandLine->setFocused(true);
    m_commandLine->setParent(this);

    auto output = std::make_unique<VDTextBox>(true);
    m_output = output.get();
    addChild(std::move(output));
    m_output->setParent(this);
    m_output->setCapacity(lines);

    setRectangle(m_rect);
    m_output->initialise();
    m_historyPos = m_history.begin();
}

void VDConsole::setRectangle(const VDRect& rect) {
    const float m = m_margin;
    const float t = m_titleHeight;
    const float x1 = m_rect.getX1();
    const float y1 = m_rect.getY1();
    const float x2 = m_rect.getX2();
    const float y2 = m_rect.getY2();
    if (m_commandLine != nullptr) {
        m_commandLine->setRectangle(VDRect(x1 + m + 5, y1 + m + 5, x2 - m - 5, y1 + m + 25));
    }
    if (m_output != nullptr) {
        m_output->setRectangle(VDRect(x1 + m + 5, y1 + 35 + m, x2 - m - 5, y2 - 5 - t - m));
    }
    VDPanel::setRectangle(rect);
}

void VDConsole::close() {
    if (m_open) {
        m_open = false;
        requestRedisplay();
    }
}

void VDConsole::open() {
    if (!m_open) {
        m_open = true;
        requestRedisplay();
    }
}

bool VDConsole::isOpen() const {
    return m_open;
}

void VDConsole::print(const std::string& line) {
    if (m_built) {
        m_output->addLine(line);
    }
}

bool VDConsole::handleEvent(VDEvent* event) {
    if (!m_open) {
        return false;
    }
    switch (event->getType()) {
        case VDEvent::BUTTON_PRESS: {
            // Only the close button raises presses here; the main window closes the console.
            VDCloseEvent close(m_id);
            dispatch(&close);
            return true;
        }
        case VDEvent::KEY_DOWN: {
            auto* down = dynamic_cast<VDKeyDownEvent*>(event);
            if (m_commandLine != nullptr && m_commandLine->isFocused()) {
                if (down == nullptr) {
                    logMessage("Invalid key down event sent to console");
                    return true;
                }
                if (handleCommandLineKey(down->getKey().getValue())) {
                    return true;
                }
            } else if (m_output != nullptr && m_output->isFocused() && down != nullptr) {
                handleOutputKey(down->getKey().getValue());
            }
            break;
        }
        default:
            break;
    }
    if (dispatch(event)) {
        return true;
    }
    return VDPanel::handleEvent(event);
}

// True when the key is used up here; false when it goes on to the children and the panel.
bool VDConsole::handleCommandLineKey(int key) {
    switch (key) {
        case VDKey::KEY_TAB: {
            if (m_parser == nullptr) {
                return true;
            }
            const std::string text = m_commandLine->getText();
            const VDLineCompletion completion = m_parser->completeLine(text);
            // A completed line that the command line could not hold is not offered.
            const bool grown = completion.line != text &&
                               completion.line.size() <= static_cast<size_t>(m_commandLine->getMaxLength());
            if (!grown && completion.listing.empty()) {
                return true;
            }
            if (grown) {
                m_commandLine->setText(completion.line);
                m_commandLine->setCursor(static_cast<int>(m_commandLine->getText().size()));
            }
            if (!completion.listing.empty()) {
                print("");
                print(completion.title);
                print("-------------");
                for (const std::string& entry : completion.listing) {
                    print(entry);
                }
            }
            requestRedisplay();
            return true;
        }
        case VDKey::KEY_ENTER: {
            const std::string line = m_commandLine->getText();
            if (line.empty() || m_parser == nullptr) {
                return false;
            }
            VDConsoleCommand* command = nullptr;
            std::string reply;
            const bool parsed = m_parser->parse(line, &command, reply);
            print("");
            // A command that reports for itself when it runs gives no reply here.
            if (!reply.empty()) {
                print(reply);
            }
            if (parsed && command != nullptr) {
                // The command disposes of itself.
                command->execute();
                m_parser->commandExecuted();
            }
            m_history.push_back(line);
            m_historyPos = m_history.end();
            if (static_cast<int>(m_history.size()) > HISTORY_SIZE) {
                m_history.pop_front();
            }
            m_commandLine->setText("");
            requestRedisplay();
            return false;
        }
        case VDKey::KEY_DOWN:
            // Down stops at the newest line rather than going past it.
            if (m_historyPos != m_history.end()) {
                ++m_historyPos;
                if (m_historyPos == m_history.end()) {
                    --m_historyPos;
                }
                showHistoryEntry();
            }
            return false;
        case VDKey::KEY_UP:
            if (m_historyPos != m_history.begin()) {
                --m_historyPos;
                showHistoryEntry();
            }
            return false;
        default:
            return false;
    }
}

void VDConsole::showHistoryEntry() {
    m_commandLine->setText(*m_historyPos);
    m_commandLine->setCursor(static_cast<int>(m_historyPos->size()));
    requestRedisplay();
}

// The output draws from the bottom, so a larger first line reveals older lines. The text box keeps the
// value within its bounds.
void VDConsole::handleOutputKey(int key) {
    const VDTheme* theme = currentTheme();
    const int page = theme != nullptr ? theme->visibleLines(m_output) : 0;
    const int first = m_output->getFirstLine();
    switch (key) {
        case VDKey::KEY_UP:
            m_output->setFirstLine(first + 1);
            break;
        case VDKey::KEY_DOWN:
            m_output->setFirstLine(first - 1);
            break;
        case VDKey::KEY_PAGE_UP:
            m_output->setFirstLine(first + page);
            break;
        case VDKey::KEY_PAGE_DOWN:
            m_output->setFirstLine(first - page);
            break;
        default:
            break;
    }
}

namespace {

// Owning, but not a smart pointer: a console left at process end must not be destroyed during static
// destruction, after the log it prints for.
VDConsole* g_console = nullptr;

void printToConsole(const std::string& line) {
    if (g_console != nullptr) {
        g_console->print(line);
    }
}

}  // namespace

VDConsole* getConsole() {
    return g_console;
}

void setConsole(std::unique_ptr<VDConsole> console) {
    destroyConsole();
    g_console = console.release();
    if (g_console != nullptr) {
        setConsoleSink(&printToConsole);
    }
}

void destroyConsole() {
    if (g_console == nullptr) {
        return;
    }
    setConsoleSink(nullptr);
    VDConsole* console = g_console;
    g_console = nullptr;
    delete console;
}
