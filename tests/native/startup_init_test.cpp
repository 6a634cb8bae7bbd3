#include <gtest/gtest.h>

#include <map>

#include "app/StartupInit.h"

namespace {

class FakeControls final : public StartupControls {
public:
    Text portA = "1223", portB = "1224", count = "1", address;
    bool enter = false, tab = false;
    void setPortAText(const Text& t) override { portA = t; }
    void setPortBText(const Text& t) override { portB = t; }
    void setRepeatCountText(const Text& t) override { count = t; }
    void checkEnter() override { enter = true; }
    void checkTab() override { tab = true; }
    void setAddressCaption(const Text& t) override { address = t; }
};

class FakeSettings final : public SettingsSource {
public:
    std::map<std::string, Text> values;
    bool ensured = false;
    void ensureConfigFile() override { ensured = true; }
    Text readConfigValue(const char* section, const char* key) override {
        EXPECT_TRUE(ensured) << "read before the file was ensured";
        EXPECT_STREQ(section, "data");
        const auto found = values.find(key);
        return found == values.end() ? Text() : found->second;
    }
};

TEST(StartupInit, PutsTheSettingsIntoTheControlsAndShowsTheFirstAddress) {
    AppState state;
    state.arrivalCount = 7;
    FakeControls controls;
    FakeSettings settings;
    settings.values = {{"PortA", "5000"}, {"PortB", "1224"}, {"Number", "2"}, {"Button", "0"}};
    initialiseOnStart(state, controls, settings, [] { return TextArray{"192.168.1.5", "10.0.0.2"}; });
    EXPECT_EQ(controls.portA, "5000");
    EXPECT_EQ(controls.portB, "1224");
    EXPECT_EQ(controls.count, "2");
    EXPECT_TRUE(controls.enter);
    EXPECT_FALSE(controls.tab);
    EXPECT_EQ(controls.address, "192.168.1.5");
    EXPECT_EQ(state.arrivalCount, 0);
    EXPECT_EQ(state.localAddresses, (TextArray{"192.168.1.5", "10.0.0.2"}));
}

TEST(StartupInit, OnlyALoneZeroSelectsEnter) {
    for (const char* button : std::initializer_list<const char*>{"1", "00", " 0", "0 ", "", "Enter", nullptr}) {
        AppState state;
        FakeControls controls;
        FakeSettings settings;
        if (button) settings.values["Button"] = button;
        initialiseOnStart(state, controls, settings, [] { return TextArray{}; });
        EXPECT_FALSE(controls.enter) << (button ? button : "(missing)");
        EXPECT_TRUE(controls.tab) << (button ? button : "(missing)");
    }
}

TEST(StartupInit, MissingKeysEmptyTheBoxesAndNoAddressLeavesTheLabelEmpty) {
    AppState state;
    FakeControls controls;
    FakeSettings settings;
    initialiseOnStart(state, controls, settings, [] { return TextArray{}; });
    EXPECT_EQ(controls.portA, "");
    EXPECT_EQ(controls.portB, "");
    EXPECT_EQ(controls.count, "");
    EXPECT_EQ(controls.address, "");
    EXPECT_TRUE(state.localAddresses.empty());
}

}  // namespace
