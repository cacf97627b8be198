// The real message boxes and folder picker of the game folder setup, the
// first-run setup and the file association, read and answered from another
// thread as a user would see and answer them.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include "app/FirstRunSetup.h"
#include "app/GameFolderSetup.h"
#include "app/win/Win32Prompts.h"
#include "shell/basAssociation.h"
#include "support/FakeClassesRegistry.h"
#include "support/win/WinTestSupport.h"

namespace reelwright {
namespace {

using namespace reelwright::test;
using namespace std::chrono_literals;

using Step = DialogAnswerer::Step;
constexpr auto Click = &DialogAnswerer::Click;

// Real message boxes with scripted folder choices.
class RealMessagesScriptedFolders : public FakePrompts {
public:
    MessageAnswer ShowMessage(const std::string& text, const std::string& title, MessageIcon icon,
                              MessageButtons buttons) override {
        FakePrompts::ShowMessage(text, title, icon, buttons);
        return real.ShowMessage(text, title, icon, buttons);
    }
    win::Win32Prompts real;
};

class SetupPromptsTest : public ::testing::Test {
protected:
    void SetUp() override { ClearSettings(); }
    void TearDown() override { ClearSettings(); }

    RealServices real;
    RealMessagesScriptedFolders prompts;
    FakeClassesRegistry classes;
    FakeElevatedRunner elevation;
    AppServices Services() {
        return AppServices{real.store, prompts, real.files, real.shell, classes, elevation, real.location};
    }
};

TEST_F(SetupPromptsTest, FirstRunPromptCancelled) {
    auto services = Services();
    DialogAnswerer script(std::vector<Step>{{L"Reelwright - SOF2 Folder Setup", Click(IDCANCEL)}});
    EXPECT_EQ(RunFirstRunSetup(services, ""), LoadOutcome::EndProgram);
    const auto& seen = script.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text,
              L"It would appear this is the first time you are running Reelwright.\r\n\r\n"
              L"Could you please specify your SOF2 Path");
    EXPECT_EQ(seen[0].icon, L"information");
    EXPECT_EQ(seen[0].buttons, (std::vector<int>{IDOK, IDCANCEL}));
    EXPECT_FALSE(ReadSetting("Settings", "SOF2 Path"));
}

TEST_F(SetupPromptsTest, AssociationPromptAnsweredYes) {
    auto services = Services();
    DialogAnswerer script(std::vector<Step>{{L"Reelwright - SOF2 Folder Setup", Click(IDOK)},
                         {L"Reelwright - File Association", Click(IDYES)}});
    EXPECT_EQ(RunFirstRunSetup(services, ""), LoadOutcome::ShowWindow);
    const auto& seen = script.Seen();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].text, L"Would you like to associate .dm_2004 with Reelwright?");
    EXPECT_EQ(seen[1].icon, L"question");
    EXPECT_EQ(seen[1].buttons, (std::vector<int>{IDYES, IDNO}));
    EXPECT_EQ(prompts.browseTitles.size(), 1u);
    EXPECT_EQ(ReadSetting("Settings", "Associate"), "1");
    EXPECT_EQ(classes.Dump().size(), 6u);
}

TEST_F(SetupPromptsTest, InvalidFolderWarning) {
    GameFolder game;
    prompts.folderAnswers = {game.pathUtf8() + "\\base", game.pathUtf8()};
    auto services = Services();
    DialogAnswerer script(std::vector<Step>{{L"Reelwright - Invalid SOF2MP.exe location", Click(IDOK)}});
    SetupSOF2Folder(services);
    const auto& seen = script.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, L"The directory you have specified does not contain the SOF2MP.exe file.");
    EXPECT_EQ(seen[0].icon, L"exclamation");
    EXPECT_EQ(seen[0].buttons, std::vector<int>{IDOK});
    EXPECT_EQ(ReadSetting("Settings", "SOF2 Path"), game.pathUtf8());
}

TEST_F(SetupPromptsTest, AssociationErrorsArePlainBoxes) {
    classes.failingCreates[{ClassesRoot::Machine, ".dm_2004"}] = 1009;  // ERROR_BADDB
    DialogAnswerer script(std::vector<Step>{{L"Reelwright", Click(IDOK)}, {L"Reelwright", Click(IDOK)}});
    basAssociation::RequestProgramAssociation(classes, prompts, real.location);
    const auto& seen = script.Seen();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].text, L"Error: Creating Key!");
    EXPECT_EQ(seen[1].text, L"Error Setting String Value!");
    for (const auto& dialog : seen) {
        EXPECT_EQ(dialog.icon, L"none");
        EXPECT_EQ(dialog.buttons, std::vector<int>{IDOK});
    }
}

// The text of the item selected in the picker's folder tree.
std::wstring SelectedTreeItem(HWND picker) {
    HWND tree = ::FindWindowExW(picker, nullptr, WC_TREEVIEWW, nullptr);
    const auto item = reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    if (!tree || !item) return {};
    wchar_t text[MAX_PATH]{};
    TVITEMW query{};
    query.mask = TVIF_TEXT;
    query.hItem = item;
    query.pszText = text;
    query.cchTextMax = MAX_PATH;
    ::SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&query));
    return text;
}

// The folder picker's tree is filled asynchronously and starts on the Desktop,
// which OK accepts too; a selection made before the tree is ready can be lost,
// so it is repeated until the tree shows the folder chosen.
std::function<void(HWND)> ChooseFolder(const std::wstring& folder) {
    return [folder](HWND picker) {
        const std::wstring name = folder.substr(folder.find_last_of(L'\\') + 1);
        const auto end = std::chrono::steady_clock::now() + 10s;
        do {
            ::SendMessageW(picker, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(folder.c_str()));
            if (SelectedTreeItem(picker) == name && ::IsWindowEnabled(::GetDlgItem(picker, IDOK))) break;
            std::this_thread::sleep_for(10ms);
        } while (std::chrono::steady_clock::now() < end);
        ::PostMessageW(::GetDlgItem(picker, IDOK), BM_CLICK, 0, 0);
    };
}

TEST(FolderPickerTest, ReturnsTheSelectedFolder) {
    GameFolder game;
    win::Win32Prompts prompts;
    DialogAnswerer script(std::vector<Step>{{L"", ChooseFolder(game.path())}});
    EXPECT_EQ(prompts.BrowseForFolder("Locate your SOF2 Directory"), game.pathUtf8());
    ASSERT_EQ(script.Seen().size(), 1u);
}

TEST(FolderPickerTest, CancelGivesTheEmptyText) {
    win::Win32Prompts prompts;
    DialogAnswerer script(std::vector<Step>{{L"", Click(IDCANCEL)}});
    EXPECT_EQ(prompts.BrowseForFolder("Locate your SOF2 Directory"), "");
    ASSERT_EQ(script.Seen().size(), 1u);
}

TEST(FolderPickerTest, ShowsTheTitleGiven) {
    win::Win32Prompts prompts;
    std::atomic<bool> titleShown{false};
    DialogAnswerer script(std::vector<Step>{{L"", [&](HWND picker) {
                              for (HWND child = ::GetWindow(picker, GW_CHILD); child;
                                   child = ::GetWindow(child, GW_HWNDNEXT))
                                  if (WindowText(child) == L"Locate your SOF2 Directory") titleShown = true;
                              Click(IDCANCEL)(picker);
                          }}});
    prompts.BrowseForFolder("Locate your SOF2 Directory");
    script.Seen();
    EXPECT_TRUE(titleShown);
}

}  // namespace
}  // namespace reelwright

namespace reelwright {
namespace {

// Work that takes more than a moment: the progress window comes up, owned by
// the main window, which is disabled meanwhile; Cancel reaches the work, and
// everything is given back when it has ended.
TEST(ProgressRun, LongWorkShowsItsWindowAndCancelEndsIt) {
    HWND owner = ::CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 400, 300,
                                   nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(owner, nullptr);
    win::Win32Prompts prompts(owner);
    std::atomic<bool> ownerDisabled{false};
    bool cancelSeen = false;
    DialogAnswerer answers({{L"Reelwright - Copy demo",
                             [&](HWND window) {
                                 ownerDisabled = !::IsWindowEnabled(owner) && ::GetWindow(window, GW_OWNER) == owner;
                                 ::PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
                             },
                             false, L"ReelwrightProgress"}},
                           30s);
    prompts.RunWithProgress("Reelwright - Copy demo", "Copying the demos of cup.zip...", [&](ProgressReport& report) {
        const auto until = std::chrono::steady_clock::now() + 30s;
        for (std::uint64_t done = 0; std::chrono::steady_clock::now() < until; ++done) {
            report.Report(done % 100, 100);
            if (report.CancelRequested()) {
                cancelSeen = true;
                return;
            }
            std::this_thread::sleep_for(10ms);
        }
    });
    EXPECT_TRUE(cancelSeen);
    ASSERT_EQ(answers.Seen().size(), 1u);
    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(::IsWindowEnabled(owner));
    EXPECT_EQ(FindTopWindow(L"ReelwrightProgress"), nullptr);
    ::DestroyWindow(owner);
}

}  // namespace
}  // namespace reelwright
