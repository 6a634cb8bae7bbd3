#pragma once
// The settings file "WLconfig.ini" beside the executable: created once with
// the defaults when nothing of that name exists, otherwise only read.
#include "../app/StartupInit.h"
#include "../app/Text.h"

// The executable's directory, from the module's own path.
Text executableDirectory();

class ConfigFile final : public SettingsSource {
public:
    explicit ConfigFile(Text runDirectory) : runDirectory_(std::move(runDirectory)) {}

    const Text& runDirectory() const { return runDirectory_; }
    Text configFilePath() const;
    void ensureConfigFile() override;
    Text readConfigValue(const char* section, const char* key) override;

private:
    Text runDirectory_;
};
