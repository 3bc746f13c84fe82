#include "shell/app/Snapshot.h"

#include <cstdint>
#include <vector>

#include "gui/VDMainWindow.h"
#include "shell/app/OffscreenFrame.h"
#include "shell/app/PngFile.h"

bool writeSnapshot(const std::string& path, int& width, int& height, std::string& error) {
    VDMainWindow* mainWindow = getMainWindow();
    if (mainWindow == nullptr) {
        error = "there is no window to draw";
        return false;
    }
    OffscreenFrame frame;
    if (!frame.create(mainWindow->getWidth(), mainWindow->getHeight(), error)) {
        return false;
    }
    frame.bind();
    const bool drawn = mainWindow->drawFrame();
    std::vector<uint8_t> rgb;
    frame.read(rgb);
    if (!drawn) {
        error = "the frame could not be drawn";
        return false;
    }
    if (!writePngFile(path, frame.width(), frame.height(), rgb, error)) {
        return false;
    }
    width = frame.width();
    height = frame.height();
    return true;
}
