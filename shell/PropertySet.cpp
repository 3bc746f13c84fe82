#include "shell/PropertySet.h"

#include "shell/TextScan.h"

PropertySet::~PropertySet() = default;

void PropertySet::set(const std::string& name, const std::string& value) {
    m_values[name] = value;
}

bool PropertySet::getString(const std::string& name, std::string* out) const {
    auto it = m_values.find(name);
    if (out == nullptr || it == m_values.end()) {
        return false;
    }
    *out = it->second;
    return true;
}

bool PropertySet::getFloat(const std::string& name, float* out) const {
    auto it = m_values.find(name);
    if (out == nullptr || it == m_values.end()) {
        return false;
    }
    float value = 0.0f;
    scanFloat(it->second.c_str(), value);
    *out = value;
    return true;
}

bool PropertySet::getInt(const std::string& name, int* out) const {
    auto it = m_values.find(name);
    if (out == nullptr || it == m_values.end()) {
        return false;
    }
    int value = 0;
    scanInt(it->second.c_str(), value);
    *out = value;
    return true;
}

bool PropertySet::remove(const std::string& name) {
    return m_values.erase(name) > 0;
}
