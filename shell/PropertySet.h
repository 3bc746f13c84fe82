#pragma once

#include <map>
#include <string>

// Loosely typed parameters carried from a console command to the simulation controller: names mapped to
// texts, read back as text, float or integer.
class PropertySet {
  public:
    virtual ~PropertySet();

    void set(const std::string& name, const std::string& value);

    // Each returns false and leaves the target untouched when the name is absent or `out` is null. The
    // numeric readers convert as atof and atoi do: a text that is not a number reads as 0.
    bool getString(const std::string& name, std::string* out) const;
    bool getFloat(const std::string& name, float* out) const;
    bool getInt(const std::string& name, int* out) const;

    bool remove(const std::string& name);

  private:
    std::map<std::string, std::string> m_values;
};
