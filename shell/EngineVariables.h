#pragma once

#include <functional>
#include <list>
#include <map>
#include <memory>
#include <string>

// The program's named settings. Every value is kept as text; the typed setters and getters convert with
// fixed formats. Objects may watch a name and are called back on every change of it.
class EngineVariables {
  public:
    EngineVariables() = default;
    EngineVariables(const EngineVariables&) = delete;
    EngineVariables& operator=(const EngineVariables&) = delete;
    virtual ~EngineVariables();

    void setString(std::string name, std::string value);
    void setFloat(std::string name, float value);
    void setInt(std::string name, int value);
    void setBool(std::string name, bool value);

    // Each returns false and leaves `out` untouched when the variable does not exist. A stored text that
    // does not read as a number still returns true and leaves the number untouched.
    bool getString(const std::string& name, std::string& out) const;
    bool getFloat(const std::string& name, float& out) const;
    bool getInt(const std::string& name, int& out) const;
    bool getBool(const std::string& name, bool& out) const;

    void removeVariable(const std::string& name);

    // Calls `(object->*callback)(name, value)` after every change of `name`, in registration order.
    template <class T>
    void addWatcher(const std::string& name, T* object, void (T::*callback)(std::string, std::string)) {
        addWatcherRecord(name, object, [object, callback](std::string n, std::string v) {
            (object->*callback)(std::move(n), std::move(v));
        });
    }

  private:
    struct Watcher {
        const void* object;
        std::function<void(std::string, std::string)> callback;
    };

    void addWatcherRecord(const std::string& name, const void* object,
                          std::function<void(std::string, std::string)> callback);
    void notify(std::string name, std::string value);

    std::map<std::string, std::string> m_values;
    std::map<std::string, std::list<Watcher>> m_watchers;
};

// The one store of the process; it exists before main and is never null.
EngineVariables* getEngineVariables();
