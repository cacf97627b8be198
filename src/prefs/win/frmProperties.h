// The properties dialog: options and the eight demo-control keys on two tabs.
// A plain window owned by the main window, shown not modal while the main
// window is disabled; OK is its only way out, and it enables the main window
// before the dialog goes. Its owner keeps the object; the object outlives its
// window.
#pragma once

#include <windows.h>

#include <array>

#include "core/AppServices.h"
#include "core/Layout.h"
#include "prefs/PropertiesDialog.h"
#include "core/win/BaseWindow.h"
#include "core/win/OwnedDialog.h"
#include "core/win/WindowSubclass.h"
#include "core/win/basAPI.h"

namespace reelwright {

class frmProperties : public win::BaseWindow<frmProperties>, private PropertiesView {
public:
    enum Id : int {
        IDC_cmdOk = IDOK,
        IDC_tabPreferences = 300,
        IDC_fmePreferences0,
        IDC_fmePreferences1,
        IDC_fmeGeneralOptions,
        IDC_chkLoadSplash,
        IDC_chkMinReelwright,
        IDC_fmeAssociate,
        IDC_chkAssociate,
        IDC_fmeConfigOptions,
        IDC_chkLoadExtraConfig,
        IDC_fmeDemoKeys,
        IDC_txtBind0 = 320,  // ... IDC_txtBind0 + 7
        IDC_lblDefault0 = 330,
        IDC_lblAction0 = 340,      // the action labels, by row
        IDC_lblDefaultKey0 = 350,  // the default-key labels, by row
    };

    static constexpr const wchar_t* kClassName = L"ReelwrightProperties";
    static constexpr const wchar_t* kPageClassName = L"ReelwrightPropertiesPage";

    frmProperties(AppServices& services, HWND owner);
    ~frmProperties() override;

    // Loads the dialog from the store and shows it. When it is open already
    // it is brought to the front instead. False when the store could not be
    // read (the failure has been shown) or the window could not be made.
    bool Open();

    HWND owner() const { return dialog_.owner(); }

    // Layout in twips: the client area, and each control relative to its container.
    static constexpr TwipsRect kClient{0, 0, 6180, 4890};
    static constexpr TwipsRect kTabStrip{120, 120, 5895, 4215};
    static constexpr TwipsRect kPage{240, 600, 5655, 3495};
    static constexpr TwipsRect kGeneralOptionsFrame{0, 0, 5655, 1215};
    static constexpr TwipsRect kLoadSplashBox{120, 360, 2415, 255};
    static constexpr TwipsRect kMinReelwrightBox{120, 720, 3495, 255};
    static constexpr TwipsRect kAssociateFrame{0, 1560, 5655, 735};
    static constexpr TwipsRect kAssociateBox{120, 240, 3855, 375};
    static constexpr TwipsRect kConfigOptionsFrame{0, 2640, 5655, 855};
    static constexpr TwipsRect kLoadExtraConfigBox{120, 360, 4095, 255};
    static constexpr TwipsRect kDemoKeysFrame{0, 0, 5655, 3495};
    static constexpr TwipsRect kOkButton{2640, 4440, 975, 375};
    // The rows of the "Demo Keys" frame: the first row's controls; each row
    // lies kRowStep lower than the one before. The labels' widths reach close
    // to the next control so that their captions fit in the dialog font.
    static constexpr TwipsRect kActionLabel{120, 360, 1305, 255};
    static constexpr TwipsRect kBindBox{1440, 360, 1215, 285};
    static constexpr TwipsRect kDefaultLabel{3360, 360, 675, 255};
    static constexpr TwipsRect kDefaultKeyLabel{4080, 360, 495, 255};
    static constexpr int kRowStep = 360;

    static constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_CLIPCHILDREN;
    static constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;

    // Controls.
    HWND tabPreferences = nullptr;
    std::array<HWND, 2> fmePreferences{};
    HWND fmeGeneralOptions = nullptr;
    HWND chkLoadSplash = nullptr;
    HWND chkMinReelwright = nullptr;
    HWND fmeAssociate = nullptr;
    HWND chkAssociate = nullptr;
    HWND fmeConfigOptions = nullptr;
    HWND chkLoadExtraConfig = nullptr;
    HWND fmeDemoKeys = nullptr;
    std::array<HWND, kBindCount> txtBind{};     // by bind index
    std::array<HWND, kBindCount> lblDefault{};  // the "Default:" labels, by element
    HWND lblPrev = nullptr, lblPlay = nullptr, lblPause = nullptr, lblStop = nullptr, lblFast = nullptr,
         lblSlow = nullptr, lbl3rdPerson = nullptr, lblNext = nullptr;
    HWND lblDefaultPrev = nullptr, lblDefaultPlay = nullptr, lblDefaultPause = nullptr, lblDefaultStop = nullptr,
         lblDefaultFast = nullptr, lblDefaultSlow = nullptr, lblDefault3rdPerson = nullptr, lblDefaultNext = nullptr;
    HWND cmdOk = nullptr;

private:
    friend class win::BaseWindow<frmProperties>;

    static LRESULT CALLBACK PageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleBindBox(HWND box, int index, UINT message, WPARAM wParam, LPARAM lParam);

    void CreateControls();
    void ShowPage(int page);
    void cmdOk_Click();

    // PropertiesView
    bool IsTicked(PropertiesOption option) override;
    void SetTicked(PropertiesOption option, bool ticked) override;
    std::string BindText(int index) override;
    void SetBindText(int index, const std::string& text) override;
    void SetBindLocked(int index, bool locked) override;
    void EnableMainWindow() override;
    void CloseDialog() override;
    HWND CheckBox(PropertiesOption option) const;

    AppServices services_;
    PropertiesDialog propertiesDialog_;
    win::OwnedDialog dialog_;
    HWND lastFocus_ = nullptr;
    bool okRunning_ = false;
    bool closeRequested_ = false;
    // The bind boxes' key capture, by bind index; taken off the boxes before
    // the window goes.
    std::array<win::WindowSubclass, kBindCount> bindBoxKeys_;
};

}  // namespace reelwright
