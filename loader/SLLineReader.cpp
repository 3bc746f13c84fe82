#include "loader/SLLineReader.h"

#include <pthread.h>
#include <signal.h>

#include <cstring>
#include <string>
#include <utility>

SLLineReader::SLLineReader(std::unique_ptr<std::ifstream> stream, size_t maxLineLength, bool cutLines,
                           const CutsMaker& makeCuts)
    : m_stream(std::move(stream)), m_maxLineLength(maxLineLength), m_cutLines(cutLines) {
    for (size_t i = 0; i < kBatches; ++i) {
        m_free.push_back(std::make_unique<Batch>());
        if (makeCuts != nullptr) {
            m_free.back()->cuts = makeCuts();
        }
    }
    // Signals stay with the program's thread, whose handlers expect to run there.
    sigset_t all;
    sigset_t previous;
    sigfillset(&all);
    pthread_sigmask(SIG_SETMASK, &all, &previous);
    m_thread = std::thread([this] { run(); });
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
}

SLLineReader::~SLLineReader() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

std::unique_ptr<SLLineReader::Batch> SLLineReader::next(std::unique_ptr<Batch> done) {
    std::unique_lock<std::mutex> lock(m_mutex);
    if (done != nullptr) {
        --m_users[done->block];
        m_free.push_back(std::move(done));
        m_changed.notify_all();
    }
    m_changed.wait(lock, [this] { return !m_queue.empty() || m_done; });
    if (m_queue.empty()) {
        return nullptr;
    }
    std::unique_ptr<Batch> batch = std::move(m_queue.front());
    m_queue.pop_front();
    return batch;
}

std::unique_ptr<SLLineReader::Batch> SLLineReader::takeBatch(int block) {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_free.empty() || m_stop; });
    if (m_stop) {
        return nullptr;
    }
    std::unique_ptr<Batch> batch = std::move(m_free.back());
    m_free.pop_back();
    ++m_users[block];
    batch->lines.clear();
    batch->block = block;
    batch->atEnd = batch->failed = false;
    batch->bytes = 0;
    if (batch->cuts != nullptr) {
        batch->cuts->clear();
    }
    return batch;
}

int SLLineReader::takeBlock(int current, size_t size) {
    int found = -1;
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait(lock, [&] {
            for (int b = 0; b < kBlocks && found < 0; ++b) {
                if (b != current && m_users[b] == 0) {
                    found = b;
                }
            }
            return found >= 0 || m_stop;
        });
        if (m_stop) {
            return -1;
        }
    }
    // No batch points into it, and the program reads blocks only through batches.
    if (m_blocks[found].size() < size) {
        m_blocks[found].resize(size);
    }
    return found;
}

void SLLineReader::moveBatch(Batch& batch, int block) {
    std::lock_guard<std::mutex> lock(m_mutex);
    --m_users[batch.block];
    ++m_users[block];
    batch.block = block;
}

void SLLineReader::deliver(std::unique_ptr<Batch> batch) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_queue.push_back(std::move(batch));
    }
    m_changed.notify_all();
}

bool SLLineReader::stopping() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_stop;
}

// Lines are cut in place inside the block: the line feed (and a '\r' before it) becomes the terminator, so a
// line is copied only when it began in the block before. A line longer than the block makes the block
// grow, up to about twice the longest line that is kept; the bytes of a longer line are dropped as they
// come.
void SLLineReader::run() {
    pthread_setname_np(pthread_self(), "log-reader");  // as profilers and debuggers show it
    std::string scratch;
    SLCutLine::Times times;
    int block = 0;
    m_blocks[block].resize(kBlock);
    std::unique_ptr<Batch> batch = takeBatch(block);
    size_t begin = 0;     // start of the current line; no line of the block ends before it
    size_t searched = 0;  // where the search for its line feed goes on
    size_t end = 0;       // end of the bytes read
    uint64_t offset = 0;  // where in the file the block's first byte is
    bool atEnd = false;
    bool tooLong = false;  // the current line is being passed over
    // Hands the batch on and starts the next one in the same block; false when asked to stop.
    const auto handOn = [&]() {
        deliver(std::move(batch));
        batch = takeBatch(block);
        return batch != nullptr;
    };
    const auto finish = [&](bool failed) {
        batch->atEnd = !failed;
        batch->failed = failed;
        batch->bytes = offset + end;
        deliver(std::move(batch));
    };
    while (batch != nullptr) {
        char* data = m_blocks[block].data();
        char* feed = static_cast<char*>(std::memchr(data + searched, '\n', end - searched));
        if (feed == nullptr) {
            if (atEnd) {
                if (begin == end || tooLong) {
                    finish(false);
                    break;
                }
                data[end] = '\0';  // a last line without a line feed; reads always leave room for this
                feed = data + end;
            } else {
                // One more for a '\r' that may end the line: that line is still short enough.
                if (!tooLong && end - begin > m_maxLineLength + 1) {
                    Line& line = batch->lines.emplace_back();
                    line.passOver = true;
                    line.counted = false;
                    line.end = offset + begin;
                    tooLong = true;
                    if (batch->cuts != nullptr) {
                        batch->cuts->cut(nullptr, 0);
                    }
                }
                if (tooLong && begin == 0) {
                    offset += end;  // nothing in the block is a line: its bytes go
                    end = 0;
                } else if (begin > 0) {
                    // Lines handed on point into this block: the rest goes on in another one.
                    const size_t tail = tooLong ? 0 : end - begin;
                    size_t size = kBlock;
                    while (size < tail + kBlock / 2) {
                        size *= 2;
                    }
                    if (!batch->lines.empty() && !handOn()) {
                        break;
                    }
                    const int fresh = takeBlock(block, size);
                    if (fresh < 0) {
                        break;
                    }
                    std::memcpy(m_blocks[fresh].data(), data + begin, tail);
                    moveBatch(*batch, fresh);
                    block = fresh;
                    data = m_blocks[block].data();
                    offset += end - tail;
                    begin = 0;
                    end = tail;
                } else if (m_blocks[block].size() - end < kBlock / 2) {
                    m_blocks[block].resize(m_blocks[block].size() * 2);  // no line points into it yet
                    data = m_blocks[block].data();
                }
                if (stopping()) {
                    break;
                }
                searched = end;
                const size_t wanted = m_blocks[block].size() - end - 1;
                m_stream->read(data + end, static_cast<std::streamsize>(wanted));
                if (m_stream->bad()) {
                    finish(true);
                    break;
                }
                const std::streamsize got = m_stream->gcount();
                end += static_cast<size_t>(got);
                atEnd = static_cast<size_t>(got) < wanted;
                continue;
            }
        }
        const bool last = feed == data + end;
        *feed = '\0';
        char* lineEnd = feed;
        // Also at the end of a file cut between the '\r' and the '\n' of its last line.
        if (feed > data + begin && feed[-1] == '\r') {
            *--lineEnd = '\0';
        }
        Line& line = batch->lines.emplace_back();
        line.end = offset + (last ? end : static_cast<size_t>(feed - data) + 1);
        if (!tooLong && static_cast<size_t>(lineEnd - (data + begin)) > m_maxLineLength) {
            line.passOver = true;
            tooLong = true;
        }
        if (!tooLong) {
            line.text = data + begin;
            if (m_cutLines) {
                line.cut.cut(line.text, scratch, times);
            }
        }
        if (batch->cuts != nullptr) {
            batch->cuts->cut(tooLong ? nullptr : data + begin, static_cast<size_t>(lineEnd - (data + begin)));
        }
        tooLong = false;
        if (last) {
            finish(false);
            break;
        }
        begin = searched = static_cast<size_t>(feed - data) + 1;
        if (batch->lines.size() >= kBatchLines && !handOn()) {
            break;
        }
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    m_done = true;
    m_changed.notify_all();
}
