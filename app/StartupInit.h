#pragma once
#include <functional>

#include "AppState.h"

// What start-up initialisation writes on the main window.
class StartupControls {
public:
    virtual void setPortAText(const Text&) = 0;         // 编辑框端口A
    virtual void setPortBText(const Text&) = 0;         // 编辑框端口B
    virtual void setRepeatCountText(const Text&) = 0;   // 编辑框按键次数
    virtual void checkEnter() = 0;                      // 单选框E
    virtual void checkTab() = 0;                        // 单选框T
    virtual void setAddressCaption(const Text&) = 0;    // 标签IP
protected:
    ~StartupControls() = default;
};

// The settings file, as start-up uses it.
class SettingsSource {
public:
    virtual void ensureConfigFile() = 0;
    virtual Text readConfigValue(const char* section, const char* key) = 0;
protected:
    ~SettingsSource() = default;
};

// The main window's created event: settings into the controls, the scan path
// armed, and the first local address shown (nothing when there is none).
void initialiseOnStart(AppState& state, StartupControls& controls, SettingsSource& settings,
                       const std::function<TextArray()>& localAddressList);
