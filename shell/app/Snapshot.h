#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "gui/VDMainWindow.h"
#include "shell/app/OffscreenFrame.h"

// Draws the main window's frame as it would appear now (the 3D view with its overlays, the console only
// while it is open, an open message box), or the 3D view with its overlays alone, at the main window's
// size into a frame of its own, and writes it as a PNG file. Needs the main window and a current OpenGL
// context. Keeps its frame from picture to picture while the size stays.
class Snapshotter {
  public:
    // `quick`: pictures written faster and larger, for frame sequences.
    explicit Snapshotter(bool quick = false) : m_quick(quick) {}

    // On success `width` and `height` are the picture's size; on failure `error` says why and no file was
    // written.
    bool write(const std::string& path, int& width, int& height, std::string& error,
               VDMainWindow::Parts parts = VDMainWindow::Parts::Everything);

    // Draws the frame and reads it as 8-bit RGB, rows from the top down, into `rgb` (which keeps its storage
    // from frame to frame). On failure `error` says why.
    bool draw(std::vector<uint8_t>& rgb, std::string& error,
              VDMainWindow::Parts parts = VDMainWindow::Parts::Everything);
    int width() const { return m_frame.width(); }
    int height() const { return m_frame.height(); }

  private:
    OffscreenFrame m_frame;
    bool m_quick;
};

// One picture with a frame of its own.
bool writeSnapshot(const std::string& path, int& width, int& height, std::string& error,
                   VDMainWindow::Parts parts = VDMainWindow::Parts::Everything);
// What vis_snapshot writes: the view alone, or with `wholeWindow` the window as it shows now.
bool writeCommandSnapshot(const std::string& path, bool wholeWindow, int& width, int& height,
                          std::string& error);
