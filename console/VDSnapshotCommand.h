#pragma once

#include <string>

#include "gui/VDConsoleCommand.h"

// "vis_snapshot [--window] FILE": writes a picture as a PNG file: the 3D view with its overlays and the
// plot, as --snapshot draws it (no console, no message box), or with --window the whole window as it
// shows now. The path may be quoted. Its replies reach the log file as well as the console; the result is
// reported when the picture has been written, so the parser's reply on success is empty.
class VDSnapshotCommand : public VDConsoleCommand {
  public:
    // What draws and writes the picture: the window belongs to the program's top layer, which installs
    // it at start-up. On success it gives the picture's size, on failure the reason.
    using Writer = bool (*)(const std::string& path, bool wholeWindow, int& width, int& height,
                            std::string& error);
    static void setWriter(Writer writer);

    // The first of snapshot_001.png, snapshot_002.png, ... (snapshot_1000.png after 999) that does not
    // exist in `folder` ("" for the working directory), with the folder before it.
    static std::string nextFreeName(const std::string& folder = "");

    VDSnapshotCommand();
    ~VDSnapshotCommand() override;

    void execute() override;
    bool parseArguments(const std::vector<std::string>& tokens, std::string& reply) override;

    // For a picture asked for by other means than a typed line.
    void setFileName(const std::string& fileName) { m_fileName = fileName; }
    const std::string& getFileName() const { return m_fileName; }
    bool isWholeWindow() const { return m_wholeWindow; }
    // After execute: whether the picture was written.
    bool succeeded() const { return m_succeeded; }

  private:
    std::string m_fileName;
    bool m_wholeWindow = false;
    bool m_succeeded = false;
};
