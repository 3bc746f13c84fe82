#pragma once

#include <signal.h>
#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "shell/AtomicFile.h"

// The containers a video is written in, picked by the file's extension.
enum class VideoFormat { Unknown, Mp4, WebM, Gif };
VideoFormat videoFormatOf(const std::string& path);

// The first executable file named `program` in the folders of `searchPath` (a PATH value: folders joined by
// ':', an empty one meaning the working directory); empty when there is none.
std::string findProgram(const std::string& program, const std::string& searchPath);

// What the encoder is started with: ffmpeg's arguments, after the program's name, for frames of raw 8-bit
// RGB of `width`×`height` on standard input at `rate` frames a second, written to `output` in `format`.
std::vector<std::string> encoderArguments(VideoFormat format, int width, int height, int rate,
                                          const std::string& output);

// A video written through ffmpeg: frames go as raw RGB down a pipe to its standard input, one after
// another, and ffmpeg writes the file. The file is whole or not there: ffmpeg writes a temporary file
// beside it (AtomicFile) that takes the file's place only once ffmpeg has ended well; a failure, an
// interruption or an encoder that is abandoned leaves no part of it and an existing file as it was.
class VideoEncoder {
  public:
    // `ffmpeg`: the program to run. `stop` is asked while a frame waits for ffmpeg to take it; true gives
    // up the frame.
    VideoEncoder(std::string ffmpeg, std::function<bool()> stop);
    ~VideoEncoder();
    VideoEncoder(const VideoEncoder&) = delete;
    VideoEncoder& operator=(const VideoEncoder&) = delete;

    // Checks where the file goes, then starts ffmpeg. False, with the reason, when either fails.
    bool open(const std::string& path, VideoFormat format, int width, int height, int rate,
              std::string& error);
    // Hands one frame (width×height×3 bytes, rows from the top down) to ffmpeg. False, with the reason,
    // when ffmpeg took no more (it failed: its exit status and last line say why) or `stop` said so.
    bool writeFrame(const std::vector<uint8_t>& rgb, std::string& error);
    // Ends the input, waits for ffmpeg and puts the file in place. False, with the reason, when ffmpeg
    // failed or the file could not be placed; nothing is left then.
    bool finish(std::string& error);
    // Stops ffmpeg and removes what it wrote.
    void abandon();

  private:
    void closeInput();
    // Waits for ffmpeg; its failure, if it failed, in `error`.
    bool reap(std::string& error);
    std::string lastErrorLine() const;

    std::string m_ffmpeg;
    std::function<bool()> m_stop;
    AtomicFile m_file;
    pid_t m_child = -1;
    int m_input = -1;
    std::thread m_errorReader;
    std::string m_errorTail;  // the end of what ffmpeg wrote to standard error; the reader's until it ends
    size_t m_frameBytes = 0;
    struct sigaction m_previousPipeAction;
    bool m_pipeActionSaved = false;
};
