// The file association against the real classes root of the test prefix.
#include "shell/win/Win32ClassesRegistry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/basAssociation.h"
#include "support/FakeClassesRegistry.h"
#include "support/Fakes.h"
#include "support/win/WinTestSupport.h"

namespace reelwright {
namespace {

using Strings = std::vector<std::wstring>;

using test::RemoveAssociationKeys;

constexpr const wchar_t* kUserClasses = L"Software\\Classes";

void SeedKey(HKEY root, const std::wstring& path, const wchar_t* value) {
    basAPI::UniqueRegKey key;
    ASSERT_EQ(::RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr),
              ERROR_SUCCESS);
    if (value) {
        ASSERT_EQ(::RegSetValueExW(key.get(), L"", 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                                   static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t))),
                  ERROR_SUCCESS);
    }
}

// The key and every key below it, each as "<path>" or "<path>=<default value>"
// (with "[type n]" when the default value is not REG_SZ), depth first, in the
// registry's enumeration order.
void DumpTree(HKEY root, const std::wstring& path, Strings& lines, const std::wstring& shownPath) {
    basAPI::UniqueRegKey key;
    if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) return;
    wchar_t value[1024]{};
    DWORD size = sizeof(value) - sizeof(wchar_t);
    DWORD type = 0;
    std::wstring line = shownPath;
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
        DumpTree(root, path + L"\\" + name, lines, shownPath + L"\\" + name);
    }
}

// The association's keys under HKEY_CLASSES_ROOT (which under Wine is
// HKLM\Software\Classes only), or under HKCU\Software\Classes.
Strings Registration(bool userClasses = false) {
    Strings lines;
    for (const wchar_t* top : {L".dm_2004", L"SOF2_Demo_File"}) {
        if (userClasses)
            DumpTree(HKEY_CURRENT_USER, std::wstring(kUserClasses) + L"\\" + top, lines, top);
        else
            DumpTree(HKEY_CLASSES_ROOT, top, lines, top);
    }
    return lines;
}

const Strings kOurs{
    L".dm_2004=SOF2_Demo_File",
    L"SOF2_Demo_File=SOF2 Demo File",
    L"SOF2_Demo_File\\DefaultIcon=C:\\Games\\Tools\\Graphics\\sof2.ico",
    L"SOF2_Demo_File\\shell",
    L"SOF2_Demo_File\\shell\\open",
    L"SOF2_Demo_File\\shell\\open\\command=\"C:\\Games\\Tools\\Reelwright.exe\" \"%1\"",
};

const ProgramLocation kTools{"C:\\Games\\Tools", "Reelwright"};

class ClassesRegistryTest : public ::testing::Test {
protected:
    void SetUp() override { RemoveAssociationKeys(); }
    void TearDown() override { RemoveAssociationKeys(); }

    basAssociation::AssociationWritten Create(const std::string& folder) {
        return basAssociation::RequestProgramAssociation(registry, prompts, ProgramLocation{folder, "Reelwright"});
    }

    win::Win32ClassesRegistry registry;
    test::FakePrompts prompts;
};

TEST_F(ClassesRegistryTest, CreatesTheSixKeysWithTheirValuesThroughTheMachineView) {
    EXPECT_EQ(Create("C:\\Games\\Tools"), basAssociation::AssociationWritten::Machine);
    EXPECT_EQ(Registration(), kOurs);
    EXPECT_TRUE(Registration(true).empty());
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_TRUE(basAssociation::IsProgramAssociated(registry, ProgramLocation{"C:\\Games\\Tools", "Reelwright"}));
    EXPECT_FALSE(basAssociation::IsProgramAssociated(registry, ProgramLocation{"C:\\Games\\Old", "Reelwright"}));
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
    EXPECT_TRUE(basAssociation::IsProgramAssociated(registry, ProgramLocation{"C:\\Program Files\\R\u00e9el Tools", "Reelwright"}));
}

TEST_F(ClassesRegistryTest, RemovingLeavesNothing) {
    Create("C:\\Games\\Tools");
    basAssociation::RemoveProgramAssociation(registry, kTools);
    EXPECT_TRUE(Registration().empty());
    EXPECT_FALSE(basAssociation::IsProgramAssociated(registry, ProgramLocation{"C:\\Games\\Tools", "Reelwright"}));
}

TEST_F(ClassesRegistryTest, RemovingWhenNothingIsRegisteredIsSilent) {
    const auto removal = basAssociation::RemoveProgramAssociation(registry, kTools);
    EXPECT_EQ(removal.keysDeleted, 0);
    EXPECT_TRUE(Registration().empty());
    EXPECT_TRUE(prompts.messages.empty());
}

// The key cannot be deleted while it has a subkey: it stays, naming nothing.
TEST_F(ClassesRegistryTest, OurExtensionKeyWithASubkeyOfItsOwnStaysWithoutADefaultValue) {
    Create("C:\\Games\\Tools");
    SeedKey(HKEY_CLASSES_ROOT, L".dm_2004\\ShellNew", nullptr);
    basAssociation::RemoveProgramAssociation(registry, kTools);
    EXPECT_EQ(Registration(), (Strings{L".dm_2004", L".dm_2004\\ShellNew"}));
}

// Another program owned ".dm_2004" (with the OpenWithProgids subkey that
// Explorer adds): taking it over and removing the association again gives the
// other program its type back, and nothing of ours is left.
TEST_F(ClassesRegistryTest, TakeOverThenRemovalGivesTheOtherProgramsTypeBack) {
    SeedKey(HKEY_CLASSES_ROOT, L".dm_2004", L"OtherPlayer.Demo");
    SeedKey(HKEY_CLASSES_ROOT, L".dm_2004\\OpenWithProgids", nullptr);
    Create("C:\\Games\\Tools");
    ASSERT_TRUE(basAssociation::IsProgramAssociated(registry, kTools));

    const auto removal = basAssociation::RemoveProgramAssociation(registry, kTools);
    EXPECT_TRUE(removal.previousTypeRestored);
    EXPECT_EQ(Registration(), (Strings{L".dm_2004=OtherPlayer.Demo", L".dm_2004\\OpenWithProgids"}));
    EXPECT_TRUE(prompts.messages.empty());
}

// Another program took ".dm_2004" after we registered: removal takes back only
// our own type and leaves the other program's extension key as it is.
TEST_F(ClassesRegistryTest, CreateThenRemoveKeepsAnotherProgramsExtensionWithItsSubkey) {
    Create("C:\\Games\\Tools");
    SeedKey(HKEY_CLASSES_ROOT, L".dm_2004", L"OtherPlayer.Demo");
    SeedKey(HKEY_CLASSES_ROOT, L".dm_2004\\OpenWithProgids", nullptr);
    EXPECT_FALSE(basAssociation::IsProgramAssociated(registry, ProgramLocation{"C:\\Games\\Tools", "Reelwright"}));

    const auto removal = basAssociation::RemoveProgramAssociation(registry, kTools);
    EXPECT_TRUE(removal.foreignExtensionKept);
    EXPECT_EQ(Registration(), (Strings{L".dm_2004=OtherPlayer.Demo", L".dm_2004\\OpenWithProgids"}));
    EXPECT_TRUE(Registration(true).empty());
    EXPECT_TRUE(prompts.messages.empty());
}

// The machine view refused (as it does a standard user): the same six keys are
// written for real under HKCU\Software\Classes, with no message; removal then
// takes them away again.
TEST_F(ClassesRegistryTest, RefusedMachineViewWritesTheUsersClasses) {
    test::DenyingClassesRegistry standardUser(registry, {ClassesRoot::Machine});
    const ProgramLocation location{"C:\\Games\\Tools", "Reelwright"};
    EXPECT_EQ(basAssociation::RequestProgramAssociation(standardUser, prompts, location),
              basAssociation::AssociationWritten::User);
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(Registration(true), kOurs);
    EXPECT_TRUE(Registration().empty());  // Wine's HKEY_CLASSES_ROOT does not show the user's classes
    EXPECT_TRUE(basAssociation::IsProgramAssociated(standardUser, location));

    basAssociation::RemoveProgramAssociation(standardUser, location);
    EXPECT_TRUE(Registration(true).empty());
    EXPECT_FALSE(basAssociation::IsProgramAssociated(standardUser, location));
}

// Removal reaches both roots, and in each deletes only what is ours: there the
// user's classes hold another program's extension and a type of our name that
// opens files with another copy of the program.
TEST_F(ClassesRegistryTest, RemovalDeletesOursInBothRootsAndOnlyOurs) {
    Create("C:\\Games\\Tools");
    const std::wstring user = std::wstring(kUserClasses) + L"\\";
    SeedKey(HKEY_CURRENT_USER, user + L".dm_2004", L"OtherPlayer.Demo");
    SeedKey(HKEY_CURRENT_USER, user + L"SOF2_Demo_File\\shell\\open\\command", L"\"C:\\Old\\Reelwright.exe\" \"%1\"");
    basAssociation::RemoveProgramAssociation(registry, kTools);
    EXPECT_TRUE(Registration().empty());
    EXPECT_EQ(Registration(true),
              (Strings{L".dm_2004=OtherPlayer.Demo", L"SOF2_Demo_File", L"SOF2_Demo_File\\shell",
                       L"SOF2_Demo_File\\shell\\open",
                       L"SOF2_Demo_File\\shell\\open\\command=\"C:\\Old\\Reelwright.exe\" \"%1\""}));
}

TEST_F(ClassesRegistryTest, ReadsDefaultValuesAndTellsMissingFromUnreadable) {
    std::string value = "unchanged";
    EXPECT_EQ(registry.ReadDefaultValue(ClassesRoot::Machine, ".dm_2004", value), kRegistryNotFound);
    SeedKey(HKEY_CLASSES_ROOT, L".dm_2004", nullptr);
    EXPECT_EQ(registry.ReadDefaultValue(ClassesRoot::Machine, ".dm_2004", value), kRegistryNotFound);
    EXPECT_EQ(value, "unchanged");

    const std::wstring longText = L"R\u00e9el " + std::wstring(3000, L'x');  // longer than any first guess
    SeedKey(HKEY_CLASSES_ROOT, L".dm_2004", longText.c_str());
    ASSERT_EQ(registry.ReadDefaultValue(ClassesRoot::Machine, ".dm_2004", value), kRegistrySuccess);
    EXPECT_EQ(value, basAPI::Narrow(longText));

    SeedKey(HKEY_CURRENT_USER, std::wstring(kUserClasses) + L"\\.dm_2004", L"");
    ASSERT_EQ(registry.ReadDefaultValue(ClassesRoot::User, ".dm_2004", value), kRegistrySuccess);
    EXPECT_EQ(value, "");

    basAPI::UniqueRegKey key;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_CLASSES_ROOT, L".dm_2004", 0, KEY_SET_VALUE, key.put()), ERROR_SUCCESS);
    const DWORD number = 7;
    ASSERT_EQ(::RegSetValueExW(key.get(), L"", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof(number)),
              ERROR_SUCCESS);
    EXPECT_EQ(registry.ReadDefaultValue(ClassesRoot::Machine, ".dm_2004", value), kRegistryInvalidData);
}

TEST_F(ClassesRegistryTest, KeysAreClosedAndCanBeUsedAgain) {
    ClassesRegistry::KeyId first{}, second{};
    ASSERT_EQ(registry.CreateKey(ClassesRoot::Machine, "SOF2_Demo_File", first), kRegistrySuccess);
    ASSERT_EQ(registry.CreateKey(ClassesRoot::Machine, "SOF2_Demo_File", second), kRegistrySuccess);
    EXPECT_NE(first, second);
    EXPECT_EQ(registry.SetDefaultValue(second, "x"), kRegistrySuccess);
    registry.CloseKey(second);
    EXPECT_NE(registry.SetDefaultValue(second, "y"), kRegistrySuccess);  // a closed key takes no value
    EXPECT_EQ(registry.SetDefaultValue(first, "z"), kRegistrySuccess);
    registry.CloseKey(first);
    EXPECT_EQ(Registration(), Strings{L"SOF2_Demo_File=z"});
}

}  // namespace
}  // namespace reelwright
