#include "console/CommandTable.h"

#include "console/VDAddDetailNodeCommand.h"
#include "console/VDBackgroundCommand.h"
#include "console/VDCellCommand.h"
#include "console/VDCellLookCommand.h"
#include "console/VDChangesCommand.h"
#include "console/VDCloseCommand.h"
#include "console/VDColorCommand.h"
#include "console/VDExitCommand.h"
#include "console/VDExportCommand.h"
#include "console/VDFieldCommand.h"
#include "console/VDFitViewCommand.h"
#include "console/VDHelpCommand.h"
#include "console/VDImportLogFileCommand.h"
#include "console/VDImportModelCommand.h"
#include "console/VDLayersCommand.h"
#include "console/VDMessagesCommand.h"
#include "console/VDModelCommand.h"
#include "console/VDMoveCameraCommand.h"
#include "console/VDNewCommand.h"
#include "console/VDOutlineCommand.h"
#include "console/VDPaletteCommand.h"
#include "console/VDPlaybackCommand.h"
#include "console/VDPlotCommand.h"
#include "console/VDPrintObjectCommand.h"
#include "console/VDRampCommand.h"
#include "console/VDRangeCommand.h"
#include "console/VDRotateCameraCommand.h"
#include "console/VDSliceCommand.h"
#include "console/VDSnapshotCommand.h"
#include "console/VDStateCommand.h"
#include "console/VDStructureCommand.h"
#include "console/VDTimeCommand.h"

namespace {

template <class Command>
std::unique_ptr<VDConsoleCommand> make(const std::string&) {
    return std::make_unique<Command>();
}

// For the classes that serve several names.
template <class Command>
std::unique_ptr<VDConsoleCommand> makeNamed(const std::string& name) {
    return std::make_unique<Command>(name);
}

}  // namespace

namespace commandtable {

const std::vector<CommandEntry>& entries() {
    static const std::vector<CommandEntry> table = {
        {"cam_move", " $side_movement $vertical_movement $forward_movement",
         "Moves the camera along its own axes: sideways, up and forward.", &make<VDMoveCameraCommand>},
        {"cam_rotate", " $yaw_change $pitch_change $roll_change",
         "Turns the camera by yaw, pitch and roll, in degrees.", &make<VDRotateCameraCommand>},
        {"exit", "", "Asks whether to quit, as Escape does.", &make<VDExitCommand>},
        {"help", " [$command]", "Lists every command with its usage, or tells what one command does.",
         &make<VDHelpCommand>},
        {"play", " [$steps_per_second from 0.1 to 1000]",
         "Steps through the run's event times from the current one, at the rate given or the one given last "
         "(at first a rate that makes the run last at least 4 seconds, at most 10 steps a second).",
         &makeNamed<VDPlaybackCommand>},
        {"print", " VIS | VIS_NL | VIS_ML | VIS_EL",
         "Lists the visualization, its scene nodes, its models or its events.", &make<VDPrintObjectCommand>},
        {"stop", "", "Stops playback where it is.", &makeNamed<VDPlaybackCommand>},
        {"time_goto", " HH:MM:SS:MS | start | end",
         "Moves the current time to the latest event time at or before the one given, or to the first or "
         "the last.",
         &makeNamed<VDTimeCommand>},
        {"time_next", "", "Moves the current time to the next time at which events happen.",
         &makeNamed<VDTimeCommand>},
        {"time_prev", "", "Moves the current time to the previous time at which events happen.",
         &makeNamed<VDTimeCommand>},
        {"vis_add_detail_node", " (CUBE) $x_pos $y_pos $z_pos $size",
         "Adds a cube of the given edge at (x, y, z) to the scene.", &make<VDAddDetailNodeCommand>},
        {"vis_background", " $model hide | show",
         "Hides the cells of a cell space of more than one layer along z that hold the value at least half "
         "of its cells hold now (the default), or draws them.",
         &make<VDBackgroundCommand>},
        {"vis_cell", " $model $x [$y [$z]]",
         "Prints a cell's value at the current time and when it was sent.", &make<VDCellCommand>},
        {"vis_cells", " $model solid | apart | auto",
         "Draws a cell space's cubes solid, each filling its cell (for fields), or apart, a unit between "
         "them (to see a small block's structure); auto: solid beyond 40 cells along an edge.",
         &make<VDCellLookCommand>},
        {"vis_changes", " [on | off]",
         "Frames every cell and block that changed at the current time (a cell's value came, or a message "
         "from or to the block was sent, at that time), or none; alone, tells which.",
         &make<VDChangesCommand>},
        {"vis_close", "", "Closes the visualization.", &make<VDCloseCommand>},
        {"vis_color",
         " $model $low $high $r $g $b [$a] | $model clear | $model none $r $g $b [$a]"
         " | $model.$port $low $high $r $g $b [$a] | $model.$port clear | $model.$port ramp",
         "Colours a model's cells whose value lies in a range (alpha 0 hides them), sets the look of its "
         "cells without a value, or removes its rules; as vis_color $model.$port, colours a plain model's "
         "block by the value on that port (a range, ramp or clear).",
         &make<VDColorCommand>},
        {"vis_export", " $model $x [$y [$z]] $file.csv | $model.$port $file.csv | $model $file.csv",
         "Writes the values over time of a cell, of a model's port, or the minimum, mean and maximum of a "
         "cell space, to a CSV file.",
         &make<VDExportCommand>, true},
        {"vis_field", " $model $k",
         "Takes number k, counting from 0, of each state text of a model (all the cells of a cell space) as "
         "its value from now on; a state without that number gives no value.",
         &make<VDFieldCommand>},
        {"vis_fit", "", "Places the camera so that every drawn model is in view.", &make<VDFitViewCommand>},
        {"vis_import_logfile", " $logfile", "Imports a simulation log into the open visualization.",
         &make<VDImportLogFileCommand>, true},
        {"vis_import_model", " $modelfile",
         "Reads a model file (.ma): the sizes of its cell spaces, their cells' initial values and the "
         "couplings of its coupled models.",
         &make<VDImportModelCommand>, true},
        {"vis_layers", " $model on | off",
         "Lays the z layers of a 3D cell space out as a grid of maps, z = 0 at the top left, each labelled, "
         "or puts the block together again.",
         &make<VDLayersCommand>},
        {"vis_messages", " [$model]",
         "Lists the X and Y messages of the current time in log order, at most 50, or only those from or to "
         "a model.",
         &make<VDMessagesCommand>},
        {"vis_model", " $model",
         "Prints what a model is at the current time: its kind, parent and children, the value on each of "
         "its ports and its next event.",
         &make<VDModelCommand>},
        {"vis_new", " $visualization_name",
         "Opens a visualization of that name (\".vis\" is appended to a name without it).",
         &make<VDNewCommand>},
        {"vis_outline", " on | off", "Draws thin dark edges around every cube of the cell spaces, or none.",
         &make<VDOutlineCommand>},
        {"vis_palette", " $model $palettefile",
         "Colours a model's cells from a palette file, one colour rule per range, in place of its rules.",
         &make<VDPaletteCommand>, true},
        {"vis_plot",
         " $model $x [$y [$z]] | $model.$port | $model | clear | hide | show | place $x $y $width $height",
         "Plots the values over time of a cell, of a model's port, or the minimum, mean and maximum of a "
         "cell space; up to 4 series, and clear empties the plot. hide and show hide and show it; place "
         "puts its top-left corner x, y pixels from the window's top-left corner at that size in pixels.",
         &make<VDPlotCommand>},
        {"vis_ramp", " $model inferno|viridis|coolwarm|grey|auto",
         "Sets the colours of a model's ramp; auto, the default, takes coolwarm centred on 0 for a range "
         "from below 0 to above 0 and inferno otherwise.",
         &makeNamed<VDRampCommand>},
        {"vis_range", " $model robust | $model all | $model log | $model now | $model $low $high",
         "Sets the range the colour ramp of a model's cells spans: the 1st to 99th percentile of its values "
         "over the run with round ends (the default), all its values (log is the same), the values at the "
         "current time, or a fixed range; replies with the range set.",
         &make<VDRangeCommand>},
        {"vis_scale", " $model linear | log",
         "Places values on a model's ramp by their value or by their logarithm (values at or below 0 then "
         "take the low colour).",
         &makeNamed<VDRampCommand>},
        {"vis_slice", " $model x|y|z $k | $model off",
         "Draws only the cells of a cell space whose coordinate on that axis is k (the others can neither be "
         "seen nor picked), or the whole block again.",
         &make<VDSliceCommand>},
        {"vis_snapshot", " [--window] $file.png",
         "Writes the 3D view with its overlays and the plot as a PNG file; with --window, the whole window "
         "as it shows now, console included.",
         &make<VDSnapshotCommand>, true},
        {"vis_state", "", "Prints the last value on each output port of every model that is not a cell.",
         &make<VDStateCommand>},
        {"vis_structure", " on | off",
         "Draws the blocks of the model hierarchy, or hides them (hidden blocks are neither fitted nor "
         "picked); each new visualization starts with them drawn.",
         &make<VDStructureCommand>},
        {"vis_view", " front|back|left|right|top|bottom|iso",
         "Fits the view as vis_fit does, seen from that side (iso: from above, right and in front).",
         &make<VDViewCommand>},
    };
    return table;
}

const CommandEntry* find(const std::string& name) {
    for (const CommandEntry& entry : entries()) {
        if (name == entry.name) {
            return &entry;
        }
    }
    return nullptr;
}

std::string usage(const std::string& name) {
    const CommandEntry* entry = find(name);
    return "usage: " + name + (entry != nullptr ? entry->arguments : "");
}

}  // namespace commandtable
