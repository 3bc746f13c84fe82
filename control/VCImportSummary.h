#pragma once

#include <cstddef>

// How an import logs the messages it reads: the lines of its first kLoggedMessages as they come, then one
// line for every further kEvery messages and one at its end, unless the lines of every message are wanted
// (--log-every-message). A log of millions of messages would otherwise outgrow the disk and spend most of
// the import writing it.
class VCImportSummary {
  public:
    static constexpr long long kLoggedMessages = 100000;
    static constexpr long long kEvery = 100000;

    explicit VCImportSummary(bool everyMessage);

    // Whether the lines of the messages read next are held back, after `messages` were read.
    bool holdsLines(long long messages) const;
    // How many lines the reader may handle before the next message could change the answer above or be
    // owed a summary line: each line holds at most one message.
    size_t linesToNextMark(long long messages) const;
    // After a read that brought the count to `messages`: "Imported 200,000 messages, up to 00:01:02:000"
    // for each multiple of kEvery past kLoggedMessages reached, `latestMs` the latest time read.
    void note(long long messages, double latestMs);
    // The import's last line, when the lines of some messages were held back.
    void end(long long messages) const;

  private:
    bool m_everyMessage;
    long long m_nextMark = kLoggedMessages;
};
