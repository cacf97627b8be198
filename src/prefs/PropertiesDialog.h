// What the properties dialog does: its load from the settings store, the
// capture of pressed keys into the eight bind boxes, and OK, which stores
// every value and applies the association choice. The window implements
// PropertiesView and turns its messages into calls of PropertiesDialog.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/AppServices.h"

namespace reelwright {

inline constexpr int kBindCount = 8;

// Each bind box's own default key, by bind index (0 next demo, 1 play, 2 pause,
// 3 stop, 4 fast motion, 5 slow motion, 6 third-person view, 7 previous demo).
inline constexpr std::array<const char*, kBindCount> kDialogBindDefaults{"F8", "F2", "F3", "F4",
                                                                          "F5", "F6", "F7", "F1"};

inline constexpr const char* kPropertiesTitle = "Reelwright Properties";
inline constexpr const char* kEmptyBindWarning = "You have left a bind empty.  It has now been set to default.";

// The warning after OK for names typed by hand that the game's console cannot
// take as one key: one sentence per name, each on its own line.
std::string RefusedKeyNameWarning(const std::vector<std::string>& names);

enum class PropertiesOption { LoadSplash, MinOnPlayback, Associate, LoadExtraConfig };

// The dialog's controls as the logic sees them.
class PropertiesView {
public:
    virtual ~PropertiesView() = default;

    virtual bool IsTicked(PropertiesOption option) = 0;
    virtual void SetTicked(PropertiesOption option, bool ticked) = 0;
    virtual std::string BindText(int index) = 0;
    virtual void SetBindText(int index, const std::string& text) = 0;
    // A locked box keeps its text while keys are typed into it; the program
    // can still set it.
    virtual void SetBindLocked(int index, bool locked) = 0;
    virtual void EnableMainWindow() = 0;
    virtual void CloseDialog() = 0;
};

class PropertiesDialog {
public:
    PropertiesDialog(AppServices& services, PropertiesView& view) : services_(services), view_(view) {}

    // Fills the boxes from the store; the association box is ticked only when
    // "Associate" is 1 and the association is ours now. False when the store
    // could not be read; the failure has been shown then and the dialog must
    // not open.
    bool Load();

    // A key went down in bind box `index`. True when it was captured: the box
    // shows the key's name and must not take the key as typing.
    bool BindKeyDown(int index, std::int16_t keyCode);
    // A double-click on a bind box: clears and unlocks it for typing by hand.
    void BindDoubleClick(int index);
    // The box lost the focus: it is locked again and keys are captured.
    void BindLostFocus(int index);

    // Stores every value, applies the association choice (creates it when the
    // box is ticked and it is not ours, removes it when the box is clear and it
    // is ours, and stores whether it is ours afterwards), sets binds left empty
    // or holding a name the game's console cannot take back to their defaults
    // (warning once for each kind), enables the main window and closes the
    // dialog.
    void Ok();

    bool captureMode() const { return captureMode_; }

private:
    void StoreAll();

    AppServices& services_;
    PropertiesView& view_;
    bool captureMode_ = true;
};

}  // namespace reelwright
