#include <windows.h>

#include <gtest/gtest.h>

#include <commctrl.h>
#include <windowsx.h>

#include <memory>
#include <thread>

#include "app/win/frmMain.h"
#include "prefs/win/frmProperties.h"
#include "core/win/Controls.h"
#include "support/win/WinTestSupport.h"

namespace reelwright {
namespace {

using namespace test;

constexpr LPARAM kAltHeld = LPARAM{1} << 29;

// A place given in twips at 96 DPI (15 twips per pixel).
PixelRect At96Dpi(int left, int top, int width, int height) { return {left / 15, top / 15, width / 15, height / 15}; }

std::optional<std::wstring> ClassesDefaultValue(const wchar_t* key) {
    wchar_t buffer[1024]{};
    LONG size = sizeof(buffer);
    if (::RegQueryValueW(HKEY_CLASSES_ROOT, key, buffer, &size) != ERROR_SUCCESS) return std::nullopt;
    return std::wstring(buffer);
}

struct PropertiesWindow : ::testing::Test {
    void SetUp() override {
        ClearSettings();
        RemoveAssociationKeys();
        SeedSetting("Settings", "SOF2 Path", "C:\\Games\\SOF2");
        ASSERT_EQ(main.Load(""), LoadOutcome::ShowWindow);
        main.Show();
    }
    void TearDown() override {
        ClearSettings();
        RemoveAssociationKeys();
    }

    // Opens the dialog as the menu item does.
    frmProperties& Open() {
        ::SendMessageW(main.hwnd(), WM_COMMAND, frmMain::IDM_mnuProperties, 0);
        frmProperties* dialog = main.Properties();
        if (!dialog) throw std::runtime_error("the properties dialog did not open");
        return *dialog;
    }
    // Brings the tab at `index` to the front as a click on it does.
    static void SelectTab(frmProperties& dialog, int index) {
        TabCtrl_SetCurSel(dialog.tabPreferences, index);
        NMHDR header{dialog.tabPreferences, static_cast<UINT_PTR>(frmProperties::IDC_tabPreferences),
                     static_cast<UINT>(TCN_SELCHANGE)};
        ::SendMessageW(dialog.hwnd(), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
    }
    static std::wstring Text(HWND control) { return WindowText(control); }
    static bool Locked(HWND box) { return (::GetWindowLongW(box, GWL_STYLE) & ES_READONLY) != 0; }
    static bool Ticked(HWND box) { return Button_GetCheck(box) == BST_CHECKED; }
    static void DoubleClick(HWND box) { ::SendMessageW(box, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5)); }
    static void Type(HWND box, const std::wstring& text) {
        for (wchar_t c : text) ::SendMessageW(box, WM_CHAR, c, 1);
    }
    void PressOk(frmProperties& dialog) {
        HWND window = dialog.hwnd();
        ::SendMessageW(dialog.cmdOk, BM_CLICK, 0, 0);
        EXPECT_FALSE(::IsWindow(window));
        EXPECT_EQ(main.Properties(), nullptr);
        EXPECT_TRUE(::IsWindowEnabled(main.hwnd()));
    }

    RealServices real;
    frmMain main{real.Services(), real.sessions};
};

TEST_F(PropertiesWindow, OpensFromAFreshStoreWithTheOptionsTickedAndTheDialogsKeys) {
    frmProperties& dialog = Open();

    EXPECT_EQ(Text(dialog.hwnd()), L"Reelwright Properties");
    EXPECT_FALSE(::IsWindowEnabled(main.hwnd()));
    EXPECT_EQ(::GetFocus(), dialog.cmdOk);
    EXPECT_EQ(Text(dialog.cmdOk), L"&Ok");

    EXPECT_TRUE(Ticked(dialog.chkLoadSplash));
    EXPECT_TRUE(Ticked(dialog.chkMinReelwright));
    EXPECT_FALSE(Ticked(dialog.chkAssociate));  // nothing is registered, so it is not ours
    EXPECT_TRUE(Ticked(dialog.chkLoadExtraConfig));
    EXPECT_FALSE(::IsWindowEnabled(dialog.chkLoadExtraConfig));

    const wchar_t* keys[] = {L"F8", L"F2", L"F3", L"F4", L"F5", L"F6", L"F7", L"F1"};
    for (int i = 0; i < kBindCount; ++i) {
        EXPECT_EQ(Text(dialog.txtBind[i]), keys[i]) << i;
        EXPECT_TRUE(Locked(dialog.txtBind[i])) << i;
    }

    // The Options tab is in front; the key page lies hidden behind it.
    EXPECT_EQ(TabCtrl_GetItemCount(dialog.tabPreferences), 2);
    EXPECT_EQ(TabCtrl_GetCurSel(dialog.tabPreferences), 0);
    EXPECT_TRUE(::IsWindowVisible(dialog.fmePreferences[0]));
    EXPECT_FALSE(::IsWindowVisible(dialog.fmePreferences[1]));

    // Opening it again brings the same dialog forward.
    ::SendMessageW(main.hwnd(), WM_COMMAND, frmMain::IDM_mnuProperties, 0);
    EXPECT_EQ(main.Properties(), &dialog);
    EXPECT_EQ(FindTopWindow(frmProperties::kClassName), dialog.hwnd());
}

TEST_F(PropertiesWindow, HasAFixedFrameWithoutAnyCloseOrSizeButtons) {
    frmProperties& dialog = Open();
    const LONG style = ::GetWindowLongW(dialog.hwnd(), GWL_STYLE);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_FALSE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    EXPECT_EQ(::GetWindow(dialog.hwnd(), GW_OWNER), main.hwnd());
    RECT client{};
    ::GetClientRect(dialog.hwnd(), &client);
    EXPECT_EQ(client.right, 412);   // 6180 twips
    EXPECT_EQ(client.bottom, 326);  // 4890 twips
}

TEST_F(PropertiesWindow, ControlsLieAtTheirPlacesAndCarryTheirCaptions) {
    frmProperties& dialog = Open();
    HWND window = dialog.hwnd();
    HWND options = dialog.fmePreferences[0];
    HWND keys = dialog.fmePreferences[1];

    EXPECT_EQ(win::PlaceInParent(dialog.tabPreferences, window), At96Dpi(120, 120, 5895, 4215));
    EXPECT_EQ(win::PlaceInParent(options, window), At96Dpi(240, 600, 5655, 3495));
    EXPECT_EQ(win::PlaceInParent(keys, window), At96Dpi(240, 600, 5655, 3495));
    EXPECT_EQ(win::PlaceInParent(dialog.cmdOk, window), At96Dpi(2640, 4440, 975, 375));

    // Frames on the pages; check boxes inside their frames.
    EXPECT_EQ(win::PlaceInParent(dialog.fmeGeneralOptions, options), At96Dpi(0, 0, 5655, 1215));
    EXPECT_EQ(win::PlaceInParent(dialog.chkLoadSplash, options), At96Dpi(120, 360, 2415, 255));
    EXPECT_EQ(win::PlaceInParent(dialog.chkMinReelwright, options), At96Dpi(120, 720, 3495, 255));
    EXPECT_EQ(win::PlaceInParent(dialog.fmeAssociate, options), At96Dpi(0, 1560, 5655, 735));
    EXPECT_EQ(win::PlaceInParent(dialog.chkAssociate, options), At96Dpi(120, 1560 + 240, 3855, 375));
    EXPECT_EQ(win::PlaceInParent(dialog.fmeConfigOptions, options), At96Dpi(0, 2640, 5655, 855));
    EXPECT_EQ(win::PlaceInParent(dialog.chkLoadExtraConfig, options), At96Dpi(120, 2640 + 360, 4095, 255));
    EXPECT_EQ(win::PlaceInParent(dialog.fmeDemoKeys, keys), At96Dpi(0, 0, 5655, 3495));

    EXPECT_EQ(Text(dialog.fmeGeneralOptions), L"General Options");
    EXPECT_EQ(Text(dialog.chkLoadSplash), L"Load Splash");
    EXPECT_EQ(Text(dialog.chkMinReelwright), L"Minimise Reelwright on playback");
    EXPECT_EQ(Text(dialog.fmeAssociate), L"Demo Associations");
    EXPECT_EQ(Text(dialog.chkAssociate), L"Associate .dm_2004 files with Reelwright");
    EXPECT_EQ(Text(dialog.fmeConfigOptions), L"Config Options");
    EXPECT_EQ(Text(dialog.chkLoadExtraConfig), L"Load advanced demo viewing config");
    EXPECT_EQ(Text(dialog.fmeDemoKeys), L"Demo Keys");

    // Rows from the top: action, bind box (by its index), "Default:", default key.
    const struct {
        HWND action;
        const wchar_t* caption;
        int bind;
        int defaultElement;
        HWND defaultKey;
        const wchar_t* key;
    } rows[] = {
        {dialog.lblPrev, L"Previous Demo:", 7, 7, dialog.lblDefaultPrev, L"F1"},
        {dialog.lblPlay, L"Play:", 1, 0, dialog.lblDefaultPlay, L"F2"},
        {dialog.lblPause, L"Pause:", 2, 1, dialog.lblDefaultPause, L"F3"},
        {dialog.lblStop, L"Stop:", 3, 2, dialog.lblDefaultStop, L"F4"},
        {dialog.lblFast, L"Fast Motion:", 4, 3, dialog.lblDefaultFast, L"F5"},
        {dialog.lblSlow, L"Slow Motion:", 5, 4, dialog.lblDefaultSlow, L"F6"},
        {dialog.lbl3rdPerson, L"3rd Person View:", 6, 5, dialog.lblDefault3rdPerson, L"F7"},
        {dialog.lblNext, L"Next Demo:", 0, 6, dialog.lblDefaultNext, L"F8"},
    };
    for (int row = 0; row < 8; ++row) {
        SCOPED_TRACE(row);
        const int top = 360 + 360 * row;
        EXPECT_EQ(Text(rows[row].action), rows[row].caption);
        EXPECT_EQ(win::PlaceInParent(rows[row].action, keys).left, 120 / 15);
        EXPECT_EQ(win::PlaceInParent(rows[row].action, keys).top, top / 15);
        EXPECT_EQ(win::PlaceInParent(dialog.txtBind[rows[row].bind], keys), At96Dpi(1440, top, 1215, 285));
        EXPECT_EQ(Text(dialog.lblDefault[rows[row].defaultElement]), L"Default:");
        EXPECT_EQ(win::PlaceInParent(dialog.lblDefault[rows[row].defaultElement], keys).left, 3360 / 15);
        EXPECT_EQ(win::PlaceInParent(dialog.lblDefault[rows[row].defaultElement], keys).top, top / 15);
        EXPECT_EQ(Text(rows[row].defaultKey), rows[row].key);
        EXPECT_EQ(win::PlaceInParent(rows[row].defaultKey, keys).left, 4080 / 15);
        EXPECT_EQ(win::PlaceInParent(rows[row].defaultKey, keys).top, top / 15);
    }
}

TEST_F(PropertiesWindow, KeysPressedInABindBoxAreCapturedAndTypeNothing) {
    frmProperties& dialog = Open();
    HWND box = dialog.txtBind[3];

    ::SendMessageW(box, WM_KEYDOWN, VK_NUMPAD8, 1);
    EXPECT_EQ(Text(box), L"KP_UPARROW");
    ::SendMessageW(box, WM_CHAR, L'8', 1);
    EXPECT_EQ(Text(box), L"KP_UPARROW");

    ::SendMessageW(box, WM_KEYDOWN, VK_OEM_MINUS, 1);  // a key the game has no name for
    EXPECT_EQ(Text(box), L"");

    // With Alt held keys arrive as system keys: Alt itself, then Alt+F4, which
    // is bound like any key and does not close anything.
    ::SendMessageW(box, WM_SYSKEYDOWN, VK_MENU, kAltHeld | 1);
    EXPECT_EQ(Text(box), L"alt");
    ::SendMessageW(box, WM_SYSKEYDOWN, VK_F4, kAltHeld | 1);
    EXPECT_EQ(Text(box), L"F4");
    ::SendMessageW(box, WM_SYSCHAR, L'q', kAltHeld | 1);
    EXPECT_TRUE(::IsWindow(dialog.hwnd()));
    EXPECT_FALSE(::IsWindowEnabled(main.hwnd()));
    EXPECT_TRUE(Locked(box));
}

TEST_F(PropertiesWindow, ACapturedAltKeyDoesNotPressTheOkButtonsAccessKey) {
    frmProperties& dialog = Open();
    SelectTab(dialog, 1);
    HWND box = dialog.txtBind[0];
    ::SetFocus(box);
    // Through the dialog manager, as the program's message loop passes keys:
    // Alt+O makes a system character that would otherwise press "&Ok".
    const LPARAM scanCode = static_cast<LPARAM>(::MapVirtualKeyW('O', MAPVK_VK_TO_VSC)) << 16;
    ::PostMessageW(box, WM_SYSKEYDOWN, 'O', kAltHeld | scanCode | 1);
    PumpThroughDialog(dialog.hwnd());
    ASSERT_TRUE(::IsWindow(dialog.hwnd()));
    EXPECT_EQ(Text(box), L"O");
    EXPECT_FALSE(ReadSetting("Binds", "Bind0").has_value());
}

TEST_F(PropertiesWindow, DoubleClickClearsAndUnlocksForANameTypedByHand) {
    frmProperties& dialog = Open();
    SelectTab(dialog, 1);
    HWND box = dialog.txtBind[2];

    DoubleClick(box);
    EXPECT_EQ(Text(box), L"");
    EXPECT_FALSE(Locked(box));
    EXPECT_EQ(::GetFocus(), box);
    EXPECT_TRUE(Locked(dialog.txtBind[1]));

    ::SendMessageW(box, WM_KEYDOWN, 'M', 1);  // typing, not capture
    Type(box, L"mouse2");
    EXPECT_EQ(Text(box), L"mouse2");

    PressOk(dialog);  // the click takes the focus first, which locks the box again
    EXPECT_EQ(ReadSetting("Binds", "Bind2"), "mouse2");
    EXPECT_TRUE(real.fakePrompts.messages.empty());
}

TEST_F(PropertiesWindow, LeavingABoxLocksItAndCapturesKeysAgain) {
    frmProperties& dialog = Open();
    SelectTab(dialog, 1);
    DoubleClick(dialog.txtBind[5]);
    ::SetFocus(dialog.txtBind[6]);
    EXPECT_TRUE(Locked(dialog.txtBind[5]));
    ::SendMessageW(dialog.txtBind[6], WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_EQ(Text(dialog.txtBind[6]), L"enter");
}

TEST_F(PropertiesWindow, OkStoresBothPagesWhicheverTabIsInFront) {
    // Our association from before, which clearing the box removes.
    ::RegSetValueW(HKEY_CLASSES_ROOT, L".dm_2004", REG_SZ, L"SOF2_Demo_File", 0);
    const std::wstring command = L"\"" + BuildFolder() + L"\\Reelwright.exe\" \"%1\"";
    ::RegSetValueW(HKEY_CLASSES_ROOT, L"SOF2_Demo_File\\shell\\open\\command", REG_SZ, command.c_str(), 0);
    frmProperties& dialog = Open();
    EXPECT_TRUE(Ticked(dialog.chkAssociate));

    SelectTab(dialog, 1);
    EXPECT_TRUE(::IsWindowVisible(dialog.fmePreferences[1]));
    EXPECT_FALSE(::IsWindowVisible(dialog.fmePreferences[0]));
    ::SendMessageW(dialog.txtBind[0], WM_KEYDOWN, 'N', 1);
    ::SendMessageW(dialog.txtBind[7], WM_KEYDOWN, VK_NUMPAD9, 1);

    SelectTab(dialog, 0);
    ::SendMessageW(dialog.chkLoadSplash, BM_CLICK, 0, 0);
    ::SendMessageW(dialog.chkAssociate, BM_CLICK, 0, 0);
    SelectTab(dialog, 1);
    SelectTab(dialog, 0);
    EXPECT_FALSE(Ticked(dialog.chkLoadSplash));
    EXPECT_EQ(Text(dialog.txtBind[0]), L"N");

    PressOk(dialog);
    EXPECT_EQ(ReadSetting("Settings", "Associate"), "0");
    EXPECT_EQ(ReadSetting("Settings", "Load Splash"), "0");
    EXPECT_EQ(ReadSetting("Settings", "Min on Playback"), "1");
    EXPECT_EQ(ReadSetting("Settings", "Load Extra Config"), "1");
    const char* binds[] = {"N", "F2", "F3", "F4", "F5", "F6", "F7", "KP_PGUP"};
    for (int i = 0; i < kBindCount; ++i) EXPECT_EQ(ReadSetting("Binds", BindKey(i)), binds[i]) << i;
    EXPECT_FALSE(ClassesDefaultValue(L".dm_2004").has_value());
    EXPECT_FALSE(ClassesDefaultValue(L"SOF2_Demo_File").has_value());
}

TEST_F(PropertiesWindow, OkWithTheBoxTickedRegistersTheProgram) {
    SeedSetting("Settings", "Associate", "0");
    SeedSetting("Binds", "Bind4", "X");
    frmProperties& dialog = Open();
    EXPECT_FALSE(Ticked(dialog.chkAssociate));
    EXPECT_EQ(Text(dialog.txtBind[4]), L"X");
    ::SendMessageW(dialog.chkAssociate, BM_CLICK, 0, 0);

    PressOk(dialog);
    EXPECT_EQ(ReadSetting("Settings", "Associate"), "1");
    EXPECT_EQ(ReadSetting("Binds", "Bind4"), "X");
    EXPECT_EQ(ClassesDefaultValue(L".dm_2004"), L"SOF2_Demo_File");
    EXPECT_EQ(ClassesDefaultValue(L"SOF2_Demo_File\\shell\\open\\command"),
              L"\"" + BuildFolder() + L"\\Reelwright.exe\" \"%1\"");
}

TEST_F(PropertiesWindow, SeveralEmptyBoxesAreSetBackWithOneWarning) {
    frmProperties& dialog = Open();
    ::SendMessageW(dialog.txtBind[1], WM_KEYDOWN, VK_SCROLL, 1);
    ::SendMessageW(dialog.txtBind[6], WM_KEYDOWN, VK_LWIN, 1);
    DoubleClick(dialog.txtBind[3]);
    Type(dialog.txtBind[3], L"   ");

    PressOk(dialog);
    ASSERT_EQ(real.fakePrompts.messages.size(), 1u);
    EXPECT_EQ(real.fakePrompts.messages[0].title, "Reelwright Properties");
    EXPECT_EQ(real.fakePrompts.messages[0].text, "You have left a bind empty.  It has now been set to default.");
    EXPECT_EQ(ReadSetting("Binds", "Bind1"), "F2");
    EXPECT_EQ(ReadSetting("Binds", "Bind3"), "F4");
    EXPECT_EQ(ReadSetting("Binds", "Bind6"), "F7");
}

TEST_F(PropertiesWindow, NamesTypedByHandThatTheConsoleCannotTakeAreSetBackWithOneWarning) {
    frmProperties& dialog = Open();
    SelectTab(dialog, 1);
    DoubleClick(dialog.txtBind[0]);
    Type(dialog.txtBind[0], L"F1;quit");
    DoubleClick(dialog.txtBind[7]);
    Type(dialog.txtBind[7], L"my key");
    DoubleClick(dialog.txtBind[2]);
    Type(dialog.txtBind[2], L"mouse2");

    PressOk(dialog);
    ASSERT_EQ(real.fakePrompts.messages.size(), 1u);
    EXPECT_EQ(real.fakePrompts.messages[0].title, "Reelwright Properties");
    EXPECT_EQ(real.fakePrompts.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(real.fakePrompts.messages[0].text,
              "The key name \"F1;quit\" cannot be used in the game's console.  It has now been set to default.\r\n"
              "The key name \"my key\" cannot be used in the game's console.  It has now been set to default.");
    EXPECT_EQ(ReadSetting("Binds", "Bind0"), "F8");
    EXPECT_EQ(ReadSetting("Binds", "Bind7"), "F1");
    EXPECT_EQ(ReadSetting("Binds", "Bind2"), "mouse2");
}

TEST_F(PropertiesWindow, TheRealWarningIsAnExclamationBoxWithOneOkButton) {
    AppServices services = real.Services(true);
    auto dialog = std::make_unique<frmProperties>(services, main.hwnd());
    ASSERT_TRUE(dialog->Open());
    ::SendMessageW(dialog->txtBind[0], WM_KEYDOWN, VK_OEM_1, 1);

    DialogAnswerer answer(IDOK);
    ::SendMessageW(dialog->cmdOk, BM_CLICK, 0, 0);
    ASSERT_EQ(answer.Seen().size(), 1u);
    const DialogSnapshot shown = answer.Seen()[0];

    EXPECT_EQ(shown.title, L"Reelwright Properties");
    EXPECT_EQ(shown.text, L"You have left a bind empty.  It has now been set to default.");
    EXPECT_EQ(shown.icon, L"exclamation");
    EXPECT_EQ(shown.buttons, std::vector<int>{IDOK});
    EXPECT_FALSE(dialog->IsOpen());
    EXPECT_TRUE(::IsWindowEnabled(main.hwnd()));
}

TEST_F(PropertiesWindow, OtherWaysOfClosingAreRefusedAndNeverLeaveTheMainWindowDisabled) {
    frmProperties& dialog = Open();
    HWND window = dialog.hwnd();

    ::SendMessageW(window, WM_CLOSE, 0, 0);
    ::SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    ::SendMessageW(window, WM_COMMAND, IDCANCEL, 0);
    // Alt+F4 and Escape where the focus is, through the dialog manager.
    ::PostMessageW(dialog.cmdOk, WM_SYSKEYDOWN, VK_F4, kAltHeld | 1);
    ::PostMessageW(dialog.cmdOk, WM_KEYDOWN, VK_ESCAPE, 1);
    PumpThroughDialog(window);
    ASSERT_TRUE(::IsWindow(window));
    EXPECT_FALSE(::IsWindowEnabled(main.hwnd()));

    // Destroyed any other way, it frees the main window all the same.
    ::DestroyWindow(window);
    EXPECT_TRUE(::IsWindowEnabled(main.hwnd()));
    EXPECT_EQ(main.Properties(), nullptr);
    EXPECT_FALSE(ReadSetting("Settings", "Load Splash").has_value());
}

TEST_F(PropertiesWindow, ClosingTheMainWindowTakesTheDialogWithIt) {
    Open();
    ::DestroyWindow(main.hwnd());
    EXPECT_EQ(main.Properties(), nullptr);
}

}  // namespace
}  // namespace reelwright
