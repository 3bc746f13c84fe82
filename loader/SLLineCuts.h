#pragma once

#include <cstddef>

// What a reader of one format works out from each line on SLLineReader's thread, so that the program's
// thread is left with storing what the line says. One object per batch of lines, emptied for each new
// batch; the reader of the format reads it back by the line's place in the batch.
class SLLineCuts {
  public:
    virtual ~SLLineCuts() = default;
    virtual void clear() = 0;
    // The batch's next line: its text, NUL-ended, or null for a line that is passed over. The text may be
    // rewritten in place within its `length` bytes; it stays in the reader's memory as long as the batch.
    virtual void cut(char* text, size_t length) = 0;
};
