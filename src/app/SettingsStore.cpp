#include "app/SettingsStore.h"

#include "app/Text.h"

namespace reelwright {

std::string BindKey(int index) { return "Bind" + std::to_string(index); }

std::string ReadGameFolder(SettingsStore& store, const std::string& appKey) {
    return TrimBlanks(store.GetSetting(appKey, kSectionSettings, kKeyGamePath));
}

}  // namespace reelwright
