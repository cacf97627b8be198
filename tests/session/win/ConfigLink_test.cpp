// A config that is a link stays one. Under Wine,
// CreateSymbolicLinkW makes nothing, and a link made on the host reads as a
// plain file whose final path is its target; such a link is made here with
// the host's own "ln", and the replacement must write through to the target
// (a ReplaceFileW, or a rename over the link's path, would put a plain file
// in the link's place or delete the target). The security half is tested
// with the seam only: Wine keeps no file security of its own.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "core/win/Win32FileSystem.h"
#include "support/win/WinTestSupport.h"

namespace reelwright {
namespace {

using namespace test;

bool UnderWine() { return ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name") != nullptr; }

// Makes `folder`\`name` a host symbolic link to `relativeTarget` (relative to
// `folder`, with "/" separators) with the host's "ln", run in that folder:
// the command line stays ASCII whatever the folder's name. False when the
// link did not appear within ten seconds.
bool MakeHostLink(const std::wstring& folder, const std::string& relativeTarget, const std::string& name) {
    std::filesystem::create_directories(folder);
    std::wstring commandLine = basAPI::Widen("/bin/ln -s \"" + relativeTarget + "\" \"" + name + "\"");
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started{};
    if (!::CreateProcessW(L"Z:\\bin\\ln", commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                          &startup, &started))
        return false;
    ::CloseHandle(started.hThread);
    ::CloseHandle(started.hProcess);
    // A host program's handle does not tell when it has ended: wait for the link.
    const std::wstring link = folder + L"\\" + basAPI::Widen(name);
    for (int tried = 0; tried < 100; ++tried) {
        if (::GetFileAttributesW(link.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

std::string Read(win::Win32FileSystem& files, const std::wstring& path) {
    std::string bytes;
    files.ReadWholeFile(basAPI::Narrow(path), bytes);
    return bytes;
}

TEST(ConfigLink, AConfigThatIsAHostLinkIsReplacedThroughItsTarget) {
    if (!UnderWine()) GTEST_SKIP() << "links made on the host exist under Wine only";
    GameFolder game;
    const std::wstring target = game.AddFile(L"elsewhere\\SOF2MP.cfg", "bind F1 \"vstr demonext\"\r\n");
    const std::wstring link = game.path() + L"\\base\\mp\\SOF2MP.cfg";
    ASSERT_TRUE(MakeHostLink(game.path() + L"\\base\\mp", "../../elsewhere/SOF2MP.cfg", "SOF2MP.cfg"));

    win::Win32FileSystem files;
    ASSERT_TRUE(files.ReplaceFile(basAPI::Narrow(link), "bind F1 \"vote yes\"\r\n"));
    // The target holds the player's line and is still there; the link leads
    // to it as before.
    EXPECT_EQ(Read(files, target), "bind F1 \"vote yes\"\r\n");
    EXPECT_EQ(Read(files, link), "bind F1 \"vote yes\"\r\n");
    ASSERT_TRUE(files.ReplaceFile(basAPI::Narrow(target), "bind F1 \"vote no\"\r\n"));
    EXPECT_EQ(Read(files, link), "bind F1 \"vote no\"\r\n");  // still a link, not a copy
    // No new file was left behind in either folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(game.path() + L"\\elsewhere"), {}), 1);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(game.path() + L"\\base\\mp"), {}), 2);  // demos, the link
}

struct SecurityCall {
    std::wstring from;  // the final path of the file whose security is read
    std::wstring to;    // the new file
};
std::vector<SecurityCall> securityCalls;

FileResult RecordSecurity(HANDLE from, const std::wstring& to) {
    wchar_t final[MAX_PATH]{};
    ::GetFinalPathNameByHandleW(from, final, MAX_PATH, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    std::wstring path = final;
    if (path.rfind(L"\\\\?\\", 0) == 0) path = path.substr(4);
    securityCalls.push_back({path, to});
    return {};
}

std::wstring Lower(std::wstring text) {
    for (auto& c : text) c = static_cast<wchar_t>(::towlower(c));
    return text;
}

TEST(ConfigLink, TheReplacedFilesSecurityGoesToTheNewFileBeforeItTakesThePlace) {
    GameFolder game;
    const std::wstring config = game.AddFile(L"base\\mp\\SOF2MP.cfg", "seta name x\r\n");
    win::Win32FileSystem files;
    files.copySecurity = RecordSecurity;
    securityCalls.clear();

    ASSERT_TRUE(files.ReplaceFile(basAPI::Narrow(config), "seta name y\r\n"));
    ASSERT_EQ(securityCalls.size(), 1u);
    EXPECT_EQ(Lower(securityCalls[0].from).substr(1), Lower(config).substr(1));  // the drive letter as Wine names it
    // The new file lay beside it, and is gone into its place.
    EXPECT_EQ(Lower(std::filesystem::path(securityCalls[0].to).parent_path().wstring()),
              Lower(std::filesystem::path(config).parent_path().wstring()));
    EXPECT_EQ(::GetFileAttributesW(securityCalls[0].to.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(Read(files, config), "seta name y\r\n");

    // A new file has no security of its own to keep.
    ASSERT_TRUE(files.ReplaceFile(game.pathUtf8() + "\\base\\mp\\new.journal", "x"));
    EXPECT_EQ(securityCalls.size(), 1u);

    if (!UnderWine()) return;
    const std::wstring target = game.AddFile(L"elsewhere\\SOF2MP.cfg", "seta name z\r\n");
    const std::wstring link = game.path() + L"\\mymod\\SOF2MP.cfg";
    ASSERT_TRUE(MakeHostLink(game.path() + L"\\mymod", "../elsewhere/SOF2MP.cfg", "SOF2MP.cfg"));
    ASSERT_TRUE(files.ReplaceFile(basAPI::Narrow(link), "seta name w\r\n"));
    ASSERT_EQ(securityCalls.size(), 2u);
    // The target's security, given to a new file beside the target.
    EXPECT_EQ(Lower(securityCalls[1].from).substr(1), Lower(target).substr(1));
    EXPECT_EQ(Lower(std::filesystem::path(securityCalls[1].to).parent_path().wstring()),
              Lower(std::filesystem::path(target).parent_path().wstring()));
}

}  // namespace
}  // namespace reelwright
