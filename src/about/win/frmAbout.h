// The About box: title, version, description and credits, with one button.
// A plain window owned by the main window (so it stays out of the task bar),
// shown not modal while the main window is disabled. Closing it, by OK or by
// its close box, enables the main window again. It deletes itself when its
// window is destroyed, and there is never more than one.
#pragma once

#include <windows.h>

#include <vector>

#include "core/Layout.h"
#include "core/win/Controls.h"
#include "core/win/basAPI.h"

namespace reelwright {

class frmAbout {
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

    // Creates the About box owned by `owner`, fills in its texts and shows it
    // centred on the screen; brings the open one to the front instead.
    static frmAbout* Open(HWND owner);
    static frmAbout* Current();

    HWND hwnd() const { return hwnd_; }

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
    explicit frmAbout(HWND owner) : owner_(owner) {}
    ~frmAbout();
    frmAbout(const frmAbout&) = delete;
    frmAbout& operator=(const frmAbout&) = delete;

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool Create();
    void CreateControls();
    void LayoutControls();
    void LoadTexts();
    void CreateFonts();
    void DrawIcon(const DRAWITEMSTRUCT& item) const;

    HWND owner_;
    HWND hwnd_ = nullptr;
    int dpi_ = 96;
    basAPI::UniqueFont font_;
    basAPI::UniqueFont headingFont_;
    basAPI::UniqueIcon icon_;
    std::vector<win::PlacedControl> layout_;
};

}  // namespace reelwright
