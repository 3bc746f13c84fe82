#pragma once

#include <string>

#include "gui/VDConsoleParser.h"

// The program's command language: the commands that open, fill, list and close a visualization, move its
// current time and ask what its cells and models hold at that time, plot and export values over time,
// colour its cells, move, turn and fit the camera, write pictures, tell about themselves, and exit. They
// are listed in one table (CommandTable).
class VDDEVSConsoleParser : public VDConsoleParser {
  public:
    VDDEVSConsoleParser();
    ~VDDEVSConsoleParser() override;

    // Only blanks separate tokens, and the first token names the command exactly (case matters). Commands
    // that take paths read double quotes, which hold blanks. A command whose arguments are refused goes to
    // the garbage can and `reply` holds its usage text.
    bool parse(std::string line, VDConsoleCommand** command, std::string& reply) override;
    // After "vis_import_logfile " and "vis_snapshot " Tab completes the file or folder name, as a shell
    // does (inside a quote, names with blanks too); after "vis_model ", "vis_messages " and "vis_field " the
    // name of a model of the open visualization; after "help " and elsewhere it completes command names.
    VDLineCompletion completeLine(const std::string& line) const override;
    // Any command may have changed what the 3D picture shows (colours, rules, the selection, ...).
    void commandExecuted() override;

    // A longer listing of files is cut to this many names and a line that counts the rest.
    static constexpr size_t MAX_LISTED_FILES = 100;

  private:
    // The model names that begin with `partial`: one becomes the line, several extend it as far as they
    // agree, or are listed under "Model List:".
    static VDLineCompletion completeModelName(const std::string& lead, const std::string& partial);
};
