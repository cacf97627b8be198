// The entry of the Windows test programs: they refuse to run outside Wine
// unless told they may change this machine; COM and the common controls are
// set up as in the real program before GoogleTest runs.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "core/win/DpiApi.h"
#include "core/win/basAPI.h"
#include "support/win/WinTestSupport.h"

int main(int argc, char** argv) {
    if (!reelwright::test::TestsMayChangeThisMachine()) return 2;
    reelwright::win::MakeProcessDpiAware();
    basAPI::ComApartment apartment;
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
