#pragma once

#include <string>
#include <string_view>
#include <vector>

// The first lines of a file, read once so that each reader can tell whether the file is in its format
// without opening it again. At most kMaxLines lines of at most kMaxBytes in all; a line end "\r\n" is cut
// like "\n". A file that cannot be read gives no lines.
class SLRunSniff {
  public:
    static constexpr size_t kMaxLines = 64;
    static constexpr size_t kMaxBytes = 64 * 1024;

    explicit SLRunSniff(const std::string& path);
    const std::vector<std::string>& lines() const { return m_lines; }
    // The first line that holds more than blanks; empty when there is none.
    std::string_view firstText() const;

  private:
    std::vector<std::string> m_lines;
};
