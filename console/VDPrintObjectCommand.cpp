#include "console/VDPrintObjectCommand.h"

#include <cstdio>

#include "console/CommandArguments.h"
#include "control/VCSimulation.h"
#include "gui/VDConsole.h"
#include "scene/SDNodeList.h"
#include "scene/SDSceneGraph.h"
#include "simdata/SDDevsModelList.h"
#include "simdata/SDEventList.h"
#include "simdata/SDVisualization.h"

namespace {

const char* const kDashes = "----------------------";

// The listings: the model and event lists write through the log, and reach the console through its
// console channel.
void printVisualization(VDConsole& console, const SDVisualization& visualization) {
    console.print(kDashes);
    console.print("Current Visualization:");
    console.print("Name: " + visualization.getName());
    console.print("Current Time: " + visualization.getTime().toString());
    console.print(kDashes);
}

void printNodeList(VDConsole& console, const SDVisualization& visualization) {
    SDNodeList* nodes = visualization.getSceneGraph()->getNodeList();
    const int count = nodes != nullptr ? nodes->getNumNodes() : 0;
    char text[64];
    console.print(kDashes);
    console.print("Node List:");
    std::snprintf(text, sizeof text, "List Size: %d", count);
    console.print(text);
    console.print(kDashes);
    for (int i = 0; i < count; ++i) {
        std::snprintf(text, sizeof text, "Node %d", i);
        console.print(text);
        SDSceneNodeInfo* info = nodes->getNodeInfo(i);
        if (info != nullptr && info->getNode() != nullptr) {
            console.print(info->getNode()->print());
        }
    }
    console.print(kDashes);
}

void printModelList(VDConsole& console, const SDVisualization& visualization) {
    console.print(kDashes);
    console.print("Model List:");
    visualization.getModelList()->printAll();
    console.print(kDashes);
}

void printEventList(VDConsole& console, const SDVisualization& visualization) {
    console.print(kDashes);
    console.print("Event List:");
    visualization.getEventList()->printAll();
    console.print(kDashes);
}

}  // namespace

VDPrintObjectCommand::VDPrintObjectCommand() : VDConsoleCommand("print") {}
VDPrintObjectCommand::~VDPrintObjectCommand() = default;

bool VDPrintObjectCommand::parseArguments(const std::vector<std::string>& tokens, std::string& reply) {
    if (tokens.size() != 2 ||
        (tokens[1] != "VIS" && tokens[1] != "VIS_NL" && tokens[1] != "VIS_ML" && tokens[1] != "VIS_EL")) {
        reply = commandargs::usage(m_name);
        return false;
    }
    setObjectName(tokens[1]);
    reply = "Printing object info...";
    return true;
}

void VDPrintObjectCommand::setObjectName(const std::string& objectName) {
    m_objectName = objectName;
}

void VDPrintObjectCommand::execute() {
    const SDVisualization* visualization = getVisualization();
    VDConsole* console = getConsole();
    if (m_objectName == "VIS") {
        if (visualization == nullptr) {
            commandargs::say("Unable to print out visualization. Visualization does not exist.");
        } else if (console != nullptr) {
            printVisualization(*console, *visualization);
        }
    } else if (m_objectName == "VIS_NL") {
        if (visualization == nullptr) {
            commandargs::say("Unable to print out visualization node list. Visualization does not exist.");
        } else if (console != nullptr) {
            printNodeList(*console, *visualization);
        }
    } else if (m_objectName == "VIS_ML") {
        if (visualization == nullptr) {
            commandargs::say("Unable to print out visualization model list. Visualization does not exist.");
        } else if (console != nullptr) {
            printModelList(*console, *visualization);
        }
    } else if (m_objectName == "VIS_EL") {
        if (visualization == nullptr) {
            commandargs::say("Unable to print out visualization event list. Visualization does not exist.");
        } else if (console != nullptr) {
            printEventList(*console, *visualization);
        }
    }
    dispose();
}
