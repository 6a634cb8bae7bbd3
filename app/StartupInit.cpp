#include "StartupInit.h"

void initialiseOnStart(AppState& state, StartupControls& controls, SettingsSource& settings,
                       const std::function<TextArray()>& localAddressList) {
    settings.ensureConfigFile();
    controls.setPortAText(settings.readConfigValue("data", "PortA"));
    controls.setPortBText(settings.readConfigValue("data", "PortB"));
    controls.setRepeatCountText(settings.readConfigValue("data", "Number"));
    // Only a lone "0" selects Enter; anything else, empty included, selects Tab.
    if (settings.readConfigValue("data", "Button") == "0")
        controls.checkEnter();
    else
        controls.checkTab();
    state.arrivalCount = 0;
    state.localAddresses = localAddressList();
    if (!state.localAddresses.empty()) controls.setAddressCaption(state.localAddresses.front());
}
