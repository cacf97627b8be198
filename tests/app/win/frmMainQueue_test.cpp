// The queue buttons of the real main window: Add through the real open-file
// dialog, answered from another thread as a user would, and Remove and Clear
// on the real list view.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <set>
#include <thread>

#include "app/win/frmMain.h"
#include "queue/win/DemoListView.h"
#include "support/win/WinTestSupport.h"

namespace reelwright {
namespace {

using namespace reelwright::test;
using namespace std::chrono_literals;

constexpr const wchar_t* kDialogTitle = L"Add SOF2 Demo Files for viewing...";
constexpr const wchar_t* kAddErrorTitleW = L"Reelwright - Error adding demos";

// The list of files inside the dialog's shell view.
HWND ShellFileList(HWND dialog) {
    HWND view = ::FindWindowExW(dialog, nullptr, L"SHELLDLL_DefView", nullptr);
    return view ? ::FindWindowExW(view, nullptr, WC_LISTVIEWW, nullptr) : nullptr;
}

// Answers Add's open-file dialog with `answer`. A dialog shown again would
// wait for an answer forever: it is cancelled and counted, so that the test
// fails instead of hanging. Add's own messages are confirmed with OK.
class AddDialog {
public:
    explicit AddDialog(DialogAnswerer::Answer answer)
        : answerer_({{kDialogTitle, std::move(answer)},
                     {kDialogTitle, DialogAnswerer::Click(IDCANCEL), true},
                     {kAddErrorTitleW, DialogAnswerer::Click(IDOK), true}},
                    15s) {}
    // The open-file dialog as it first came; false when it did not.
    bool Shown() { return !answerer_.Seen(kDialogTitle).empty(); }
    HWND Owner() { return Shown() ? answerer_.Seen(kDialogTitle)[0].owner : nullptr; }
    int ShownAgain() { return Shown() ? static_cast<int>(answerer_.Seen(kDialogTitle).size()) - 1 : 0; }
    std::vector<DialogSnapshot> Messages() { return answerer_.Seen(kAddErrorTitleW); }

    // Opens `folder` in the dialog, then types `names` and presses Open.
    static DialogAnswerer::Answer OpenFolderThenType(std::wstring folder, std::wstring names) {
        return [folder, names](HWND dialog) {
            ::SendMessageW(FileNameBoxOf(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.c_str()));
            ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            DialogAnswerer::TypeFileName(names)(dialog);
        };
    }

private:
    DialogAnswerer answerer_;
};

class QueueButtonsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearSettings();
        SeedSetting("Settings", "SOF2 Path", game.pathUtf8());
        ASSERT_EQ(window.Load(""), LoadOutcome::ShowWindow);
        real.realPrompts.SetOwner(window.hwnd());
        window.Show();
    }
    void TearDown() override { ClearSettings(); }

    struct Row {
        std::string name, gameType, path;
        bool operator==(const Row&) const = default;
    };
    std::vector<Row> Rows() {
        std::vector<Row> rows;
        const int count = static_cast<int>(::SendMessageW(window.lvwDemoQue, LVM_GETITEMCOUNT, 0, 0));
        for (int row = 0; row < count; ++row)
            rows.push_back({win::DemoCellText(window.lvwDemoQue, row, 0), win::DemoCellText(window.lvwDemoQue, row, 1),
                            win::DemoCellText(window.lvwDemoQue, row, 2)});
        return rows;
    }
    void Click(HWND button) { ::SendMessageW(button, BM_CLICK, 0, 0); }
    void Select(int row, UINT state = LVIS_SELECTED | LVIS_FOCUSED) {
        LVITEMW item{};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        item.state = state;
        ::SendMessageW(window.lvwDemoQue, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    }
    void Queue(std::initializer_list<const char*> names) {
        for (const char* name : names) window.queue().Append({name, "base\\mp", "C:\\Games\\SOF2\\base\\mp\\demos"});
        window.RefreshDemoList();
    }
    std::vector<std::string> QueueNames() {
        std::vector<std::string> names;
        for (const auto& entry : window.queue().Entries()) names.push_back(entry.Name);
        return names;
    }
    std::vector<std::string> RowNames() {
        std::vector<std::string> names;
        for (const auto& row : Rows()) names.push_back(row.name);
        return names;
    }

    GameFolder game;
    RealServices real;
    frmMain window{real.Services(true)};
};

TEST_F(QueueButtonsTest, AddOneFileThroughTheRealDialog) {
    game.AddFile(L"mymod\\demos\\ctf1.dm_2004");
    game.AddFile(L"mymod\\demos\\other.dm_2004");
    std::wstring folder, filter;
    AddDialog add([&](HWND dialog) {
        wchar_t shown[MAX_PATH * 2]{};
        ::SendMessageW(dialog, CDM_GETFOLDERPATH, MAX_PATH * 2, reinterpret_cast<LPARAM>(shown));
        folder = shown;
        filter = WindowText(::GetDlgItem(dialog, cmb1));
        DialogAnswerer::TypeFileName(game.path() + L"\\mymod\\demos\\ctf1.dm_2004")(dialog);
    });
    Click(window.cmdAdd);
    ASSERT_TRUE(add.Shown());
    EXPECT_EQ(add.Owner(), window.hwnd());
    EXPECT_EQ(folder, game.path());
    EXPECT_EQ(filter, L"SOF2 Demo Files (*.dm_2004)");
    EXPECT_EQ(Rows(), (std::vector<Row>{{"ctf1.dm_2004", "mymod", game.pathUtf8() + "\\mymod\\demos\\ctf1.dm_2004"}}));
    EXPECT_EQ(window.queue().Count(), 1u);
}

TEST_F(QueueButtonsTest, AddSeveralFilesKeepsTheirFolderAsPath) {
    Queue({"first.dm_2004"});
    game.AddFile(L"base\\mp\\demos\\b.dm_2004");
    game.AddFile(L"base\\mp\\demos\\a.dm_2004");
    AddDialog add(AddDialog::OpenFolderThenType(game.path() + L"\\base\\mp\\demos", L"\"b.dm_2004\" \"a.dm_2004\""));
    Click(window.cmdAdd);
    ASSERT_TRUE(add.Shown());
    const std::string folder = game.pathUtf8() + "\\base\\mp\\demos";
    EXPECT_EQ(Rows(), (std::vector<Row>{{"first.dm_2004", "base\\mp", "C:\\Games\\SOF2\\base\\mp\\demos"},
                                        {"b.dm_2004", "base\\mp", folder},
                                        {"a.dm_2004", "base\\mp", folder}}));
}

// Names long enough that a few hundred of them need several times the
// dialog's first 10000 characters.
std::vector<std::wstring> LongNames(int count) {
    std::vector<std::wstring> names;
    for (int i = 0; i < count; ++i) {
        const std::wstring number = std::to_wstring(1000 + i).substr(1);
        names.push_back(L"clan match final round " + number + L" " + std::wstring(80, L'x') + L".dm_2004");
    }
    return names;
}

TEST_F(QueueButtonsTest, AddATypedSelectionFarLongerThanTheFirstBuffer) {
    const std::vector<std::wstring> names = LongNames(300);
    std::wstring typed;
    for (const auto& name : names) {
        game.AddFile(L"mymod\\demos\\" + name);
        typed += L"\"" + name + L"\" ";
    }
    ASSERT_GT(typed.size(), 30000u);
    AddDialog add(AddDialog::OpenFolderThenType(game.path() + L"\\mymod\\demos", typed));
    Click(window.cmdAdd);
    ASSERT_TRUE(add.Shown());
    EXPECT_EQ(add.ShownAgain(), 0);
    const auto rows = Rows();
    ASSERT_EQ(rows.size(), names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(rows[i].name, basAPI::Narrow(names[i]));
        EXPECT_EQ(rows[i].gameType, "mymod");
        EXPECT_EQ(rows[i].path, game.pathUtf8() + "\\mymod\\demos");
    }
}

TEST_F(QueueButtonsTest, AddAllFilesPickedInTheDialogsList) {
    const std::vector<std::wstring> names = LongNames(200);
    for (const auto& name : names) game.AddFile(L"base\\mp\\demos\\" + name);
    AddDialog add([&](HWND dialog) {
        const std::wstring folder = game.path() + L"\\base\\mp\\demos";
        ::SendMessageW(FileNameBoxOf(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.c_str()));
        ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        // Every file of the folder picked in the list, as with Ctrl+A.
        HWND list = nullptr;
        const auto end = std::chrono::steady_clock::now() + 10s;
        while (std::chrono::steady_clock::now() < end) {
            list = ShellFileList(dialog);
            if (list && ::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) >= static_cast<LRESULT>(names.size())) break;
            std::this_thread::sleep_for(10ms);
        }
        LVITEMW item{};
        item.stateMask = LVIS_SELECTED;
        item.state = LVIS_SELECTED;
        ::SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
        ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    });
    Click(window.cmdAdd);
    ASSERT_TRUE(add.Shown());
    EXPECT_EQ(add.ShownAgain(), 0);
    const auto rows = Rows();
    ASSERT_EQ(rows.size(), names.size());
    std::set<std::string> added;
    for (const auto& row : rows) {
        added.insert(row.name);
        EXPECT_EQ(row.gameType, "base\\mp");
    }
    for (const auto& name : names) EXPECT_TRUE(added.count(basAPI::Narrow(name))) << basAPI::Narrow(name);
}

TEST_F(QueueButtonsTest, AFileOutsideAnyDemosFolderIsNamedInAMessage) {
    const std::wstring stray = game.AddFile(L"mymod\\stray.dm_2004");
    AddDialog add(DialogAnswerer::TypeFileName(stray));
    Click(window.cmdAdd);
    const std::vector<DialogSnapshot> messages = add.Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text,
              L"This demo file was not added to the queue, because it does not lie in a folder named demos inside "
              L"your SOF2 folder:\r\n\r\n" +
                  stray +
                  L"\r\n\r\nYou must have the demos in a demos folder inside your SOF2 folder.\r\n"
                  L"By default this will be your base/mp/demos folder.");
    EXPECT_EQ(messages[0].icon, L"exclamation");
    EXPECT_EQ(messages[0].buttons, std::vector<int>{IDOK});
    EXPECT_TRUE(Rows().empty());
}

TEST_F(QueueButtonsTest, SeveralFilesFromASubFolderShowTheirNamesBelowTheDemosFolder) {
    game.AddFile(L"mymod\\demos\\2026\\june\\b.dm_2004");
    game.AddFile(L"mymod\\demos\\2026\\june\\a.dm_2004");
    AddDialog add(AddDialog::OpenFolderThenType(game.path() + L"\\mymod\\demos\\2026\\june", L"\"b.dm_2004\" \"a.dm_2004\""));
    Click(window.cmdAdd);
    ASSERT_TRUE(add.Shown());
    EXPECT_TRUE(add.Messages().empty());
    const std::string folder = game.pathUtf8() + "\\mymod\\demos\\2026\\june";
    EXPECT_EQ(Rows(), (std::vector<Row>{{"2026\\june\\b.dm_2004", "mymod", folder},
                                        {"2026\\june\\a.dm_2004", "mymod", folder}}));
}

TEST_F(QueueButtonsTest, CancelAddsNothing) {
    AddDialog add(DialogAnswerer::Click(IDCANCEL));
    Click(window.cmdAdd);
    ASSERT_TRUE(add.Shown());
    EXPECT_TRUE(Rows().empty());
    EXPECT_TRUE(window.queue().Empty());
}

TEST_F(QueueButtonsTest, RemoveTakesTheSelectedRowAndKeepsListAndQueueInStep) {
    Queue({"a", "b", "c", "d"});
    Click(window.cmdRemove);  // nothing selected
    EXPECT_EQ(RowNames(), (std::vector<std::string>{"a", "b", "c", "d"}));

    Select(1);
    Click(window.cmdRemove);
    EXPECT_EQ(RowNames(), (std::vector<std::string>{"a", "c", "d"}));
    EXPECT_EQ(QueueNames(), RowNames());
    Click(window.cmdRemove);  // the focus moved on, but not the selection mark
    EXPECT_EQ(RowNames(), (std::vector<std::string>{"a", "c", "d"}));

    // Selected upwards: the focus sits on the last selected row.
    Select(0, LVIS_SELECTED);
    Select(2, LVIS_SELECTED);
    Select(1, LVIS_FOCUSED);
    Select(1, 0);
    Select(2);
    Click(window.cmdRemove);
    EXPECT_EQ(RowNames(), (std::vector<std::string>{"c"}));
    EXPECT_EQ(QueueNames(), RowNames());
}

// A full queue in a plain list view: filled, one more refused, then emptied
// but for one row.
TEST_F(QueueButtonsTest, AFullQueueFitsTheListAndRefusesMore) {
    for (std::size_t i = 0; i < DemoQueue::kMaxEntries - 1; ++i)
        window.queue().Append({"q" + std::to_string(i) + ".dm_2004", "base\\mp", "C:\\Games\\SOF2\\base\\mp\\demos"});
    window.RefreshDemoList();
    ASSERT_EQ(::SendMessageW(window.lvwDemoQue, LVM_GETITEMCOUNT, 0, 0),
              static_cast<LRESULT>(DemoQueue::kMaxEntries - 1));

    game.AddFile(L"mymod\\demos\\a.dm_2004");
    game.AddFile(L"mymod\\demos\\b.dm_2004");
    AddDialog add(AddDialog::OpenFolderThenType(game.path() + L"\\mymod\\demos", L"\"a.dm_2004\" \"b.dm_2004\""));
    Click(window.cmdAdd);
    ASSERT_TRUE(add.Shown());
    ASSERT_EQ(add.Messages().size(), 1u);
    EXPECT_EQ(add.Messages()[0].text,
              L"The queue holds at most 32767 demos, so 1 chosen demo file was not added.");
    EXPECT_EQ(add.Messages()[0].icon, L"exclamation");
    ASSERT_EQ(::SendMessageW(window.lvwDemoQue, LVM_GETITEMCOUNT, 0, 0), static_cast<LRESULT>(DemoQueue::kMaxEntries));
    EXPECT_EQ(win::DemoCellText(window.lvwDemoQue, DemoQueue::kMaxEntries - 1, 0), "a.dm_2004");
    EXPECT_EQ(win::DemoCellText(window.lvwDemoQue, 0, 0), "q0.dm_2004");

    // Everything but one row selected, then removed.
    Select(-1, LVIS_SELECTED);
    Select(5, 0);
    Click(window.cmdRemove);
    EXPECT_EQ(RowNames(), std::vector<std::string>{"q5.dm_2004"});
    EXPECT_EQ(QueueNames(), RowNames());
}

TEST_F(QueueButtonsTest, ClearEmptiesListAndQueue) {
    Queue({"a", "b"});
    Click(window.cmdClear);
    EXPECT_TRUE(Rows().empty());
    EXPECT_TRUE(window.queue().Empty());
    Click(window.cmdClear);
    EXPECT_TRUE(Rows().empty());
}

}  // namespace
}  // namespace reelwright
