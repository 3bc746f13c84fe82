#pragma once

#include <array>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <fstream>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "loader/SLCutLine.h"
#include "loader/SLLineCuts.h"

// Reads a log file on a thread of its own, a few blocks ahead of the program: cuts it into lines (a '\r'
// before the '\n' is not part of the line, the last line may lack its '\n') and cuts each line into
// fields and numbers (SLCutLine). The program takes the lines in batches, in file order, and stores them
// meanwhile; reading and cutting were a third of an import's time on the program's thread.
//
// A line longer than `maxLineLength` is not kept: it comes as a line to pass over, announced as soon as
// it is known to be too long. Nothing here logs: what happened comes with the batches.
class SLLineReader {
  public:
    struct Line {
        const char* text = nullptr;  // the line, NUL-ended, in the reader's memory; null for one passed over
        bool passOver = false;       // report the line as too long now
        bool counted = true;         // the line is complete: it counts as handled
        uint64_t end = 0;            // bytes of the file up to the end of the line and its line feed
        SLCutLine cut;
    };
    struct Batch {
        std::vector<Line> lines;
        int block = 0;        // the reader's block the lines lie in
        bool atEnd = false;   // the file ends after these lines
        bool failed = false;  // reading failed after these lines
        uint64_t bytes = 0;   // with atEnd or failed: the bytes of the file read
        // A format's own cut of every line, in the order of `lines`, when the reader was given one.
        std::unique_ptr<SLLineCuts> cuts;
    };
    using CutsMaker = std::function<std::unique_ptr<SLLineCuts>()>;

    // Starts reading `stream`, open and unbuffered, at once. `cutLines` false leaves each Line's cut empty
    // (for a loader whose own line handling does not use it). With `makeCuts`, each batch has cuts of its
    // own that take every line of it as it is read.
    SLLineReader(std::unique_ptr<std::ifstream> stream, size_t maxLineLength, bool cutLines,
                 const CutsMaker& makeCuts = nullptr);
    // Stops the thread, waiting for it, and drops what was read ahead.
    ~SLLineReader();
    SLLineReader(const SLLineReader&) = delete;
    SLLineReader& operator=(const SLLineReader&) = delete;

    // Takes back the batch the caller is done with (if any) and gives the next one, waiting for it when the
    // thread has not read it yet. Null after the batch that ended the file or failed.
    std::unique_ptr<Batch> next(std::unique_ptr<Batch> done);

  private:
    void run();
    // A batch for lines in `block`, once one is free; null when asked to stop.
    std::unique_ptr<Batch> takeBatch(int block);
    // A block other than `current` that no batch points into, at least `size` bytes; -1 when asked to stop.
    int takeBlock(int current, size_t size);
    // Moves `batch` to `block`: it holds no line yet.
    void moveBatch(Batch& batch, int block);
    void deliver(std::unique_ptr<Batch> batch);
    bool stopping();

    static constexpr size_t kBlock = size_t{1} << 18;
    // Lines per batch at most: a block of empty lines is a quarter of a million lines.
    static constexpr size_t kBatchLines = 1024;
    // Batches and blocks are made once and reused, so that reading allocates nothing per block.
    static constexpr size_t kBatches = 6;
    static constexpr int kBlocks = 4;

    std::unique_ptr<std::ifstream> m_stream;
    const size_t m_maxLineLength;
    const bool m_cutLines;

    std::array<std::vector<char>, kBlocks> m_blocks;

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::unique_ptr<Batch>> m_queue;
    std::vector<std::unique_ptr<Batch>> m_free;
    std::array<int, kBlocks> m_users{};  // batches, queued, held or being filled, per block
    bool m_stop = false;
    bool m_done = false;  // the thread has queued its last batch
    std::thread m_thread;
};
