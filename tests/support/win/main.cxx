// The entry of the Windows test programs: COM and the common controls are
// set up as in the real program before GoogleTest runs.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "core/win/basAPI.h"

int main(int argc, char** argv) {
    ::SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    basAPI::ComApartment apartment;
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
