#include "ConfigFile.h"

#include "../app/WinHandles.h"
#include "ConfigRules.h"

namespace {
constexpr DWORD ModulePathSize = 260;
constexpr DWORD ValueBufferSize = 10240;
}  // namespace

Text executableDirectory() {
    char path[ModulePathSize] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, ModulePathSize);
    return runDirectoryOf(std::string_view(path, length < ModulePathSize ? length : 0));
}

Text ConfigFile::configFilePath() const {
    return runDirectory_ + '\\' + Text(ConfigFileName);
}

void ConfigFile::ensureConfigFile() {
    WIN32_FIND_DATAA found;
    // Anything of that name, a directory included, counts as the file.
    if (FindHandle(FindFirstFileA(configFilePath().c_str(), &found))) return;
    FileHandle file(CreateFileA(configFilePath().c_str(), GENERIC_WRITE, 0, nullptr,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return;
    DWORD written = 0;
    WriteFile(file.get(), DefaultConfigContent.data(),
              static_cast<DWORD>(DefaultConfigContent.size()), &written, nullptr);
}

Text ConfigFile::readConfigValue(const char* section, const char* key) {
    const Text path = configFilePath();
    const Text trimmedPath(skipLeadingBlanks(path));
    const Text trimmedSection(skipLeadingBlanks(section));
    const Text trimmedKey(skipLeadingBlanks(key));
    if (trimmedPath.empty() || trimmedSection.empty() || trimmedKey.empty()) return {};
    Text buffer(ValueBufferSize, '\0');
    GetPrivateProfileStringA(trimmedSection.c_str(), trimmedKey.c_str(), "", buffer.data(),
                             ValueBufferSize, trimmedPath.c_str());
    buffer.resize(buffer.find('\0'));
    return buffer;
}
