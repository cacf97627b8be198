// The file association against the real classes roots of the test prefix: the
// shared cases, and what only the real registry shows (long values, value
// types, handles).
#include "shell/win/Win32ClassesRegistry.h"

#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "shell/basAssociation.h"
#include "shell/AssociationCases.h"
#include "support/FakeClassesRegistry.h"
#include "support/Fakes.h"
#include "support/win/WinTestSupport.h"

namespace reelwright {
namespace {

using Strings = std::vector<std::string>;

using test::RemoveAssociationKeys;

constexpr const wchar_t* kUserClasses = L"Software\\Classes";

HKEY RootKey(ClassesRoot root) { return root == ClassesRoot::Machine ? HKEY_CLASSES_ROOT : HKEY_CURRENT_USER; }
std::wstring RootPath(ClassesRoot root, const std::string& subkey) {
    return (root == ClassesRoot::Machine ? L"" : std::wstring(kUserClasses) + L"\\") + basAPI::Widen(subkey);
}

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

std::string Folded(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The key and every key below it, as the fake registry dumps its keys: by
// folded name, each line "<name>" or "<name>=<default value>" (with
// "[type n]" when the default value is not REG_SZ), followed by its named
// values as "<name>[<value name>]=<value>".
void DumpTree(HKEY root, const std::wstring& path, const std::string& shown, std::map<std::string, Strings>& keys) {
    basAPI::UniqueRegKey key;
    if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) return;
    Strings& lines = keys[Folded(shown)];
    std::map<std::string, std::string> named;
    std::string line = shown;
    for (DWORD index = 0;; ++index) {
        wchar_t name[256]{};
        DWORD nameLength = 256;
        wchar_t value[2048]{};
        DWORD size = sizeof(value) - sizeof(wchar_t);
        DWORD type = 0;
        if (::RegEnumValueW(key.get(), index, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(value),
                            &size) != ERROR_SUCCESS)
            break;
        std::string text = basAPI::Narrow(value);
        if (type != REG_SZ) text += "[type " + std::to_string(type) + "]";
        if (nameLength == 0)
            line += "=" + text;
        else
            named[Folded(basAPI::Narrow(name))] = shown + "[" + basAPI::Narrow(name) + "]=" + text;
    }
    lines.push_back(line);
    for (const auto& [folded, text] : named) lines.push_back(text);
    for (DWORD index = 0;; ++index) {
        wchar_t name[256]{};
        DWORD length = 256;
        if (::RegEnumKeyExW(key.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        DumpTree(root, path + L"\\" + name, shown + "\\" + basAPI::Narrow(name), keys);
    }
}

// The association's keys in one root: HKEY_CLASSES_ROOT (which under Wine is
// HKLM\Software\Classes only) or HKCU\Software\Classes.
Strings Registration(ClassesRoot root = ClassesRoot::Machine) {
    std::map<std::string, Strings> keys;
    for (const char* top : {".dm_2004", "SOF2_Demo_File"}) DumpTree(RootKey(root), RootPath(root, top), top, keys);
    Strings lines;
    for (const auto& [folded, keyLines] : keys) lines.insert(lines.end(), keyLines.begin(), keyLines.end());
    return lines;
}

// The cases shared with the fake registry, over the test prefix's registry.
struct RealClasses {
    RealClasses() { RemoveAssociationKeys(); }
    ~RealClasses() { RemoveAssociationKeys(); }
    ClassesRegistry& registry() { return real; }
    void Put(const std::string& subkey, std::optional<std::string> value, ClassesRoot root) {
        SeedKey(RootKey(root), RootPath(root, subkey), value ? basAPI::Widen(*value).c_str() : nullptr);
    }
    Strings Dump(ClassesRoot root) const { return Registration(root); }
    win::Win32ClassesRegistry real;
};
using namespace reelwright::test;
INSTANTIATE_TYPED_TEST_SUITE_P(Real, AssociationCases, RealClasses);

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
    EXPECT_EQ(Registration(), Strings{"SOF2_Demo_File=z"});
}

}  // namespace
}  // namespace reelwright
