#include "loader/SLRunSniff.h"

#include <sys/stat.h>

#include <fstream>

SLRunSniff::SLRunSniff(const std::string& path) {
    // Only a regular file: a pipe or a device could block or never end.
    struct stat info;
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return;
    }
    std::ifstream in(path, std::ios::binary);
    std::string text(kMaxBytes, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<size_t>(in.gcount()));
    size_t start = 0;
    while (start < text.size() && m_lines.size() < kMaxLines) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        m_lines.push_back(std::move(line));
        start = end + 1;
    }
}

std::string_view SLRunSniff::firstText() const {
    for (const std::string& line : m_lines) {
        if (line.find_first_not_of(" \t") != std::string::npos) {
            return line;
        }
    }
    return {};
}
