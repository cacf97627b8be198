#include "core/win/OwnedDialog.h"

namespace reelwright::win {

void OwnedDialog::Show(HWND dialog, HWND focus) {
    if (owner_ && ::IsWindow(owner_) && ::IsWindowEnabled(owner_)) {
        ::EnableWindow(owner_, FALSE);
        ownerDisabled_ = true;
    }
    ::ShowWindow(dialog, SW_SHOW);
    ::UpdateWindow(dialog);
    ::SetForegroundWindow(dialog);
    if (focus) ::SetFocus(focus);
}

void OwnedDialog::EnableOwner() {
    if (!ownerDisabled_) return;
    ownerDisabled_ = false;
    if (owner_ && ::IsWindow(owner_)) ::EnableWindow(owner_, TRUE);
}

void OwnedDialog::Close(HWND dialog) {
    EnableOwner();
    if (dialog && ::IsWindow(dialog)) ::DestroyWindow(dialog);
}

}  // namespace reelwright::win
