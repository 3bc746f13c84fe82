#pragma once

#include <functional>
#include <string>

#include "shell/app/FrameWalk.h"

// Writes the frames of a FrameWalk (the start of the run, then one picture per `every` event times and one
// of the last time; or one per step of simulated time) as frame_000001.png, frame_000002.png, ... into a
// folder, for a video. `draw` writes the picture of the
// current time to the path it is given, or says why it could not.
class FrameSequence {
  public:
    using Drawer = std::function<bool(const std::string& path, std::string& error)>;

    FrameSequence(std::string folder, int every, double step = 0.0);

    // Checks the folder before anything is drawn: it must exist and be a folder. False with the reason.
    bool checkFolder(std::string& error) const;
    // Walks the clock from its first time. Stops at the first picture that cannot be written (false, with
    // `error`). Nothing else in the folder is touched: frames numbered after the last one written (of an
    // earlier, longer sequence, or the user's own) stay, and are counted.
    bool write(FrameClock& clock, const Drawer& draw, std::string& error);

    int written() const { return m_written; }
    // After a write: how many names of frames after the last one written the folder holds, and the lowest
    // of them ("frame_000011.png"; empty when there are none).
    int olderFrames() const { return m_olderFrames; }
    const std::string& firstOlderFrame() const { return m_firstOlderFrame; }
    // "3 older frames left in DIR, from frame_000011.png"; empty when there are none.
    std::string olderFramesNote() const;
    // The name of the n-th frame (from 1) in the folder.
    std::string framePath(int n) const;
    // The ffmpeg command that makes a video of the frames written, and of no older frame after them (run.mp4
    // in the same folder), at `rate` frames a second.
    std::string videoCommand(int rate) const;

  private:
    void countOlderFrames();

    std::string m_folder;
    int m_every;
    double m_step;
    int m_written = 0;
    int m_olderFrames = 0;
    std::string m_firstOlderFrame;
};
