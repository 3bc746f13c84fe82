#include "gui/VDThemeStore.h"

#include "gui/VDDefaultTheme.h"
#include "shell/EngineVariables.h"

namespace {
// Owning, but not a smart pointer: the store must not be destroyed during static destruction, when the GL
// context its fonts belong to is gone.
VDThemeStore* g_themeStore = nullptr;
}  // namespace

VDThemeStore::VDThemeStore() : m_currentName("default") {
    getEngineVariables()->setString("current_theme", "default");
    addTheme("default", std::make_unique<VDDefaultTheme>());
}

VDThemeStore::~VDThemeStore() {
    for (auto& entry : m_themes) {
        entry.second->release();
        entry.second.reset();
    }
    m_themes.clear();
}

bool VDThemeStore::addTheme(const std::string& name, std::unique_ptr<VDTheme> theme) {
    if (theme == nullptr || m_themes.count(name) != 0) {
        return false;
    }
    VDTheme* added = theme.get();
    m_themes.emplace(name, std::move(theme));
    added->initialise();
    return true;
}

VDTheme* VDThemeStore::getCurrentTheme() const {
    auto found = m_themes.find(m_currentName);
    return found == m_themes.end() ? nullptr : found->second.get();
}

bool createThemeStore() {
    // A second call replaces the store rather than leaking the first.
    destroyThemeStore();
    g_themeStore = new VDThemeStore();
    return g_themeStore != nullptr;
}

VDThemeStore* getThemeStore() {
    return g_themeStore;
}

void destroyThemeStore() {
    delete g_themeStore;
    g_themeStore = nullptr;
}

VDTheme* currentTheme() {
    return g_themeStore == nullptr ? nullptr : g_themeStore->getCurrentTheme();
}

const VDTheme& inputTheme() {
    VDTheme* theme = currentTheme();
    if (theme != nullptr) {
        return *theme;
    }
    // Never initialised: bindings only, no fonts and no GL state.
    static const VDDefaultTheme bindings;
    return bindings;
}
