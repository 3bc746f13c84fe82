#include "shell/app/Snapshot.h"

#include <cstdint>
#include <vector>

#include "gui/VDMainWindow.h"
#include "shell/app/PngFile.h"

bool Snapshotter::draw(std::vector<uint8_t>& rgb, std::string& error, VDMainWindow::Parts parts) {
    VDMainWindow* mainWindow = getMainWindow();
    if (mainWindow == nullptr) {
        error = "there is no window to draw";
        return false;
    }
    if ((m_frame.width() != mainWindow->getWidth() || m_frame.height() != mainWindow->getHeight()) &&
        !m_frame.create(mainWindow->getWidth(), mainWindow->getHeight(), error)) {
        return false;
    }
    m_frame.bind();
    const bool drawn = mainWindow->drawFrame(parts);
    m_frame.read(rgb);
    if (!drawn) {
        error = "the frame could not be drawn";
        return false;
    }
    return true;
}

bool Snapshotter::write(const std::string& path, int& width, int& height, std::string& error,
                        VDMainWindow::Parts parts) {
    std::vector<uint8_t> rgb;
    if (!draw(rgb, error, parts) ||
        !writePngFile(path, m_frame.width(), m_frame.height(), rgb, error, m_quick)) {
        return false;
    }
    width = m_frame.width();
    height = m_frame.height();
    return true;
}

bool writeSnapshot(const std::string& path, int& width, int& height, std::string& error,
                   VDMainWindow::Parts parts) {
    Snapshotter snapshotter;
    return snapshotter.write(path, width, height, error, parts);
}

bool writeCommandSnapshot(const std::string& path, bool wholeWindow, int& width, int& height,
                          std::string& error) {
    return writeSnapshot(path, width, height, error,
                         wholeWindow ? VDMainWindow::Parts::Everything : VDMainWindow::Parts::ContentOnly);
}
