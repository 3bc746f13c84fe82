#pragma once

#include <functional>
#include <string>

// The run's event times as a frame sequence walks them; in the program, the time cursor of the controller.
class FrameClock {
  public:
    virtual ~FrameClock() = default;
    // How many distinct event times the run has.
    virtual size_t count() = 0;
    // To the event time of that index.
    virtual bool goTo(size_t index) = 0;
    // To the next event time.
    virtual bool next() = 0;
    // To the start of the run (00:00:00:000) when it comes before the first event time, and true; false
    // when the run starts at its first event time (or earlier), which then shows the start.
    virtual bool toStart() { return false; }
};

// Writes the start of the run, then one picture per `every` event times, and one of the last time, as
// frame_000001.png, frame_000002.png, ... into a folder, for a video. `draw` writes the picture of the
// current time to the path it is given, or says why it could not.
class FrameSequence {
  public:
    using Drawer = std::function<bool(const std::string& path, std::string& error)>;

    FrameSequence(std::string folder, int every);

    // Checks the folder before anything is drawn: it must exist and be a folder. False with the reason.
    bool checkFolder(std::string& error) const;
    // Walks the clock from its first time. Stops at the first picture that cannot be written (false, with
    // `error`). Frames of an earlier, longer sequence after the last one written are removed, so that the
    // folder holds this run's sequence alone.
    bool write(FrameClock& clock, const Drawer& draw, std::string& error);

    int written() const { return m_written; }
    // The name of the n-th frame (from 1) in the folder.
    std::string framePath(int n) const;
    // The ffmpeg command that makes a video of the frames written (run.mp4 in the same folder).
    std::string videoCommand() const;

  private:
    void removeLaterFrames() const;

    std::string m_folder;
    int m_every;
    int m_written = 0;
};
