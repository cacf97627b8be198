// Reelwright.exe when the playback script cannot be placed in a game-type
// folder (its Reelwright.cfg is a folder, so the copy is refused as access
// denied): the offer of administrator rights, the helper it starts from a
// temporary copy of itself (under Wine "runas" starts it without a prompt,
// and it refuses a folder where the script belongs), and the box that names
// the folder. Then the helper mode started by hand.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <optional>
#include <set>
#include <string_view>
#include <thread>
#include <vector>

#include "app/win/frmMain.h"
#include "elevated/ElevatedProgramCopy.h"
#include "elevated/win/Win32ElevatedRunner.h"
#include "launch/GameFolderRights.h"
#include "script/basBuildConfigs.h"
#include "core/win/Win32FileSystem.h"
#include "support/win/WinTestSupport.h"

namespace reelwright {
namespace {

using namespace test;
using namespace std::chrono_literals;

// The names in the temporary folder that match a pattern.
std::set<std::wstring> TemporaryItems(const wchar_t* pattern) {
    wchar_t temp[MAX_PATH + 1]{};
    ::GetTempPathW(MAX_PATH + 1, temp);
    std::set<std::wstring> names;
    WIN32_FIND_DATAW found{};
    const basAPI::UniqueFind search(::FindFirstFileW((std::wstring(temp) + pattern).c_str(), &found));
    if (!search) return names;
    do names.insert(found.cFileName);
    while (::FindNextFileW(search.get(), &found));
    return names;
}

// The temporary files that Reelwright makes ("rw*.tmp" in the temp folder).
std::set<std::wstring> TemporaryScripts() { return TemporaryItems(L"rw*.tmp"); }

// The folders of the program's temporary copies ("Reelwright-elevated-*").
std::set<std::wstring> ProgramCopies() { return TemporaryItems(L"Reelwright-elevated-*"); }

// A script as Launch writes it for demos of these game types.
std::string ScriptFor(const std::vector<std::string_view>& gameTypes) {
    std::vector<basBuildConfigs::ScriptEntry> entries;
    for (const std::string_view gameType : gameTypes) entries.push_back({"demo.dm_2004", gameType});
    return basBuildConfigs::BuildScript({"F6", "F7", "F5", "F8", "F4", "F3", "F2", "F1"}, entries);
}

void Press(HWND box, int button) { ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0); }

struct GameFolderRights : ::testing::Test {
    void SetUp() override {
        ClearSettings();
    }
    void TearDown() override {
        ClearSettings();
    }
};

TEST_F(GameFolderRights, AskForRightsThenNameTheFolderAndLetTheUserChoose) {
    GameFolder game;
    const std::wstring first = game.AddFile(L"base\\mp\\demos\\duel.dm_2004");
    const std::wstring second = game.AddFile(L"mymod\\demos\\ctf1.dm_2004");
    ASSERT_TRUE(::CreateDirectoryW((game.path() + L"\\mymod\\Reelwright.cfg").c_str(), nullptr));
    SeedSetting("Settings", "SOF2 Path", game.pathUtf8());
    SeedSetting("Settings", "Load Splash", "0");
    const auto temporaryBefore = TemporaryScripts();
    // A copy an interrupted run left behind is cleared at the next elevation.
    wchar_t temp[MAX_PATH + 1]{};
    ::GetTempPathW(MAX_PATH + 1, temp);
    const std::wstring leftover = std::wstring(temp) + L"Reelwright-elevated-left";
    ASSERT_TRUE(::CreateDirectoryW(leftover.c_str(), nullptr));
    ASSERT_TRUE(::CloseHandle(::CreateFileW((leftover + L"\\Reelwright.exe").c_str(), GENERIC_WRITE, 0, nullptr,
                                            CREATE_NEW, 0, nullptr)));

    StartedProcess program(ProgramPath(), L"");
    HWND main = WaitForWindow(frmMain::kClassName, program.id());
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(AddDemoWithDialog(main, program.id(), first));
    ASSERT_TRUE(AddDemoWithDialog(main, program.id(), second));
    HWND list = ::GetDlgItem(main, frmMain::IDC_lvwDemoQue);
    ASSERT_TRUE(WaitUntil([&] { return ::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == 2; }, 5s));

    const std::wstring folder = game.path() + L"\\mymod";
    const std::wstring denied = basAPI::Widen(win::Win32FileSystem().ErrorText(ERROR_ACCESS_DENIED));
    HWND launch = ::GetDlgItem(main, frmMain::IDC_cmdLaunch);
    for (const int startAnyway : {IDNO, IDYES}) {
        SCOPED_TRACE(startAnyway == IDYES ? "start anyway" : "do not start");
        ::PostMessageW(launch, BM_CLICK, 0, 0);

        // First the question.
        HWND question = WaitForDialog(program.id());
        ASSERT_NE(question, nullptr);
        const DialogSnapshot asked = ReadDialog(question);
        EXPECT_EQ(asked.title, L"Reelwright - Game folder");
        EXPECT_EQ(asked.text, L"This game folder needs administrator rights to receive the playback script:\r\n\r\n" +
                                  folder +
                                  L"\r\n\r\nWould you like Reelwright to place the script there with administrator "
                                  L"rights? Windows will ask you to allow it once.");
        EXPECT_NE(asked.icon, L"none");
        EXPECT_EQ(asked.buttons, (std::vector<int>{IDYES, IDNO}));
        Press(question, IDYES);

        // The helper refuses the folder in the script's place; then the
        // folder is named.
        HWND told = WaitForDialog(program.id(), L"Start the game anyway?", question);
        ASSERT_NE(told, nullptr);
        const DialogSnapshot shown = ReadDialog(told);
        EXPECT_EQ(shown.title, L"Reelwright - Game folder");
        EXPECT_EQ(shown.text,
                  L"The playback script could not be placed in this game folder, so the demo keys will not step "
                  L"through the queue:\r\n\r\n" +
                      folder + L"\r\n    Reelwright.cfg could not be written: " + denied + L".\r\n\r\n" +
                      basAPI::Widen(kHelperRefusedNote) +
                      L"\r\n\r\nStart the game anyway? Only the first demo will play.");
        EXPECT_NE(shown.icon, L"none");
        EXPECT_EQ(shown.buttons, (std::vector<int>{IDYES, IDNO}));
        // The helper has ended; its temporary script and the program's
        // temporary copy are gone.
        EXPECT_EQ(TemporaryScripts(), temporaryBefore);
        EXPECT_TRUE(ProgramCopies().empty());
        Press(told, startAnyway);
        ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(told); }, 10s));

        if (startAnyway == IDNO) {
            // Nothing started, the window stays as it was.
            ASSERT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(main) != FALSE; }, 5s));
            EXPECT_TRUE(game.Records().empty());
            EXPECT_FALSE(::IsIconic(main));
        } else {
            ASSERT_TRUE(game.WaitForRecords(1));
            const auto records = game.Records();
            ASSERT_EQ(records.size(), 1u);
            EXPECT_EQ(records[0].parameters, "+set fs_basepath \"" + game.pathUtf8() +
                                                 "\" +set fs_game base\\mp+demo duel.dm_2004+exec Reelwright.cfg");
            EXPECT_TRUE(WaitUntil([&] { return ::IsIconic(main) != FALSE; }, 5s));
        }
    }
    // The folder that could be written has its copy.
    EXPECT_EQ(ReadBytes(game.path() + L"\\base\\mp\\Reelwright.cfg"), ReadBytes(BuildFolder() + L"\\Reelwright.cfg"));

    ::PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(10s), 0u);
}

struct HelperMode : GameFolderRights {
    // Runs the helper mode by hand; its exit code. It must show no window.
    std::optional<DWORD> RunHelper(const std::wstring& arguments) {
        StartedProcess helper(ProgramPath(), arguments);
        EXPECT_TRUE(helper.Started());
        bool showedWindow = false;
        std::optional<DWORD> exitCode;
        WaitUntil(
            [&] {
                for (const wchar_t* name : {frmMain::kClassName, L"ReelwrightSplash", L"#32770"})
                    if (FindTopWindow(name, L"", helper.id())) showedWindow = true;
                exitCode = helper.WaitForExit(0ms);
                return exitCode.has_value();
            },
            15s);
        EXPECT_FALSE(showedWindow);
        return exitCode;
    }
};

// The whole of the helper process, run by hand: no window, its exit code,
// nothing written on a refused request, the exact bytes and the protected
// config on a valid one. Which requests it refuses, and why, is shown by the
// helper's own tests.
TEST_F(HelperMode, ValidCommandLineWritesTheExactBytesAndProtectsEvenWhileTheProgramRuns) {
    GameFolder game;
    game.AddGameExecutable(L"mymod");
    game.AddFile(L"mymod\\SOF2MP.cfg", "seta name player");
    game.AddFile(L"mymod\\Reelwright.cfg", "older script");
    ::CreateDirectoryW((game.path() + L"\\base").c_str(), nullptr);
    ::CreateDirectoryW((game.path() + L"\\base\\mp").c_str(), nullptr);
    const std::string script = ScriptFor({"base\\mp", "mymod"});
    const std::wstring source = game.AddFile(L"rw1.tmp", script);
    SeedSetting("Settings", "SOF2 Path", game.pathUtf8());
    SeedSetting("Settings", "Load Splash", "0");

    // A running instance does not stop the helper.
    StartedProcess running(ProgramPath(), L"");
    ASSERT_NE(WaitForWindow(frmMain::kClassName, running.id()), nullptr);

    // One byte changed in the script: refused, nothing written.
    std::string changed = script;
    changed[script.find("vstr demonext")] = 'V';
    const std::wstring changedSource = game.AddFile(L"rw2.tmp", changed);
    EXPECT_EQ(RunHelper(L"/copy-script \"" + changedSource + L"\" \"" + game.path() + L"\" \"base\\mp\" \"mymod\""), 1u);
    EXPECT_EQ(::GetFileAttributesW((game.path() + L"\\base\\mp\\Reelwright.cfg").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(ReadBytes(game.path() + L"\\mymod\\Reelwright.cfg"), "older script");
    EXPECT_FALSE(::GetFileAttributesW((game.path() + L"\\mymod\\SOF2MP.cfg").c_str()) & FILE_ATTRIBUTE_READONLY);

    EXPECT_EQ(RunHelper(L"/copy-script \"" + source + L"\" \"" + game.path() + L"\" \"base\\mp\" \"mymod\""), 0u);
    EXPECT_EQ(ReadBytes(game.path() + L"\\base\\mp\\Reelwright.cfg"), script);
    EXPECT_EQ(ReadBytes(game.path() + L"\\mymod\\Reelwright.cfg"), script);
    // Wine keeps reporting the archive bit; the read-only bit is what counts.
    EXPECT_TRUE(::GetFileAttributesW((game.path() + L"\\mymod\\SOF2MP.cfg").c_str()) & FILE_ATTRIBUTE_READONLY);
    // The helper leaves its source alone: the program that started it deletes it.
    EXPECT_EQ(ReadBytes(source), script);

    ::PostMessageW(FindTopWindow(frmMain::kClassName, L"", running.id()), WM_CLOSE, 0, 0);
    EXPECT_EQ(running.WaitForExit(10s), 0u);
}

TEST(ProgramFile, IsHeldAgainstChangesWhileTheProgramRuns) {
    ClearSettings();
    SeedSetting("Settings", "Load Splash", "0");
    // A copy of its own, so that nothing here can touch the built program.
    GameFolder folder;
    SeedSetting("Settings", "SOF2 Path", folder.pathUtf8());
    const std::wstring program = folder.path() + L"\\Reelwright.exe";
    ASSERT_TRUE(::CopyFileW(ProgramPath().c_str(), program.c_str(), TRUE));
    StartedProcess running(program, L"");
    HWND main = WaitForWindow(frmMain::kClassName, running.id());
    ASSERT_NE(main, nullptr);

    for (const DWORD access : {DWORD{GENERIC_WRITE}, DWORD{DELETE}}) {
        const HANDLE file = ::CreateFileW(program.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, 0, nullptr);
        EXPECT_EQ(file, INVALID_HANDLE_VALUE) << "access " << access;
        if (file != INVALID_HANDLE_VALUE) ::CloseHandle(file);
    }
    EXPECT_FALSE(::MoveFileW(program.c_str(), (program + L".moved").c_str()));

    ::PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(running.WaitForExit(10s), 0u);
    ClearSettings();
}

// Starts through the real "runas" start, after what another process does
// while the consent prompt shows.
struct SwappingStarter : ElevatedStarter {
    explicit SwappingStarter(std::function<void(const std::string&)> duringPrompt)
        : duringPrompt_(std::move(duringPrompt)) {}
    std::optional<std::uint32_t> StartElevated(const std::string& program, const std::string& parameters) override {
        ++starts;
        if (duringPrompt_) duringPrompt_(program);
        return runner_.StartElevated(program, parameters);
    }
    int starts = 0;

private:
    std::function<void(const std::string&)> duringPrompt_;
    win::Win32ElevatedRunner runner_;
};

// The copy changed between its write and its hold: nothing is started.
struct ChangingFileSystem : win::Win32FileSystem {
    FileResult WriteNewFile(const std::string& path, std::string_view bytes) override {
        const FileResult written = win::Win32FileSystem::WriteNewFile(path, bytes);
        if (written && path.ends_with("\\Reelwright.exe")) {
            const HANDLE writer = ::CreateFileW(basAPI::Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
            DWORD done = 0;
            if (writer != INVALID_HANDLE_VALUE) {
                ::WriteFile(writer, replacement.data(), static_cast<DWORD>(replacement.size()), &done, nullptr);
                ::SetEndOfFile(writer);
                ::CloseHandle(writer);
            }
        }
        return written;
    }
    std::string replacement;
};

TEST(ProgramCopy, ACopyChangedBeforeItIsHeldIsNotStarted) {
    ChangingFileSystem files;
    files.replacement = ReadBytes(BuildFolder() + L"\\SOF2MP.exe");
    ASSERT_FALSE(files.replacement.empty());
    SwappingStarter starter(nullptr);
    const std::string program = ReadBytes(ProgramPath());
    ElevatedProgramCopy elevation(files, starter, [&] { return std::optional<std::string>(program); },
                                  "Reelwright.exe");
    std::thread watcher([] {
        // Were the stand-in game started in Reelwright's place (hidden, as
        // the helper is), it is closed here.
        HWND game = nullptr;
        WaitUntil([&] { return (game = ::FindWindowW(L"StandInGame", nullptr)) != nullptr; }, 5s);
        if (game) ::PostMessageW(game, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(elevation.RunElevated(""), std::nullopt);
    watcher.join();
    EXPECT_EQ(starter.starts, 0);
    EXPECT_TRUE(ProgramCopies().empty());
}

// The copy that is elevated, made of the real program's bytes, is held from
// before its start until it has ended: no one can write, delete or rename it
// or its folder meanwhile, others may read it, and a clean-up of left-over
// copies leaves it alone. Here the copy runs as the program's normal start,
// so the test decides when it ends.
TEST(ProgramCopy, IsHeldForReadingOnlyUntilTheElevatedProgramHasEnded) {
    ClearSettings();
    SeedSetting("Settings", "Load Splash", "0");
    GameFolder game;
    SeedSetting("Settings", "SOF2 Path", game.pathUtf8());
    {
        win::Win32FileSystem earlier;
        RemoveProgramCopies(earlier);
    }
    ASSERT_TRUE(ProgramCopies().empty());
    wchar_t temp[MAX_PATH + 1]{};
    ::GetTempPathW(MAX_PATH + 1, temp);

    win::Win32FileSystem files;
    // While the consent prompt shows, another process of the user tries to
    // put another program (the stand-in game) in the copy's place.
    struct PromptTime {
        bool overwriteRefused = false, renameRefused = false, folderRenameRefused = false;
    } prompt;
    const std::string standIn = ReadBytes(BuildFolder() + L"\\SOF2MP.exe");
    ASSERT_FALSE(standIn.empty());
    SwappingStarter starter([&](const std::string& copyPath) {
        const std::wstring copy = basAPI::Widen(copyPath);
        const std::wstring folder = copy.substr(0, copy.rfind(L'\\'));
        const HANDLE writer = ::CreateFileW(copy.c_str(), GENERIC_WRITE,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                           OPEN_EXISTING, 0, nullptr);
        prompt.overwriteRefused = writer == INVALID_HANDLE_VALUE;
        if (writer != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            ::WriteFile(writer, standIn.data(), static_cast<DWORD>(standIn.size()), &written, nullptr);
            ::SetEndOfFile(writer);
            ::CloseHandle(writer);
        }
        prompt.renameRefused = !::MoveFileW(copy.c_str(), (copy + L".moved").c_str());
        if (!prompt.renameRefused) ::MoveFileW((copy + L".moved").c_str(), copy.c_str());
        prompt.folderRenameRefused = !::MoveFileW(folder.c_str(), (folder + L"-moved").c_str());
        if (!prompt.folderRenameRefused) ::MoveFileW((folder + L"-moved").c_str(), folder.c_str());
    });
    const std::string program = ReadBytes(ProgramPath());
    ASSERT_FALSE(program.empty());
    ElevatedProgramCopy elevation(files, starter, [&] { return std::optional<std::string>(program); },
                                  "Reelwright.exe");

    struct Observed {
        bool running = false, folderMade = false, writeRefused = false, deleteRefused = false, renameRefused = false,
             folderRenameRefused = false, readAllowed = false, keptByCleanUp = false, closed = false;
    } seen;
    std::thread watcher([&] {
        HWND main = WaitForWindow(frmMain::kClassName, 0, L"", 15s);
        if (!main) {
            // Another program runs in Reelwright's place, hidden: end it.
            if (HWND other = ::FindWindowW(L"StandInGame", nullptr)) ::PostMessageW(other, WM_CLOSE, 0, 0);
            return;
        }
        seen.running = true;
        const auto copies = ProgramCopies();
        if (copies.size() == 1) {
            seen.folderMade = true;
            const std::wstring folder = std::wstring(temp) + *copies.begin();
            const std::wstring copy = folder + L"\\Reelwright.exe";
            const auto refused = [&](DWORD access) {
                const HANDLE file = ::CreateFileW(copy.c_str(), access,
                                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                                  OPEN_EXISTING, 0, nullptr);
                if (file == INVALID_HANDLE_VALUE) return true;
                ::CloseHandle(file);
                return false;
            };
            seen.writeRefused = refused(GENERIC_WRITE);
            seen.deleteRefused = refused(DELETE) && !::DeleteFileW(copy.c_str());
            seen.renameRefused = !::MoveFileW(copy.c_str(), (copy + L".moved").c_str());
            seen.folderRenameRefused = !::MoveFileW(folder.c_str(), (folder + L"-moved").c_str());
            const HANDLE reader = ::CreateFileW(copy.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                                0, nullptr);
            seen.readAllowed = reader != INVALID_HANDLE_VALUE;
            if (reader != INVALID_HANDLE_VALUE) ::CloseHandle(reader);
            win::Win32FileSystem other;
            RemoveProgramCopies(other);
            seen.keptByCleanUp = ReadBytes(copy) == program;
        }
        seen.closed = ::PostMessageW(main, WM_CLOSE, 0, 0) != 0;
    });
    const auto exitCode = elevation.RunElevated("");
    watcher.join();

    EXPECT_TRUE(prompt.overwriteRefused);
    EXPECT_TRUE(prompt.renameRefused);
    EXPECT_TRUE(prompt.folderRenameRefused);
    ASSERT_TRUE(seen.running) << "the copy that was started is not Reelwright";
    EXPECT_TRUE(seen.closed);
    EXPECT_EQ(exitCode, std::optional<std::uint32_t>{0});
    ASSERT_TRUE(seen.folderMade);
    EXPECT_TRUE(seen.writeRefused);
    EXPECT_TRUE(seen.deleteRefused);
    EXPECT_TRUE(seen.renameRefused);
    EXPECT_TRUE(seen.folderRenameRefused);
    EXPECT_TRUE(seen.readAllowed);
    EXPECT_TRUE(seen.keptByCleanUp);
    // Deleted once it has ended.
    EXPECT_TRUE(ProgramCopies().empty());
    ClearSettings();
}

}  // namespace
}  // namespace reelwright
