// Files and folders held through the real file system: what a hold keeps
// others from doing, the bytes read through a hold, and a new file removed
// through its own handle.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/win/Win32FileSystem.h"
#include "support/win/WinTestSupport.h"

namespace reelwright {
namespace {

using namespace reelwright::test;

// Every hold takes part in sharing and lets no one delete: the item cannot be
// renamed (and a folder not replaced by a junction) until it is let go.
TEST(Win32HeldFiles, NothingHeldCanBeRenamedUntilItIsLetGo) {
    GameFolder game;
    game.AddFile(L"mymod\\SOF2MP.cfg", "seta name player");
    game.AddFile(L"mymod\\Reelwright.cfg", "older script");
    win::Win32FileSystem files;
    const struct {
        const wchar_t* relative;
        HoldMode mode;
    } cases[] = {
        {L"mymod", HoldMode::Inspect},
        {L"mymod\\SOF2MP.cfg", HoldMode::Inspect},
        {L"mymod\\SOF2MP.cfg", HoldMode::Attributes},
        {L"mymod\\Reelwright.cfg", HoldMode::WriteExisting},
        {L"mymod\\Reelwright.cfg", HoldMode::Read},
    };
    for (const auto& [relative, mode] : cases) {
        const std::wstring path = game.path() + L"\\" + relative;
        const std::wstring moved = path + L"-moved";
        SCOPED_TRACE(basAPI::Narrow(path) + " held as " + std::to_string(static_cast<int>(mode)));
        {
            FileResult error;
            const std::unique_ptr<HeldItem> held = files.Hold(basAPI::Narrow(path), mode, error);
            ASSERT_TRUE(held) << error.error;
            EXPECT_FALSE(::MoveFileW(path.c_str(), moved.c_str()));
            EXPECT_EQ(::GetLastError(), DWORD{ERROR_SHARING_VIOLATION});
        }
        ASSERT_TRUE(::MoveFileW(path.c_str(), moved.c_str()));
        ASSERT_TRUE(::MoveFileW(moved.c_str(), path.c_str()));
    }
}

TEST(Win32HeldFiles, AFileHeldToReadIsReadThroughTheHoldAndOnlyReadByOthers) {
    GameFolder game;
    const std::wstring path = game.AddFile(L"copy.exe", std::string("MZ\0\x90", 4) + std::string(70000, 'x'));
    win::Win32FileSystem files;
    FileResult error;
    const std::unique_ptr<HeldItem> held = files.Hold(basAPI::Narrow(path), HoldMode::Read, error);
    ASSERT_TRUE(held) << error.error;

    std::string bytes;
    ASSERT_TRUE(held->Read(1 << 20, bytes));
    EXPECT_EQ(bytes, ReadBytes(path));
    ASSERT_TRUE(held->Read(10, bytes));  // one byte more than the limit tells that there is more
    EXPECT_EQ(bytes.size(), 11u);

    const HANDLE writer = ::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(writer, INVALID_HANDLE_VALUE);
    if (writer != INVALID_HANDLE_VALUE) ::CloseHandle(writer);
    EXPECT_FALSE(::DeleteFileW(path.c_str()));
    const HANDLE reader = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(reader, INVALID_HANDLE_VALUE);
    if (reader != INVALID_HANDLE_VALUE) ::CloseHandle(reader);
}

TEST(Win32HeldFiles, ANewFileIsDeletedThroughItsOwnHandle) {
    GameFolder game;
    game.AddFile(L"mymod\\SOF2MP.cfg");
    const std::wstring file = game.path() + L"\\mymod\\Reelwright.cfg";
    win::Win32FileSystem files;
    FileResult error;
    std::unique_ptr<HeldItem> created = files.Hold(basAPI::Narrow(file), HoldMode::CreateNew, error);
    ASSERT_TRUE(created) << error.error;
    ASSERT_TRUE(created->Replace("partial"));
    EXPECT_TRUE(created->Delete());
    created.reset();
    EXPECT_EQ(::GetFileAttributesW(file.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(::GetFileAttributesW((game.path() + L"\\mymod\\SOF2MP.cfg").c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
}  // namespace reelwright
