// A dialog window owned by another window and shown while its owner is
// disabled. Closing it gives the owner back first and destroys the dialog
// after that, so that the system activates the owner again and not whatever
// other program lies next in the z-order.
#pragma once

#include <windows.h>

namespace reelwright::win {

class OwnedDialog {
public:
    explicit OwnedDialog(HWND owner) : owner_(owner) {}
    OwnedDialog(const OwnedDialog&) = delete;
    OwnedDialog& operator=(const OwnedDialog&) = delete;

    HWND owner() const { return owner_; }

    // Disables the owner, shows `dialog` in front and puts the focus on `focus`.
    void Show(HWND dialog, HWND focus);
    // Enables the owner again, if this dialog disabled it.
    void EnableOwner();
    // Every way of closing ends here: the owner first, then the dialog.
    void Close(HWND dialog);
    // For WM_DESTROY: a dialog destroyed some other way (its owner going
    // first) must not leave its owner disabled.
    void OnDestroy() { EnableOwner(); }

private:
    HWND owner_;
    bool ownerDisabled_ = false;
};

}  // namespace reelwright::win
