#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "simdata/SDBlockLook.h"
#include "simdata/SDLogMessage.h"
#include "simdata/SDModelHistory.h"
#include "simdata/SDModelTree.h"

// The models of a run as a hierarchy with their history: what the log's message lines say of every model
// that is not a cell (SDModelTree, SDModelHistory), and how the user wants their blocks coloured.
class SDModelStructure {
  public:
    // A model's state at a time, as its look shows it.
    enum class Activity {
        Active,   // an internal transition, an X received or a Y sent at that very time
        Waiting,  // its last D so far has a delay: an event is scheduled
        Passive,  // its last D so far is "...": nothing is scheduled
        Unknown,  // no D yet
    };

    SDModelStructure() = default;
    SDModelStructure(const SDModelStructure&) = delete;
    SDModelStructure& operator=(const SDModelStructure&) = delete;

    // One message line of a log.
    void add(const SDLogMessage& message);

    const SDModelTree& tree() const { return m_tree; }
    // The history indexed for the hierarchy as it is now.
    const SDModelHistory& history();
    Activity activityAt(uint32_t model, double time);
    // Whether any plain atomic model exists: a run of cell spaces alone (and the coupled models that hold
    // them) has nothing a picture of the hierarchy would add to its cells.
    bool hasAtomicModel() const;

    // The look of a model's block, made on first use; null from findLook while it has none.
    SDBlockLook& look(const std::string& model);
    const SDBlockLook* findLook(std::string_view model) const;
    SDBlockLook* findLook(std::string_view model);

    // Grows with every line added and every change of look.
    uint64_t revision() const { return m_tree.revision() + m_history.size() + m_lookChanges; }

  private:
    SDModelTree m_tree;
    SDModelHistory m_history;
    // Looked up by a name's view every frame: no string is made for it.
    std::map<std::string, std::unique_ptr<SDBlockLook>, std::less<>> m_looks;
    uint64_t m_lookChanges = 0;
};
