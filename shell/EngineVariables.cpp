#include "shell/EngineVariables.h"

#include <cstdio>

#include "shell/TextScan.h"

EngineVariables::~EngineVariables() = default;

void EngineVariables::setString(std::string name, std::string value) {
    auto it = m_values.find(name);
    if (it == m_values.end()) {
        it = m_values.emplace(name, std::move(value)).first;
    } else {
        it->second = std::move(value);
    }
    notify(name, it->second);
}

void EngineVariables::setFloat(std::string name, float value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.4f", static_cast<double>(value));
    setString(std::move(name), text);
}

void EngineVariables::setInt(std::string name, int value) {
    setString(std::move(name), std::to_string(value));
}

void EngineVariables::setBool(std::string name, bool value) {
    setString(std::move(name), value ? "true" : "false");
}

bool EngineVariables::getString(const std::string& name, std::string& out) const {
    auto it = m_values.find(name);
    if (it == m_values.end()) {
        return false;
    }
    out = it->second;
    return true;
}

bool EngineVariables::getFloat(const std::string& name, float& out) const {
    auto it = m_values.find(name);
    if (it == m_values.end()) {
        return false;
    }
    scanFloat(it->second.c_str(), out);
    return true;
}

bool EngineVariables::getInt(const std::string& name, int& out) const {
    auto it = m_values.find(name);
    if (it == m_values.end()) {
        return false;
    }
    scanInt(it->second.c_str(), out);
    return true;
}

bool EngineVariables::getBool(const std::string& name, bool& out) const {
    auto it = m_values.find(name);
    if (it == m_values.end()) {
        return false;
    }
    out = it->second == "true";
    return true;
}

void EngineVariables::removeVariable(const std::string& name) {
    m_values.erase(name);
    notify(name, std::string());
}

void EngineVariables::addWatcherRecord(const std::string& name, const void* object,
                                       std::function<void(std::string, std::string)> callback) {
    m_watchers[name].push_back(Watcher{object, std::move(callback)});
}

void EngineVariables::notify(std::string name, std::string value) {
    // Both are the notifier's own copies: a watcher that sets or removes the variable again must not change
    // what the later watchers of this change are told, nor leave them reading freed text.
    auto it = m_watchers.find(name);
    if (it == m_watchers.end()) {
        return;
    }
    for (const Watcher& watcher : it->second) {
        watcher.callback(name, value);
    }
}

EngineVariables* getEngineVariables() {
    // Built on first use, so it exists before any static initialiser or main asks for it.
    static EngineVariables instance;
    return &instance;
}
