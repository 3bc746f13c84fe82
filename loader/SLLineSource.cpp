#include "loader/SLLineSource.h"

#include <sys/stat.h>

#include <fstream>
#include <new>
#include <utility>

bool SLLineSource::open(const std::string& path, size_t maxLineLength, std::string& error,
                        const SLLineReader::CutsMaker& makeCuts) {
    close();
    m_nextLine = 0;
    m_lineNumber = 0;
    m_bytesDone = 0;
    m_fileSize = 0;
    auto stream = std::unique_ptr<std::ifstream>(new (std::nothrow) std::ifstream);
    if (stream == nullptr) {
        error = "Unable to create ifstream object.";
        return false;
    }
    // The reader fetches large blocks itself; a stream buffer would only add a copy.
    stream->rdbuf()->pubsetbuf(nullptr, 0);
    // A directory or a device can be opened like a file, but yields no lines (or never ends).
    struct stat info;
    const bool regular = ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
    if (regular) {
        m_fileSize = static_cast<uint64_t>(info.st_size);
        stream->open(path, std::ios::in);
    }
    if (!regular || !stream->good()) {
        error = "Unable to open log file for import";
        return false;
    }
    m_reader = std::make_unique<SLLineReader>(std::move(stream), maxLineLength, false, makeCuts);
    return true;
}

SLLineSource::Next SLLineSource::next(size_t handled, size_t maxLines, const SLLineReader::Line*& line,
                                      const std::function<void()>& beforeBatch) {
    for (;;) {
        if (m_reader == nullptr) {
            return Next::End;
        }
        if (m_batch == nullptr || m_nextLine == m_batch->lines.size()) {
            if (m_batch != nullptr && m_batch->failed) {
                return Next::Failed;
            }
            if (m_batch != nullptr && m_batch->atEnd) {
                return Next::End;
            }
            if (handled >= maxLines) {
                return Next::Enough;
            }
            if (beforeBatch != nullptr) {
                beforeBatch();
            }
            m_batch = m_reader->next(std::move(m_batch));
            m_nextLine = 0;
            if (m_batch == nullptr) {
                return Next::End;  // cannot happen: the last batch says how the file ended
            }
            continue;
        }
        if (handled >= maxLines) {
            return Next::Enough;
        }
        line = &m_batch->lines[m_nextLine++];
        return Next::Line;
    }
}

bool SLLineSource::count(const SLLineReader::Line& line) {
    if (!line.counted) {
        return false;
    }
    ++m_lineNumber;
    m_bytesDone = line.end;
    return true;
}

void SLLineSource::close() {
    if (m_batch != nullptr && (m_batch->atEnd || m_batch->failed)) {
        m_bytesDone = m_batch->bytes;
    }
    m_reader.reset();
    m_batch.reset();
}
