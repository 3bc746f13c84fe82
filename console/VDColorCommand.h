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
// A model's block in the view of the hierarchy is coloured by the values on one of its ports:
// "vis_color <model>.<port> <low> <high> <r> <g> <b> [<a>]" adds a rule on that port (an output port, or
// else an input port of that name), "vis_color <model>.<port> clear" removes the port's rules,
// "vis_color <model>.<port> ramp" colours the block by the ramp over the port's range over the whole run
// where no rule holds, and "vis_color <model> clear" removes them all: the block shows its activity again.
//
// Every reply, refusals included, goes to the console and to the log file.
class VDColorCommand : public VDConsoleCommand {
  public:
    enum class Action { AddRule, Clear, NoValue, Ramp };
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
    // The forms on a port: `model` and `port` are the two sides of the last '.'.
    void executeOnPort(const std::string& model, const std::string& port);
    // The block's rules go with the cells' on "vis_color <model> clear".
    void clearBlock(const std::string& model, bool cells);

    Action m_action = Action::AddRule;
    std::string m_model;
    double m_low = 0.0;
    double m_high = 0.0;
    Colour m_colour{0.0f, 0.0f, 0.0f, 1.0f};
    bool m_clamped = false;
};
