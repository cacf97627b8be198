// A second yardstick of the start-up benchmark: the minimal window with the
// common controls loaded and the main window's nine controls (a report list
// view with five columns, four buttons, an edit box, two labels and a group
// box), each created once at its place with the dialog font. What
// Reelwright's start costs beyond it is the program's own.
#include <windows.h>

#include <commctrl.h>

#include <iterator>

namespace {

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

struct Control {
    const wchar_t* className;
    const wchar_t* text;
    DWORD style;
    DWORD exStyle;
    RECT place;  // left, top, width, height
};

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = WindowProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"ReelwrightControlsWindow";
    ::RegisterClassExW(&windowClass);
    HWND window = ::CreateWindowExW(0, windowClass.lpszClassName, L"Controls window", WS_OVERLAPPEDWINDOW,
                                    CW_USEDEFAULT, CW_USEDEFAULT, 447, 486, nullptr, nullptr, instance, nullptr);
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    HFONT font = ::CreateFontIndirectW(&metrics.lfMessageFont);
    const Control table[] = {
        {WC_BUTTONW, L"Launch", WS_TABSTOP | BS_DEFPUSHBUTTON, 0, {160, 392, 105, 25}},
        {WC_EDITW, L"", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, {16, 360, 400, 21}},
        {WC_LISTVIEWW, L"", WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_OWNERDATA, WS_EX_CLIENTEDGE,
         {16, 40, 300, 290}},
        {WC_BUTTONW, L"Add", WS_TABSTOP, 0, {328, 40, 89, 25}},
        {WC_STATICW, L"Optional Parameters:", SS_LEFT, 0, {16, 340, 200, 17}},
        {WC_STATICW, L"Queued demo's:", SS_LEFT, 0, {16, 20, 200, 17}},
        {WC_BUTTONW, L"Remove", WS_TABSTOP, 0, {328, 72, 89, 25}},
        {WC_BUTTONW, L"Clear List", WS_TABSTOP, 0, {328, 104, 89, 25}},
        {WC_BUTTONW, L"Reelwright", BS_GROUPBOX, 0, {8, 4, 415, 420}},
    };
    HWND made[std::size(table)] = {};
    for (std::size_t i = 0; i < std::size(table); ++i) {
        const Control& control = table[i];
        made[i] = ::CreateWindowExW(control.exStyle, control.className, control.text,
                                      control.style | WS_CHILD | WS_VISIBLE, control.place.left, control.place.top,
                                      control.place.right, control.place.bottom, window, nullptr, instance, nullptr);
        ::SendMessageW(made[i], WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    HWND list = made[2];
    const wchar_t* headers[] = {L"Name", L"Game Type", L"Path", L"Map", L"Length"};
    for (int column = 0; column < 5; ++column) {
        LVCOLUMNW definition{};
        definition.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        definition.pszText = const_cast<wchar_t*>(headers[column]);
        definition.cx = 100;
        definition.iSubItem = column;
        ListView_InsertColumn(list, column, &definition);
    }
    ::ShowWindow(window, SW_SHOWNORMAL);
    MSG message{};
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    ::DeleteObject(font);
    return static_cast<int>(message.wParam);
}
