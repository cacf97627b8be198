// The real message boxes, folder picker and open-file dialog. The open-file
// dialog's result buffer grows with the selection, so that a selection of
// hundreds of demos comes back whole.
#include "app/win/Win32Prompts.h"

#include <commctrl.h>
#include <cderr.h>
#include <commdlg.h>

#include <algorithm>
#include <cwchar>
#include <new>
#include <stdexcept>
#include <vector>

#include "core/win/WindowSubclass.h"
#include "core/win/basAPI.h"
#include "shell/win/basFunctions.h"

namespace reelwright::win {

MessageAnswer Win32Prompts::ShowMessage(const std::string& text, const std::string& title, MessageIcon icon,
                                        MessageButtons buttons) {
    UINT flags = 0;
    switch (icon) {
        case MessageIcon::None: break;
        case MessageIcon::Stop: flags |= MB_ICONSTOP; break;
        case MessageIcon::Exclamation: flags |= MB_ICONEXCLAMATION; break;
        case MessageIcon::Information: flags |= MB_ICONINFORMATION; break;
        case MessageIcon::Question: flags |= MB_ICONQUESTION; break;
    }
    switch (buttons) {
        case MessageButtons::Ok: flags |= MB_OK; break;
        case MessageButtons::OkCancel: flags |= MB_OKCANCEL; break;
        case MessageButtons::YesNo: flags |= MB_YESNO; break;
        case MessageButtons::YesNoCancel: flags |= MB_YESNOCANCEL; break;
    }
    // Without an owner window the box must not hide behind other programs.
    if (!owner_) flags |= MB_SETFOREGROUND | MB_TASKMODAL;
    const int answer = ::MessageBoxW(owner_, basAPI::Widen(text).c_str(), basAPI::Widen(title).c_str(), flags);
    switch (answer) {
        case IDCANCEL: return MessageAnswer::Cancel;
        case IDYES: return MessageAnswer::Yes;
        case IDNO: return MessageAnswer::No;
        default: return MessageAnswer::Ok;
    }
}

std::string Win32Prompts::BrowseForFolder(const std::string& title) {
    auto folder = basFunctions::BrowseForFolder(owner_, title);
    if (!folder) throw std::runtime_error("the folder picker could not be shown");
    return *folder;
}

namespace {

// The room the dialog starts with, in characters.
constexpr std::size_t kInitialBufferLength = 10000;
// Far more than a full queue of the longest paths needs.
constexpr std::size_t kMaxBufferLength = std::size_t{1} << 24;
// Asking again after a selection did not fit (which the growing below should
// make rare): a few rounds at most.
constexpr int kMaxRounds = 4;

struct DialogState {
    std::vector<wchar_t> buffer;
    OPENFILENAMEW* mine = nullptr;      // the structure passed to the dialog
    OPENFILENAMEW* dialogs = nullptr;   // the one the dialog reads (normally the same)
    // Sees the Open command before the dialog turns the file name box into
    // the result, whether the names were picked in the list or typed.
    WindowSubclass openCommand;

    // Called from the dialog's callbacks, so it throws nothing: without memory
    // the buffer stays as it is and the dialog reports that it is too small.
    void Grow(std::size_t wanted) noexcept try {
        wanted = std::min(wanted, kMaxBufferLength);
        if (wanted <= buffer.size()) return;
        std::vector<wchar_t> larger(std::max(wanted, std::min(buffer.size() * 2, kMaxBufferLength)), L'\0');
        buffer.swap(larger);
        for (OPENFILENAMEW* ofn : {mine, dialogs}) {
            if (!ofn) continue;
            ofn->lpstrFile = buffer.data();
            ofn->nMaxFile = static_cast<DWORD>(buffer.size());
        }
    } catch (const std::bad_alloc&) {
    }

    // Makes room for what the dialog would return now: the folder and the text
    // of the file name box (the names with their quotes), with some to spare.
    void EnsureRoomForSelection(HWND dialog) {
        const LRESULT folder = ::SendMessageW(dialog, CDM_GETFOLDERPATH, 0, 0);
        const LRESULT fileSpec = ::SendMessageW(dialog, CDM_GETSPEC, 0, 0);
        if (fileSpec <= 0) return;
        Grow(static_cast<std::size_t>(std::max<LRESULT>(folder, 0) + fileSpec) + MAX_PATH + 16);
    }
};

UINT_PTR CALLBACK DialogHook(HWND hook, UINT message, WPARAM, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* ofn = reinterpret_cast<OPENFILENAMEW*>(lParam);
        auto* state = reinterpret_cast<DialogState*>(ofn->lCustData);
        state->dialogs = ofn;
        ::SetWindowLongPtrW(hook, DWLP_USER, reinterpret_cast<LONG_PTR>(state));
        // The hook's window is a child of the dialog itself.
        state->openCommand.Install(::GetParent(hook), [state](HWND dialog, UINT command, WPARAM wParam, LPARAM lParam) {
            if (command == WM_COMMAND && LOWORD(wParam) == IDOK) state->EnsureRoomForSelection(dialog);
            return ::DefSubclassProc(dialog, command, wParam, lParam);
        });
        return TRUE;
    }
    if (message == WM_NOTIFY) {
        const auto* notify = reinterpret_cast<const OFNOTIFYW*>(lParam);
        auto* state = reinterpret_cast<DialogState*>(::GetWindowLongPtrW(hook, DWLP_USER));
        if (state && notify->hdr.code == CDN_SELCHANGE) {
            if (notify->lpOFN) state->dialogs = notify->lpOFN;
            state->EnsureRoomForSelection(::GetParent(hook));
        }
    }
    return 0;
}

// The answer in the buffer: "path" for one file, "folder\0name\0name..." for
// several, with its file title.
OpenFileResult ReadAnswer(const std::vector<wchar_t>& buffer, const OPENFILENAMEW& ofn) {
    const wchar_t* text = buffer.data();
    const std::size_t first = wcsnlen(text, buffer.size());
    OpenFileResult result;
    if (ofn.nFileOffset > 0 && ofn.nFileOffset <= first + 1 && ofn.nFileOffset <= buffer.size() &&
        text[ofn.nFileOffset - 1] == L'\0') {
        // Several files: names follow the folder up to an empty one.
        std::size_t end = first + 1;
        while (end < buffer.size() && text[end] != L'\0') end += wcsnlen(text + end, buffer.size() - end) + 1;
        result.selection = basAPI::Narrow(std::wstring_view(text, std::min(end, buffer.size()) - 1));
        return result;
    }
    result.selection = basAPI::Narrow(std::wstring_view(text, first));
    if (ofn.nFileOffset < first)
        result.fileTitle = basAPI::Narrow(std::wstring_view(text + ofn.nFileOffset, first - ofn.nFileOffset));
    return result;
}

}  // namespace

std::optional<OpenFileResult> Win32Prompts::ShowOpenFile(const OpenFileRequest& request) {
    const std::wstring title = basAPI::Widen(request.title);
    const std::wstring initialFolder = basAPI::Widen(request.initialFolder);
    std::wstring filter = basAPI::Widen(request.filterDescription);
    filter.push_back(L'\0');
    filter += basAPI::Widen(request.filterPattern);
    filter.push_back(L'\0');
    for (const auto& [description, pattern] : request.moreFilters) {
        filter += basAPI::Widen(description);
        filter.push_back(L'\0');
        filter += basAPI::Widen(pattern);
        filter.push_back(L'\0');
    }
    // the second terminating NUL is the string's own

    // The Explorer-style dialog hosts the shell's views, which are COM's.
    const basAPI::ComApartment apartment;
    OPENFILENAMEW ofn{};
    DialogState state;
    state.mine = &ofn;
    state.Grow(kInitialBufferLength);

    for (int round = 0; round < kMaxRounds; ++round) {
        std::fill(state.buffer.begin(), state.buffer.end(), L'\0');
        ofn = OPENFILENAMEW{};
        ofn.lStructSize = sizeof(ofn);
        ofn.hwndOwner = owner_;
        ofn.lpstrFilter = filter.c_str();
        ofn.nFilterIndex = 1;
        ofn.lpstrFile = state.buffer.data();
        ofn.nMaxFile = static_cast<DWORD>(state.buffer.size());
        ofn.lpstrInitialDir = initialFolder.empty() ? nullptr : initialFolder.c_str();
        ofn.lpstrTitle = title.c_str();
        ofn.Flags = OFN_EXPLORER | OFN_ENABLEHOOK | OFN_ENABLESIZING | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
        if (request.allowMultiSelect) ofn.Flags |= OFN_ALLOWMULTISELECT;
        if (request.fileMustExist) ofn.Flags |= OFN_FILEMUSTEXIST;
        ofn.lpfnHook = &DialogHook;
        ofn.lCustData = reinterpret_cast<LPARAM>(&state);
        state.dialogs = &ofn;

        if (::GetOpenFileNameW(&ofn)) return ReadAnswer(state.buffer, ofn);
        if (::CommDlgExtendedError() != FNERR_BUFFERTOOSMALL) return std::nullopt;  // cancelled or failed
        // The selection did not fit: ask again with room for it. The first
        // WORD then holds the length the answer needs (cut at 65535).
        const std::size_t needed = *reinterpret_cast<const WORD*>(state.buffer.data());
        state.Grow(std::max(needed + 1, state.buffer.size() * 4));
    }
    return std::nullopt;
}

}  // namespace reelwright::win
