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

// Whether a message box shows the exclamation icon. Windows gives the icon
// the id 20, Wine 1088.
bool ShowsExclamation(HWND box) {
    const auto exclamation = reinterpret_cast<LRESULT>(::LoadIconW(nullptr, IDI_EXCLAMATION));
    for (int id : {0x14, 1088})
        if (HWND icon = ::GetDlgItem(box, id); icon && ::SendMessageW(icon, STM_GETICON, 0, 0) == exclamation)
            return true;
    return false;
}

// The dialog's file name box: an edit of its own, or the edit inside a combo box.
HWND FileNameBox(HWND dialog) {
    if (HWND edit = ::GetDlgItem(dialog, edt1)) return edit;
    HWND combo = ::GetDlgItem(dialog, cmb13);
    if (!combo) return nullptr;
    HWND edit = ::FindWindowExW(combo, nullptr, L"Edit", nullptr);
    return edit ? edit : combo;
}

// The list of files inside the dialog's shell view.
HWND ShellFileList(HWND dialog) {
    HWND view = ::FindWindowExW(dialog, nullptr, L"SHELLDLL_DefView", nullptr);
    return view ? ::FindWindowExW(view, nullptr, WC_LISTVIEWW, nullptr) : nullptr;
}

// What the open-file dialog showed before it was answered.
struct SeenOpenDialog {
    bool found = false;
    HWND owner = nullptr;
    std::wstring folder;
    std::wstring filter;
    int shownAgain = 0;
    std::vector<DialogSnapshot> messages;  // Add's messages (hasIcon: the exclamation icon), confirmed with OK
};

// Waits on a thread of its own for the open-file dialog of this process,
// reads it, and answers it with `answer`.
class OpenDialogAnswerer {
public:
    explicit OpenDialogAnswerer(std::function<void(HWND)> answer) : answer_(std::move(answer)) {
        thread_ = std::thread([this] { Run(); });
    }
    ~OpenDialogAnswerer() { Join(); }
    const SeenOpenDialog& Seen() {
        Join();
        return seen_;
    }

    // Types `text` into the file name box and presses Open.
    static std::function<void(HWND)> Type(std::wstring text) {
        return [text](HWND dialog) {
            ::SendMessageW(FileNameBox(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
            ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                           reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDOK)));
        };
    }

private:
    void Join() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
    }
    void Run() {
        const auto end = std::chrono::steady_clock::now() + 15s;
        HWND dialog = nullptr;
        while (!dialog && std::chrono::steady_clock::now() < end) {
            dialog = FindTopWindow(L"#32770", kDialogTitle, ::GetCurrentProcessId());
            if (!dialog) std::this_thread::sleep_for(5ms);
        }
        if (!dialog) return;
        seen_.found = true;
        seen_.owner = ::GetWindow(dialog, GW_OWNER);
        wchar_t folder[MAX_PATH * 2]{};
        ::SendMessageW(dialog, CDM_GETFOLDERPATH, MAX_PATH * 2, reinterpret_cast<LPARAM>(folder));
        seen_.folder = folder;
        seen_.filter = WindowText(::GetDlgItem(dialog, cmb1));
        answer_(dialog);
        // A dialog shown again would wait for an answer forever: count it and
        // cancel it, so that the test fails instead of hanging.
        // Add's own message is read and confirmed.
        HWND message = nullptr;
        while (!stop_) {
            HWND again = FindTopWindow(L"#32770", kDialogTitle, ::GetCurrentProcessId());
            if (again && again != dialog) {
                ++seen_.shownAgain;
                ::PostMessageW(again, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
                dialog = again;
            }
            HWND box = FindTopWindow(L"#32770", kAddErrorTitleW, ::GetCurrentProcessId());
            if (box && box != message) {
                seen_.messages.push_back(ReadDialog(box));
                seen_.messages.back().hasIcon = ShowsExclamation(box);
                ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
                message = box;
            }
            std::this_thread::sleep_for(10ms);
        }
    }

    std::function<void(HWND)> answer_;
    SeenOpenDialog seen_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
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
    OpenDialogAnswerer answerer(OpenDialogAnswerer::Type(game.path() + L"\\mymod\\demos\\ctf1.dm_2004"));
    Click(window.cmdAdd);
    const SeenOpenDialog& seen = answerer.Seen();
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.owner, window.hwnd());
    EXPECT_EQ(seen.folder, game.path());
    EXPECT_EQ(seen.filter, L"SOF2 Demo Files (*.dm_2004)");
    EXPECT_EQ(Rows(), (std::vector<Row>{{"ctf1.dm_2004", "mymod", game.pathUtf8() + "\\mymod\\demos\\ctf1.dm_2004"}}));
    EXPECT_EQ(window.queue().Count(), 1u);
}

TEST_F(QueueButtonsTest, AddSeveralFilesKeepsTheirFolderAsPath) {
    Queue({"first.dm_2004"});
    game.AddFile(L"base\\mp\\demos\\b.dm_2004");
    game.AddFile(L"base\\mp\\demos\\a.dm_2004");
    OpenDialogAnswerer answerer([this](HWND dialog) {
        const std::wstring folder = game.path() + L"\\base\\mp\\demos";
        // Open the demos folder first, then name two files in it.
        ::SendMessageW(FileNameBox(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.c_str()));
        ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        OpenDialogAnswerer::Type(L"\"b.dm_2004\" \"a.dm_2004\"")(dialog);
    });
    Click(window.cmdAdd);
    ASSERT_TRUE(answerer.Seen().found);
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
    OpenDialogAnswerer answerer([&](HWND dialog) {
        const std::wstring folder = game.path() + L"\\mymod\\demos";
        ::SendMessageW(FileNameBox(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.c_str()));
        ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        OpenDialogAnswerer::Type(typed)(dialog);
    });
    Click(window.cmdAdd);
    ASSERT_TRUE(answerer.Seen().found);
    EXPECT_EQ(answerer.Seen().shownAgain, 0);
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
    OpenDialogAnswerer answerer([&](HWND dialog) {
        const std::wstring folder = game.path() + L"\\base\\mp\\demos";
        ::SendMessageW(FileNameBox(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.c_str()));
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
    ASSERT_TRUE(answerer.Seen().found);
    EXPECT_EQ(answerer.Seen().shownAgain, 0);
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
    OpenDialogAnswerer answerer(OpenDialogAnswerer::Type(stray));
    Click(window.cmdAdd);
    const SeenOpenDialog& seen = answerer.Seen();
    ASSERT_EQ(seen.messages.size(), 1u);
    EXPECT_EQ(seen.messages[0].text,
              L"This demo file was not added to the queue, because it does not lie in a folder named demos inside "
              L"your SOF2 folder:\r\n\r\n" +
                  stray +
                  L"\r\n\r\nYou must have the demos in a demos folder inside your SOF2 folder.\r\n"
                  L"By default this will be your base/mp/demos folder.");
    EXPECT_TRUE(seen.messages[0].hasIcon);
    EXPECT_EQ(seen.messages[0].buttons, std::vector<int>{IDOK});
    EXPECT_TRUE(Rows().empty());
}

TEST_F(QueueButtonsTest, SeveralFilesFromASubFolderShowTheirNamesBelowTheDemosFolder) {
    game.AddFile(L"mymod\\demos\\2026\\june\\b.dm_2004");
    game.AddFile(L"mymod\\demos\\2026\\june\\a.dm_2004");
    OpenDialogAnswerer answerer([this](HWND dialog) {
        const std::wstring folder = game.path() + L"\\mymod\\demos\\2026\\june";
        ::SendMessageW(FileNameBox(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.c_str()));
        ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        OpenDialogAnswerer::Type(L"\"b.dm_2004\" \"a.dm_2004\"")(dialog);
    });
    Click(window.cmdAdd);
    ASSERT_TRUE(answerer.Seen().found);
    EXPECT_TRUE(answerer.Seen().messages.empty());
    const std::string folder = game.pathUtf8() + "\\mymod\\demos\\2026\\june";
    EXPECT_EQ(Rows(), (std::vector<Row>{{"2026\\june\\b.dm_2004", "mymod", folder},
                                        {"2026\\june\\a.dm_2004", "mymod", folder}}));
}

TEST_F(QueueButtonsTest, CancelAddsNothing) {
    OpenDialogAnswerer answerer([](HWND dialog) {
        ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    });
    Click(window.cmdAdd);
    ASSERT_TRUE(answerer.Seen().found);
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
    OpenDialogAnswerer answerer([&](HWND dialog) {
        const std::wstring folder = game.path() + L"\\mymod\\demos";
        ::SendMessageW(FileNameBox(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.c_str()));
        ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        OpenDialogAnswerer::Type(L"\"a.dm_2004\" \"b.dm_2004\"")(dialog);
    });
    Click(window.cmdAdd);
    ASSERT_TRUE(answerer.Seen().found);
    ASSERT_EQ(answerer.Seen().messages.size(), 1u);
    EXPECT_EQ(answerer.Seen().messages[0].text,
              L"The queue holds at most 32767 demos, so 1 chosen demo file was not added.");
    EXPECT_TRUE(answerer.Seen().messages[0].hasIcon);
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
