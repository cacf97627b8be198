// The splash screen: the artwork and the version for two seconds, then the
// main window.
#pragma once

#include <windows.h>

#include <functional>

#include "core/Layout.h"
#include "core/win/BaseWindow.h"
#include "core/win/basAPI.h"

namespace reelwright {

class frmSplash : public win::BaseWindow<frmSplash> {
public:
    static constexpr const wchar_t* kClassName = L"ReelwrightSplash";
    enum Id : int { IDC_imgSplash = 100, IDC_lblVersion, IDT_tmrSplash };

    static constexpr TwipsRect kClient{0, 0, 5250, 2625};
    static constexpr TwipsRect kPicture{0, 0, 5250, 2625};
    static constexpr TwipsRect kVersionLabel{2880, 2040, 2295, 255};

    // `onTick` runs once, after the splash window has been destroyed.
    explicit frmSplash(std::function<void()> onTick);
    ~frmSplash() override = default;

    bool Load();
    void Show();

    HWND imgSplash = nullptr;
    HWND lblVersion = nullptr;

private:
    friend class win::BaseWindow<frmSplash>;

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnDpiApplied() override;
    void tmrSplash_Timer();

    std::function<void()> onTick_;
    basAPI::UniqueBitmap picture_;
    basAPI::UniqueBrush labelBrush_;
};

}  // namespace reelwright
