#include "core/SettingsStore.h"

#include "core/Text.h"

namespace reelwright {

std::string BindKey(int index) { return "Bind" + std::to_string(index); }

std::string ReadGameFolder(SettingsStore& store) {
    return TrimBlanks(store.GetSetting(kSectionSettings, kKeyGamePath));
}

}  // namespace reelwright
