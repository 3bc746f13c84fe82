#pragma once

#include <string>

#include "gui/VDConsoleCommand.h"

// "vis_snapshot FILE": writes the window's current picture as a PNG file. Its replies reach the log file as
// well as the console; the result is reported when the picture has been written, so the parser's reply on
// success is empty.
class VDSnapshotCommand : public VDConsoleCommand {
  public:
    // What draws and writes the picture: the window belongs to the program's top layer, which installs
    // it at start-up. On success it gives the picture's size, on failure the reason.
    using Writer = bool (*)(const std::string& path, int& width, int& height, std::string& error);
    static void setWriter(Writer writer);

    VDSnapshotCommand();
    ~VDSnapshotCommand() override;

    void execute() override;
    bool parseArguments(const std::vector<std::string>& tokens, std::string& reply) override;

    const std::string& getFileName() const { return m_fileName; }

  private:
    std::string m_fileName;
};
