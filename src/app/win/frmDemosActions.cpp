// What the demo browser does with the chosen demos: Add to Queue, Play (as
// Launch plays a queue, leaving the queue as it is), Show in Folder, Rename
// in place and Delete to the Recycle Bin, and the list's context menu.
#include <algorithm>
#include <exception>

#include "app/win/Win32Prompts.h"
#include "app/win/frmDemos.h"
#include "app/win/frmMain.h"
#include "browse/DemoActions.h"
#include "browse/win/RecycleBin.h"
#include "core/SettingsStore.h"
#include "core/win/basAPI.h"
#include "launch/Launch.h"
#include "queue/win/DemoListView.h"

namespace reelwright {

namespace {

std::string FileNameOf(const std::string& path) { return path.substr(path.rfind('\\') + 1); }

}  // namespace

void frmDemos::cmdAddToQueue_Click() {
    const win::PromptsOwner boxes(services_.prompts, hwnd());
    const std::vector<std::string> paths = SelectedPaths();
    if (paths.empty()) return;
    DemoQueue& queue = main_.queue();
    const std::size_t before = queue.Count();
    try {
        AddBrowsedDemos(services_, queue, paths);
    } catch (const std::exception&) {
        services_.prompts.ShowMessage("Your settings could not be read, so no demo files were added.", kAddErrorTitle,
                                      MessageIcon::Stop, MessageButtons::Ok);
    }
    main_.QueueAppended(before);
}

void frmDemos::cmdPlay_Click() {
    const win::PromptsOwner boxes(services_.prompts, hwnd());
    const std::vector<std::string> paths = SelectedPaths();
    if (paths.empty()) return;
    // The chosen demos as a queue of their own: the main window's stays as it is.
    DemoQueue played;
    for (const std::string& path : paths) {
        const DemoPlace place = CheckDemoFileForQueue(gameFolder_, path);
        if (place.Accepted() && !played.Append({place.name, place.gameType, path})) break;
    }
    if (played.Empty()) return;
    if (Launch(services_, sessions_, played, main_.OptionalParameters())) {
        // Minimised with the main window, which owns this one.
        ::ShowWindow(main_.hwnd(), SW_MINIMIZE);
    }
}

void frmDemos::mnuShowInFolder_Click() {
    const win::PromptsOwner boxes(services_.prompts, hwnd());
    std::string path = FocusedPath();
    const std::vector<std::string> selected = SelectedPaths();
    if (path.empty() || std::find(selected.begin(), selected.end(), path) == selected.end())
        path = selected.empty() ? std::string() : selected.front();
    if (!path.empty()) ShowDemoInFolder(services_, path);
}

void frmDemos::mnuRename_Click() {
    int row = win::FocusedRow(lvwDemos);
    if (row < 0 || ::SendMessageW(lvwDemos, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED) == 0) {
        row = static_cast<int>(::SendMessageW(lvwDemos, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_SELECTED, 0)));
        if (row < 0) return;
    }
    ::SetFocus(lvwDemos);
    ::SendMessageW(lvwDemos, LVM_EDITLABELW, static_cast<WPARAM>(row), 0);
}

void frmDemos::lvwDemos_BeginRename(NMLVDISPINFOW& info) {
    renaming_.clear();
    if (info.item.iItem < 0 || static_cast<std::size_t>(info.item.iItem) >= catalog_.Shown()) return;
    renaming_ = catalog_.ShownRow(static_cast<std::size_t>(info.item.iItem)).demo.path;
    // Only the file's own name is edited: the demo stays in its folder.
    HWND edit = reinterpret_cast<HWND>(::SendMessageW(lvwDemos, LVM_GETEDITCONTROL, 0, 0));
    if (!edit) return;
    const std::wstring name = basAPI::Widen(FileNameOf(renaming_));
    ::SetWindowTextW(edit, name.c_str());
    // The name is selected without its ".dm_2004", as Explorer does it.
    const std::size_t dot = name.rfind(L'.');
    ::SendMessageW(edit, EM_SETSEL, 0, static_cast<LPARAM>(dot == std::wstring::npos ? name.size() : dot));
}

void frmDemos::lvwDemos_EndRename(const NMLVDISPINFOW& info) {
    const win::PromptsOwner boxes(services_.prompts, hwnd());
    const std::string oldPath = std::exchange(renaming_, {});
    if (oldPath.empty() || !info.item.pszText) return;  // cancelled
    const std::string newName = basAPI::Narrow(info.item.pszText);
    const RenameCheck check = CheckDemoRename(
        services_.files, [this](std::string_view text) { return services_.shell.FitsAnsiCodePage(std::string(text)); },
        oldPath, newName);
    if (check.problem == RenameProblem::Unchanged) return;
    if (check.problem != RenameProblem::None) {
        services_.prompts.ShowMessage(RenameProblemText(check, newName), kRenameDemoTitle, MessageIcon::Exclamation,
                                      MessageButtons::Ok);
        return;
    }
    if (const FileResult renamed = services_.files.RenameFile(oldPath, check.newPath); !renamed) {
        services_.prompts.ShowMessage(kRenameFailedText + services_.files.ErrorText(renamed.error) + ".",
                                      kRenameDemoTitle, MessageIcon::Stop, MessageButtons::Ok);
        return;
    }
    if (FollowRenamedDemo(main_.queue(), gameFolder_, oldPath, check.newPath) > 0) main_.QueueEntriesRenamed();
    // The row takes its new name at once; the folder's watch confirms it.
    const std::vector<std::string> selected{check.newPath};
    catalog_.Rename(oldPath, check.newPath);
    catalog_.Refresh();
    ShowRows(selected, check.newPath);
    if (const auto row = catalog_.PositionOf(check.newPath))
        ::SendMessageW(lvwDemos, LVM_ENSUREVISIBLE, static_cast<WPARAM>(*row), FALSE);
    ShowStatus();
}

void frmDemos::mnuDelete_Click() {
    const win::PromptsOwner boxes(services_.prompts, hwnd());
    const std::vector<std::string> paths = SelectedPaths();
    if (paths.empty()) return;
    std::vector<std::string> names;
    for (const std::string& path : paths) names.push_back(catalog_.Find(path) ? catalog_.Find(path)->demo.name : path);
    if (services_.prompts.ShowMessage(DeleteQuestionText(names), kDeleteDemosTitle, MessageIcon::Question,
                                      MessageButtons::YesNo) != MessageAnswer::Yes)
        return;
    const bool complete = win::MoveToRecycleBin(hwnd(), paths);
    // What is gone leaves the list and the queue, whatever the shell managed.
    std::vector<std::string> gone;
    for (const std::string& path : paths)
        if (complete || !services_.files.FileExists(path)) gone.push_back(path);
    if (RemoveDeletedDemos(main_.queue(), gameFolder_, gone) > 0) main_.QueueEntriesRemoved();
    for (const std::string& path : gone) catalog_.Remove(path);
    catalog_.Refresh();
    std::vector<std::string> kept;
    for (const std::string& path : paths)
        if (catalog_.Find(path)) kept.push_back(path);
    ShowRows(kept, FocusedPath());
    ShowStatus();
    if (!complete && gone.size() != paths.size())
        services_.prompts.ShowMessage(kDeleteFailedText, kDeleteDemosTitle, MessageIcon::Exclamation, MessageButtons::Ok);
}

void frmDemos::lvwDemos_ContextMenu(LPARAM where) {
    const std::size_t selected = static_cast<std::size_t>(::SendMessageW(lvwDemos, LVM_GETSELECTEDCOUNT, 0, 0));
    const basAPI::UniqueMenu owned(::CreatePopupMenu());
    if (!owned) return;
    HMENU menu = owned.get();
    auto add = [&](int id, const wchar_t* caption, bool enabled) {
        ::AppendMenuW(menu, MF_STRING | (enabled ? MF_ENABLED : MF_GRAYED), static_cast<UINT_PTR>(id), caption);
    };
    add(IDM_mnuPlay, L"&Play", selected > 0);
    add(IDM_mnuAddToQueue, L"&Add to Queue\tEnter", selected > 0);
    ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    add(IDM_mnuShowInFolder, L"Show in &Folder", selected > 0);
    add(IDM_mnuRename, L"Re&name\tF2", selected == 1);
    add(IDM_mnuDelete, L"&Delete\tDel", selected > 0);
    ::SetMenuDefaultItem(menu, IDM_mnuAddToQueue, FALSE);

    const int chosen = win::TrackListMenu(lvwDemos, menu, where, hwnd());
    switch (chosen) {
        case IDM_mnuPlay: cmdPlay_Click(); break;
        case IDM_mnuAddToQueue: cmdAddToQueue_Click(); break;
        case IDM_mnuShowInFolder: mnuShowInFolder_Click(); break;
        case IDM_mnuRename: mnuRename_Click(); break;
        case IDM_mnuDelete: mnuDelete_Click(); break;
        default: break;
    }
}

}  // namespace reelwright
