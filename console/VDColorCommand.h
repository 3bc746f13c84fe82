#pragma once

#include <array>
#include <string>

#include "gui/VDConsoleCommand.h"

// "vis_color <model> <low> <high> <r> <g> <b> [<a>]": cells of a Cell-DEVS model whose value v has
// low <= v <= high get that colour (components 0 .. 1, alpha 1 when left out, alpha 0 hides the cells);
// rules are tried in the order they were added and the first that holds wins.
// "vis_color <model> clear" removes the model's rules; "vis_color <model> none <r> <g> <b> [<a>]" sets
// the look of its cells that have no value yet.
//
// Every reply, refusals included, goes to the console and to the log file.
class VDColorCommand : public VDConsoleCommand {
  public:
    enum class Action { AddRule, Clear, NoValue };
    using Colour = std::array<float, 4>;

    VDColorCommand();
    ~VDColorCommand() override;

    void execute() override;
    bool parseArguments(const std::vector<std::string>& tokens, std::string& reply) override;

    Action getAction() const { return m_action; }
    const std::string& getModel() const { return m_model; }
    double getLow() const { return m_low; }
    double getHigh() const { return m_high; }
    const Colour& getColour() const { return m_colour; }

  private:
    // Reads r, g, b and an optional alpha from tokens[first ...], clamping each to 0 .. 1.
    void readColour(const std::vector<std::string>& tokens, size_t first);

    Action m_action = Action::AddRule;
    std::string m_model;
    double m_low = 0.0;
    double m_high = 0.0;
    Colour m_colour{0.0f, 0.0f, 0.0f, 1.0f};
    bool m_clamped = false;
};
