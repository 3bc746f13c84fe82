#pragma once

#include <string>
#include <string_view>
#include <vector>

// What kinds of lines an import met, so that it can say at its end what it passed over or read as 0,
// once, instead of a line for each.
//
// A line is a simulation message, of any kind, when its second word (cut as the loader cuts fields, at
// ' ' and '/') is I, *, D, X or Y and the field after its first '/' has four parts separated by ':' (a
// time). A line without any field (empty, or only blanks and slashes) is neither a message nor anything
// else: it holds nothing to pass over.
class SLLineCensus {
  public:
    // Whether a log line is a message by the rule above; `time`, when given, receives its time field.
    static bool isMessage(const char* line, std::string_view* time = nullptr);
    // The parts of that rule: the second word, and the field after the first '/' when it is a time.
    static bool isMessageKind(std::string_view word);
    static bool findTime(const char* line, std::string_view& time);
    // Whether each of the four ':'-separated parts of a time is a whole number (a sign allowed).
    static bool isWholeTime(std::string_view time);

    // Counts line `lineNumber` (from 1). `numbersRead` is false when a message line's time or value is
    // not a number (it was read as 0, or as far as it went).
    void noteMessage(long long lineNumber, bool numbersRead);
    void noteOther(long long lineNumber);

    long long messages() const { return m_messages; }
    long long others() const { return m_others; }
    long long notNumbers() const { return m_notNumbers; }

    // The lines an import ends with: "Passed over 3 lines that are not messages, the first at line 17",
    // "Read 1 message line with a time or value that is not a number, as 0, the first at line 52"; none
    // for a log of messages only.
    std::vector<std::string> reports() const;

  private:
    long long m_messages = 0;
    long long m_others = 0;
    long long m_firstOther = 0;
    long long m_notNumbers = 0;
    long long m_firstNotNumber = 0;
};
