// The file association against the real classes root of the test prefix.
#include "shell/win/Win32ClassesRegistry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/basAssociation.h"
#include "support/Fakes.h"

namespace reelwright {
namespace {

using Strings = std::vector<std::wstring>;

void RemoveTestKeys() {
    ::RegDeleteTreeW(HKEY_CLASSES_ROOT, L".dm_2004");
    ::RegDeleteKeyW(HKEY_CLASSES_ROOT, L".dm_2004");
    ::RegDeleteTreeW(HKEY_CLASSES_ROOT, L"SOF2_Demo_File");
    ::RegDeleteKeyW(HKEY_CLASSES_ROOT, L"SOF2_Demo_File");
}

bool KeyExists(const std::wstring& path) {
    basAPI::UniqueRegKey key;
    return ::RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, key.put()) == ERROR_SUCCESS;
}

// The key and every key below it, each as "<path>" or "<path>=<default value>"
// (with "[type n]" when the default value is not REG_SZ), depth first, in the
// registry's enumeration order.
void DumpTree(const std::wstring& path, Strings& lines) {
    basAPI::UniqueRegKey key;
    if (::RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) return;
    wchar_t value[1024]{};
    DWORD size = sizeof(value) - sizeof(wchar_t);
    DWORD type = 0;
    std::wstring line = path;
    if (::RegQueryValueExW(key.get(), L"", nullptr, &type, reinterpret_cast<BYTE*>(value), &size) == ERROR_SUCCESS) {
        line += L"=" + std::wstring(value);
        if (type != REG_SZ) line += L"[type " + std::to_wstring(type) + L"]";
    }
    DWORD valueCount = 0;
    ::RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &valueCount, nullptr, nullptr,
                       nullptr, nullptr);
    if (valueCount > 1) line += L" +" + std::to_wstring(valueCount - 1) + L" values";
    lines.push_back(line);
    for (DWORD index = 0;; ++index) {
        wchar_t name[256]{};
        DWORD length = 256;
        if (::RegEnumKeyExW(key.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        DumpTree(path + L"\\" + name, lines);
    }
}

Strings Registration() {
    Strings lines;
    DumpTree(L".dm_2004", lines);
    DumpTree(L"SOF2_Demo_File", lines);
    return lines;
}

class ClassesRegistryTest : public ::testing::Test {
protected:
    void SetUp() override { RemoveTestKeys(); }
    void TearDown() override { RemoveTestKeys(); }

    void Create(const std::string& folder) {
        basAssociation::RequestProgramAssociation(registry, prompts, ProgramLocation{folder, "Reelwright"});
    }

    win::Win32ClassesRegistry registry;
    testing::FakePrompts prompts;
};

TEST_F(ClassesRegistryTest, CreatesTheSixKeysWithTheirValues) {
    Create("C:\\Games\\Tools");
    EXPECT_EQ(Registration(), (Strings{
                                  L".dm_2004=SOF2_Demo_File",
                                  L"SOF2_Demo_File=SOF2 Demo File",
                                  L"SOF2_Demo_File\\DefaultIcon=C:\\Games\\Tools\\Graphics\\sof2.ico",
                                  L"SOF2_Demo_File\\shell",
                                  L"SOF2_Demo_File\\shell\\open",
                                  L"SOF2_Demo_File\\shell\\open\\command=\"C:\\Games\\Tools\\Reelwright.exe\" \"%1\"",
                              }));
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(ClassesRegistryTest, CreatingTwiceLeavesWhatCreatingOnceLeaves) {
    Create("C:\\Games\\Tools");
    const Strings once = Registration();
    Create("C:\\Games\\Tools");
    EXPECT_EQ(Registration(), once);
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(ClassesRegistryTest, ProgramFolderWithBlanksAndAccentsStaysWholeInTheQuotedCommand) {
    Create("C:\\Program Files\\R\u00e9el Tools");
    basAPI::UniqueRegKey key;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_CLASSES_ROOT, L"SOF2_Demo_File\\shell\\open\\command", 0, KEY_READ, key.put()),
              ERROR_SUCCESS);
    wchar_t value[1024]{};
    DWORD size = sizeof(value) - sizeof(wchar_t);
    ASSERT_EQ(::RegQueryValueExW(key.get(), L"", nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(std::wstring(value), L"\"C:\\Program Files\\R\u00e9el Tools\\Reelwright.exe\" \"%1\"");
    EXPECT_EQ(size, (wcslen(value) + 1) * sizeof(wchar_t));  // the terminating NUL is stored
}

TEST_F(ClassesRegistryTest, RemovingLeavesNothing) {
    Create("C:\\Games\\Tools");
    basAssociation::RemoveProgramAssociation(registry);
    EXPECT_TRUE(Registration().empty());
}

TEST_F(ClassesRegistryTest, RemovingWhenNothingIsRegisteredIsSilent) {
    basAssociation::RemoveProgramAssociation(registry);
    EXPECT_TRUE(Registration().empty());
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(ClassesRegistryTest, ExtensionKeyWithASubkeyOfItsOwnStays) {
    Create("C:\\Games\\Tools");
    basAPI::UniqueRegKey child;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CLASSES_ROOT, L".dm_2004\\ShellNew", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                child.put(), nullptr),
              ERROR_SUCCESS);
    child.reset();
    basAssociation::RemoveProgramAssociation(registry);
    EXPECT_TRUE(KeyExists(L".dm_2004"));
    EXPECT_TRUE(KeyExists(L".dm_2004\\ShellNew"));
    EXPECT_FALSE(KeyExists(L"SOF2_Demo_File"));
}

TEST_F(ClassesRegistryTest, KeysAreClosedAndCanBeUsedAgain) {
    ClassesRegistry::KeyId first{}, second{};
    ASSERT_TRUE(registry.CreateKey("SOF2_Demo_File", first));
    ASSERT_TRUE(registry.CreateKey("SOF2_Demo_File", second));
    EXPECT_NE(first, second);
    EXPECT_TRUE(registry.SetDefaultValue(second, "x"));
    registry.CloseKey(second);
    EXPECT_FALSE(registry.SetDefaultValue(second, "y"));  // a closed key takes no value
    EXPECT_TRUE(registry.SetDefaultValue(first, "z"));
    registry.CloseKey(first);
    EXPECT_EQ(Registration(), Strings{L"SOF2_Demo_File=z"});
}

}  // namespace
}  // namespace reelwright
