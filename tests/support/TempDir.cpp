#include "tests/support/TempDir.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

TempDir::TempDir(bool enter) {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/tessaron-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary directory");
    }
    m_path = pattern;
    if (enter) {
        m_previous = std::filesystem::current_path().string();
        std::filesystem::current_path(m_path);
    }
}

TempDir::~TempDir() {
    std::error_code ignored;
    if (!m_previous.empty()) {
        std::filesystem::current_path(m_previous, ignored);
    }
    std::filesystem::remove_all(m_path, ignored);
}

std::string TempDir::write(const std::string& name, const std::string& content) const {
    std::string path = file(name);
    std::ofstream out(path, std::ios::binary);
    out << content;
    return path;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}
