#pragma once

#include <string>

// A fresh directory under the system's temporary directory, removed with everything in it on destruction.
// With `enter`, the process works in it until destruction and then returns to where it was.
class TempDir {
  public:
    explicit TempDir(bool enter = false);
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return m_path; }
    std::string file(const std::string& name) const { return m_path + "/" + name; }
    // Writes `content` to the named file in the directory and returns its path.
    std::string write(const std::string& name, const std::string& content) const;

  private:
    std::string m_path;
    std::string m_previous;
};

std::string readFile(const std::string& path);
