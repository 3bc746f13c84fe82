#pragma once

#include <string>

#include "gui/VDConsoleCommand.h"

// "vis_snapshot FILE": writes the window's current picture as a PNG file. Its replies, the usage line
// included, go to the log as well as the console, so they are reported when it runs rather than as the
// parser's reply.
class VDSnapshotCommand : public VDConsoleCommand {
  public:
    // What draws and writes the picture: the window belongs to the program's top layer, which installs
    // it at start-up. On success it gives the picture's size, on failure the reason.
    using Writer = bool (*)(const std::string& path, int& width, int& height, std::string& error);
    static void setWriter(Writer writer);

    VDSnapshotCommand();
    ~VDSnapshotCommand() override;

    void execute() override;
    // Accepts every line, with an empty reply; a wrong one reports its usage when executed.
    bool parseArguments(const std::vector<std::string>& tokens, std::string& reply) override;

    const std::string& getFileName() const { return m_fileName; }

  private:
    std::string m_fileName;  // empty for a line without exactly one file name
};
