#include "gui/VDConsoleCommand.h"

#include <utility>

#include "shell/VDGarbageCan.h"

VDConsoleCommand::VDConsoleCommand(std::string name) : m_name(std::move(name)) {}

VDConsoleCommand::~VDConsoleCommand() = default;

std::string VDConsoleCommand::getName() const {
    return m_name;
}

void VDConsoleCommand::dispose() {
    if (VDGarbageCan* can = getGarbageCan()) {
        can->dispose(this);
    }
}
