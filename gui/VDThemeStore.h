#pragma once

#include <map>
#include <memory>
#include <string>

#include "gui/VDTheme.h"

// The themes by name. It always holds the default theme under "default", which is also the current one.
class VDThemeStore {
  public:
    // Needs a current GL context: the default theme builds its fonts.
    VDThemeStore();
    VDThemeStore(const VDThemeStore&) = delete;
    VDThemeStore& operator=(const VDThemeStore&) = delete;
    virtual ~VDThemeStore();

    // Stores and initialises `theme` under a new name and returns true; an existing name is kept as it is
    // and the offered theme is dropped.
    bool addTheme(const std::string& name, std::unique_ptr<VDTheme> theme);
    // Null when no theme is stored under the current name.
    VDTheme* getCurrentTheme() const;
    const std::string& getCurrentName() const { return m_currentName; }

  private:
    std::map<std::string, std::unique_ptr<VDTheme>> m_themes;
    std::string m_currentName;
};

// The process-wide store. createThemeStore replaces any existing store with a new one and returns whether
// one exists afterwards.
bool createThemeStore();
VDThemeStore* getThemeStore();
void destroyThemeStore();

// The current theme of the process-wide store, or null.
VDTheme* currentTheme();
// The key and button bindings to use for input: the current theme's, or the default bindings while no
// theme is installed, so widgets react to input before the store exists and after it is gone.
const VDTheme& inputTheme();
