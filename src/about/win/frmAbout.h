// The About box: title, version, description and credits, with one button.
// A plain window owned by the main window (so it stays out of the task bar),
// shown not modal while the main window is disabled. OK, Escape, its close
// box and Alt+F4 all close it, and each enables the main window before the
// box goes, so that the main window is active again. Its owner keeps the
// object; the object outlives its window.
#pragma once

#include <windows.h>

#include "core/Layout.h"
#include "core/win/BaseWindow.h"
#include "core/win/OwnedDialog.h"
#include "core/win/basAPI.h"

namespace reelwright {

class frmAbout : public win::BaseWindow<frmAbout> {
public:
    enum Id : int {
        IDC_cmdOK = IDOK,
        IDC_picIcon = 500,
        IDC_lblTitle,
        IDC_lblVersion,
        IDC_lblDescription,
        IDC_Line1,
        IDC_Label1,
        IDC_Label2,
        IDC_Label3,
        IDC_Label4,
        IDC_Label5,
        IDC_Label6,
        IDC_Label7,
    };

    static constexpr const wchar_t* kClassName = L"ReelwrightAbout";

    explicit frmAbout(HWND owner);
    ~frmAbout() override;

    // Creates the About box, fills in its texts and shows it centred on the
    // screen; brings it to the front when it is open already. False when the
    // window could not be made.
    bool Open();
    // Closes it as OK does.
    void Close();

    // Layout in twips, relative to the client area.
    static constexpr TwipsRect kClient{0, 0, 5730, 4890};
    static constexpr TwipsRect kIcon{240, 240, 540, 540};
    static constexpr TwipsRect kTitle{1050, 240, 4365, 480};
    static constexpr TwipsRect kVersion{1050, 780, 4365, 225};
    static constexpr TwipsRect kDescription{1050, 1125, 4245, 1290};
    // The separator: a grey line with a white one beneath, from x 90 to 5669.
    static constexpr TwipsRect kSeparator{90, 2880, 5580, 30};
    static constexpr TwipsRect kTeamHeading{120, 3000, 1935, 255};
    static constexpr TwipsRect kCredits[4] = {
        {120, 3360, 3135, 255}, {120, 3720, 2175, 255}, {120, 4080, 2295, 255}, {120, 4440, 2415, 255}};
    static constexpr TwipsRect kVisitHeadingPlace{3360, 3000, 495, 255};
    static constexpr TwipsRect kWebAddressPlace{3360, 3360, 2295, 255};
    static constexpr TwipsRect kOkButton{4080, 4440, 1260, 345};
    static constexpr int kIconSize = 32;  // pixels at 96 DPI

    static constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    static constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

    // Controls.
    HWND picIcon = nullptr;
    HWND lblTitle = nullptr;
    HWND lblVersion = nullptr;
    HWND lblDescription = nullptr;
    HWND Line1 = nullptr;
    HWND Label1 = nullptr, Label2 = nullptr, Label3 = nullptr, Label4 = nullptr, Label5 = nullptr, Label6 = nullptr,
         Label7 = nullptr;
    HWND cmdOK = nullptr;

private:
    friend class win::BaseWindow<frmAbout>;

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void CreateControls();
    void LoadTexts();
    void OnDpiApplied() override;
    void DrawIcon(const DRAWITEMSTRUCT& item) const;

    win::OwnedDialog dialog_;
    basAPI::UniqueIcon icon_;
};

}  // namespace reelwright
