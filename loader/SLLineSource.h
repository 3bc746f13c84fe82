#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "loader/SLLineReader.h"

// A run file read line by line in slices, on SLLineReader's thread: the opening, batching and counting that
// every reader of another simulator's format shares. The reader handles each line itself.
class SLLineSource {
  public:
    enum class Next {
        Line,    // a line to handle
        Enough,  // `maxLines` were handled: the slice is over, lines remain
        End,     // the file is read whole
        Failed,  // reading failed
    };

    // Opens a regular file, read with lines of at most `maxLineLength` (and each line cut by the cuts
    // `makeCuts` makes, when given); false with the text to log in `error` when it cannot be.
    bool open(const std::string& path, size_t maxLineLength, std::string& error,
              const SLLineReader::CutsMaker& makeCuts = nullptr);
    bool isOpen() const { return m_reader != nullptr; }
    // The next line, once `handled` is below `maxLines`. `beforeBatch` runs before the lines of the
    // batch read so far go back to the reader: whatever still points into them must be copied then.
    Next next(size_t handled, size_t maxLines, const SLLineReader::Line*& line,
              const std::function<void()>& beforeBatch = nullptr);
    // The cuts of the batch that the line `next` gave last lies in, and that line's place among them.
    const SLLineCuts* cuts() const { return m_batch->cuts.get(); }
    size_t lineIndex() const { return m_nextLine - 1; }
    // Counts a line that was handled; true when it was a whole line (one more handled).
    bool count(const SLLineReader::Line& line);
    // Releases the file; the bytes read stay.
    void close();

    // Lines counted so far, bytes of the file up to the end of the last of them, and the file's size.
    long long lineNumber() const { return m_lineNumber; }
    uint64_t bytesRead() const { return m_bytesDone; }
    uint64_t fileSize() const { return m_fileSize; }

  private:
    std::unique_ptr<SLLineReader> m_reader;
    std::unique_ptr<SLLineReader::Batch> m_batch;
    size_t m_nextLine = 0;
    long long m_lineNumber = 0;
    uint64_t m_bytesDone = 0;
    uint64_t m_fileSize = 0;
};
