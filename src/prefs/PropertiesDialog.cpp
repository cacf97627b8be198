#include "prefs/PropertiesDialog.h"

#include <exception>

#include "core/AppInfo.h"
#include "core/ConsoleKeyName.h"
#include "core/Text.h"
#include "prefs/KeyNames.h"
#include "shell/basAssociation.h"

namespace reelwright {

namespace {

// On/off options are stored as "1" and "0"; only the number 1 ticks a box.
bool ReadOption(SettingsStore& store, const char* key) {
    return WholeNumber(store.GetSetting(kSectionSettings, key, "1")) == 1;
}

const char* OnOff(bool ticked) { return ticked ? "1" : "0"; }

void ReportFailure(UserPrompts& prompts, const std::string& what, const std::exception& error) {
    prompts.ShowMessage("The properties could not be " + what + ": " + error.what() + ".", kPropertiesTitle,
                        MessageIcon::Stop, MessageButtons::Ok);
}

}  // namespace

bool PropertiesDialog::Load() {
    try {
        SettingsStore& store = services_.store;
        const bool associate = ReadOption(store, kKeyAssociate);
        const bool minOnPlayback = ReadOption(store, kKeyMinOnPlayback);
        const bool loadSplash = ReadOption(store, kKeyLoadSplash);
        // Another program may have taken ".dm_2004" since "Associate" was stored.
        view_.SetTicked(PropertiesOption::Associate,
                        associate && basAssociation::IsProgramAssociated(services_.classes, services_.location));
        view_.SetTicked(PropertiesOption::MinOnPlayback, minOnPlayback);
        view_.SetTicked(PropertiesOption::LoadSplash, loadSplash);
        for (int i = 0; i < kBindCount; ++i)
            view_.SetBindText(i, store.GetSetting(kSectionBinds, BindKey(i), kDialogBindDefaults[i]));
    } catch (const std::exception& error) {
        ReportFailure(services_.prompts, "loaded", error);
        return false;
    }
    view_.SetTicked(PropertiesOption::LoadExtraConfig, true);
    for (int i = 0; i < kBindCount; ++i) view_.SetBindLocked(i, true);
    captureMode_ = true;
    return true;
}

bool PropertiesDialog::BindKeyDown(int index, std::int16_t keyCode) {
    if (!captureMode_) return false;
    view_.SetBindText(index, basFunctions::KeyCodeToBindName(keyCode));
    return true;
}

void PropertiesDialog::BindDoubleClick(int index) {
    view_.SetBindText(index, "");
    captureMode_ = false;
    view_.SetBindLocked(index, false);
}

void PropertiesDialog::BindLostFocus(int index) {
    view_.SetBindLocked(index, true);
    captureMode_ = true;
}

void PropertiesDialog::Ok() {
    // A store that cannot be written must not leave the main window disabled
    // behind a dialog that cannot be closed: the failure is shown and the
    // dialog closes all the same.
    try {
        StoreAll();
    } catch (const std::exception& error) {
        ReportFailure(services_.prompts, "saved", error);
    }
    view_.EnableMainWindow();
    view_.CloseDialog();
}

void PropertiesDialog::StoreAll() {
    SettingsStore& store = services_.store;

    // The registry is written only when the choice differs from what it holds,
    // and "Associate" records what it holds afterwards.
    ClassesRegistry& classes = services_.classes;
    const bool wanted = view_.IsTicked(PropertiesOption::Associate);
    bool ours = basAssociation::IsProgramAssociated(classes, services_.location);
    if (wanted && !ours) {
        basAssociation::RequestProgramAssociation(classes, services_.prompts, services_.location);
        ours = basAssociation::IsProgramAssociated(classes, services_.location);
    } else if (!wanted && ours) {
        basAssociation::RemoveProgramAssociation(classes, services_.location);
        ours = basAssociation::IsProgramAssociated(classes, services_.location);
    }
    store.SaveSetting(kSectionSettings, kKeyAssociate, OnOff(ours));

    store.SaveSetting(kSectionSettings, kKeyLoadSplash, OnOff(view_.IsTicked(PropertiesOption::LoadSplash)));
    store.SaveSetting(kSectionSettings, kKeyMinOnPlayback,
                      OnOff(view_.IsTicked(PropertiesOption::MinOnPlayback)));
    store.SaveSetting(kSectionSettings, kKeyLoadExtraConfig,
                      OnOff(view_.IsTicked(PropertiesOption::LoadExtraConfig)));

    // An empty bind, and a name typed by hand that the game's console would
    // not take as one key, go back to the box's default.
    bool bindWasEmpty = false;
    std::vector<std::string> refusedNames;
    for (int i = 0; i < kBindCount; ++i) {
        std::string text = view_.BindText(i);
        const bool empty = IsBlank(text);
        if (empty || !IsConsoleKeyName(text)) {
            if (empty)
                bindWasEmpty = true;
            else
                refusedNames.push_back(text);
            text = kDialogBindDefaults[i];
            view_.SetBindText(i, text);
        }
        store.SaveSetting(kSectionBinds, BindKey(i), text);
    }

    if (bindWasEmpty)
        services_.prompts.ShowMessage(kEmptyBindWarning, kPropertiesTitle, MessageIcon::Exclamation,
                                      MessageButtons::Ok);
    if (!refusedNames.empty())
        services_.prompts.ShowMessage(RefusedKeyNameWarning(refusedNames), kPropertiesTitle, MessageIcon::Exclamation,
                                      MessageButtons::Ok);
}

std::string RefusedKeyNameWarning(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) {
        if (!text.empty()) text += "\r\n";
        text += "The key name \"" + name + "\" cannot be used in the game's console.  It has now been set to default.";
    }
    return text;
}

}  // namespace reelwright
