#include "browse/win/RecycleBin.h"

#include <shellapi.h>

#include "core/win/basAPI.h"

namespace reelwright::win {

bool MoveToRecycleBin(HWND owner, const std::vector<std::string>& paths) {
    if (paths.empty()) return true;
    // The paths one after another, each ended, and the list ended by one more.
    std::wstring list;
    for (const std::string& path : paths) {
        list += basAPI::Widen(path);
        list += L'\0';
    }
    list += L'\0';
    const basAPI::ComApartment apartment;  // the shell moves the files
    SHFILEOPSTRUCTW operation{};
    operation.hwnd = owner;
    operation.wFunc = FO_DELETE;
    operation.pFrom = list.c_str();
    operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT;
    return ::SHFileOperationW(&operation) == 0 && !operation.fAnyOperationsAborted;
}

}  // namespace reelwright::win
