// The handle owners: what each takes for "no handle", and that a handle it
// holds is closed exactly once, wherever the owner goes.
#include "core/win/basAPI.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <utility>

namespace reelwright {
namespace {

// True while the handle is open in this process.
bool IsOpen(HANDLE handle) {
    DWORD flags = 0;
    return ::GetHandleInformation(handle, &flags) != 0;
}

TEST(UniqueFile, AFailedOpenIsEmptyAndNothingIsClosedForIt) {
    basAPI::UniqueFile missing(::CreateFileW(L"C:\\no such folder\\no such file", GENERIC_READ, 0, nullptr,
                                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    EXPECT_FALSE(missing);
    EXPECT_EQ(missing.get(), INVALID_HANDLE_VALUE);
    missing.reset();  // nothing to close
    EXPECT_FALSE(missing);
    EXPECT_FALSE(basAPI::UniqueFile());
    EXPECT_FALSE(basAPI::UniqueFile(nullptr));
}

TEST(UniqueFile, AnOpenFileIsClosedOnceWhereverItsOwnerGoes) {
    const std::wstring path = std::filesystem::temp_directory_path().wstring() + L"Reelwright owner \u00e9t\u00e9.tmp";
    HANDLE raw = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    ASSERT_NE(raw, INVALID_HANDLE_VALUE);
    {
        basAPI::UniqueFile first(raw);
        ASSERT_TRUE(first);
        basAPI::UniqueFile second(std::move(first));
        EXPECT_FALSE(first);
        EXPECT_TRUE(second);
        basAPI::UniqueFile third;
        third = std::move(second);
        EXPECT_EQ(third.get(), raw);
        EXPECT_TRUE(IsOpen(raw));
    }
    EXPECT_FALSE(IsOpen(raw));
    EXPECT_FALSE(std::filesystem::exists(path));  // deleted on its one close
}

}  // namespace
}  // namespace reelwright
