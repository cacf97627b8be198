// The built Reelwright.exe loads on Windows 7 SP1: its import table names no
// function that Windows 7 lacks (those are looked up at run time) and no DLL
// that Windows 7 lacks. And it imports only DLLs that the system never looks
// for beside the program: its known DLLs, and the common controls that the
// manifest takes from the system's side-by-side store. A DLL of another name
// would be looked for in the program's folder first, before the program has
// run a line of its own.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/win/WinTestSupport.h"

namespace reelwright {
namespace {

using namespace test;

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The functions imported by name (and the DLLs imported), read from a PE32+
// file's import and delay-import tables.
class ImportTable {
public:
    explicit ImportTable(const std::wstring& path) {
        std::ifstream file(path.c_str(), std::ios::binary);
        bytes_.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
        const auto& dos = At<IMAGE_DOS_HEADER>(0);
        if (dos.e_magic != IMAGE_DOS_SIGNATURE) throw std::runtime_error("not an executable");
        const auto& nt = At<IMAGE_NT_HEADERS64>(static_cast<std::size_t>(dos.e_lfanew));
        if (nt.Signature != IMAGE_NT_SIGNATURE || nt.OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR64_MAGIC)
            throw std::runtime_error("not a 64-bit PE file");
        const std::size_t sections = static_cast<std::size_t>(dos.e_lfanew) + offsetof(IMAGE_NT_HEADERS64, OptionalHeader) +
                                     nt.FileHeader.SizeOfOptionalHeader;
        for (WORD index = 0; index < nt.FileHeader.NumberOfSections; ++index)
            sections_.push_back(At<IMAGE_SECTION_HEADER>(sections + index * sizeof(IMAGE_SECTION_HEADER)));

        const IMAGE_DATA_DIRECTORY& imports = nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        for (DWORD rva = imports.VirtualAddress; rva; rva += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
            const auto& descriptor = At<IMAGE_IMPORT_DESCRIPTOR>(Offset(rva));
            if (!descriptor.Name) break;
            const std::string dll = StringAt(descriptor.Name);
            eagerDlls_.insert(Lower(dll));
            ReadNames(dll, descriptor.OriginalFirstThunk ? descriptor.OriginalFirstThunk : descriptor.FirstThunk);
        }
        // GNU ld leaves the delay-import directory empty: the descriptors
        // (attributes 1, then the RVAs of the DLL's name, its module handle,
        // its address table and its name table) are found by their shape.
        for (std::size_t offset = 0; offset + sizeof(IMAGE_DELAYLOAD_DESCRIPTOR) <= bytes_.size(); offset += 4) {
            const auto& descriptor = At<IMAGE_DELAYLOAD_DESCRIPTOR>(offset);
            if (descriptor.Attributes.AllAttributes != 1 || !descriptor.DllNameRVA || !descriptor.ImportNameTableRVA ||
                !descriptor.ImportAddressTableRVA || !descriptor.ModuleHandleRVA || descriptor.TimeDateStamp)
                continue;
            if (!TryOffset(descriptor.DllNameRVA) || !TryOffset(descriptor.ImportNameTableRVA) ||
                !TryOffset(descriptor.ImportAddressTableRVA))
                continue;
            const std::string dll = StringAt(descriptor.DllNameRVA);
            if (dll.size() < 5 || Lower(dll.substr(dll.size() - 4)) != ".dll") continue;
            delayedDlls_.insert(Lower(dll));
            ReadNames(dll, descriptor.ImportNameTableRVA);
        }
    }

    const std::map<std::string, std::set<std::string>>& functionsByDll() const { return functions_; }
    // The DLLs that the loader loads before the program runs, and those loaded
    // on the first call of one of their functions (in lower case).
    const std::set<std::string>& eagerDlls() const { return eagerDlls_; }
    const std::set<std::string>& delayedDlls() const { return delayedDlls_; }

private:
    template <typename T>
    const T& At(std::size_t offset) const {
        if (offset + sizeof(T) > bytes_.size()) throw std::runtime_error("read past the end of the file");
        return *reinterpret_cast<const T*>(bytes_.data() + offset);
    }
    std::optional<std::size_t> TryOffset(DWORD rva) const {
        for (const IMAGE_SECTION_HEADER& section : sections_) {
            const DWORD size = std::max(section.Misc.VirtualSize, section.SizeOfRawData);
            if (rva >= section.VirtualAddress && rva < section.VirtualAddress + size &&
                rva - section.VirtualAddress < section.SizeOfRawData)
                return section.PointerToRawData + (rva - section.VirtualAddress);
        }
        return std::nullopt;
    }
    std::size_t Offset(DWORD rva) const {
        if (const auto offset = TryOffset(rva)) return *offset;
        throw std::runtime_error("address outside every section");
    }
    std::string StringAt(DWORD rva) const {
        const std::size_t offset = Offset(rva);
        const auto* text = reinterpret_cast<const char*>(bytes_.data() + offset);
        return std::string(text, strnlen(text, bytes_.size() - offset));
    }
    void ReadNames(const std::string& dll, DWORD thunks) {
        std::set<std::string>& names = functions_[dll];
        for (DWORD rva = thunks; rva; rva += sizeof(ULONGLONG)) {
            const ULONGLONG thunk = At<ULONGLONG>(Offset(rva));
            if (!thunk) break;
            if (thunk & IMAGE_ORDINAL_FLAG64) continue;
            names.insert(StringAt(static_cast<DWORD>(thunk) + offsetof(IMAGE_IMPORT_BY_NAME, Name)));
        }
    }

    std::vector<unsigned char> bytes_;
    std::vector<IMAGE_SECTION_HEADER> sections_;
    std::map<std::string, std::set<std::string>> functions_;
    std::set<std::string> eagerDlls_;
    std::set<std::string> delayedDlls_;
};

TEST(BuiltProgram, ImportsNothingThatWindows7Lacks) {
    const ImportTable table(ProgramPath());
    const auto& imports = table.functionsByDll();

    // The table was read: the program's windows are made through user32.
    bool createsWindows = false;
    for (const auto& [dll, names] : imports)
        if (Lower(dll) == "user32.dll" && names.count("CreateWindowExW")) createsWindows = true;
    EXPECT_TRUE(createsWindows);

    // Windows 10 functions the program looks up at run time instead.
    const std::set<std::string> newer = {
        "GetDpiForWindow",          "AdjustWindowRectExForDpi",     "GetSystemMetricsForDpi",
        "SystemParametersInfoForDpi", "SetThreadDpiAwarenessContext", "SetProcessDpiAwarenessContext",
        "GetDpiForSystem",          "EnableNonClientDpiScaling",    "GetDpiForMonitor",
        "SetProcessDpiAwareness",
        // Windows 7 has these only with a later update of its loader.
        "SetDefaultDllDirectories", "AddDllDirectory", "RemoveDllDirectory",
    };
    const std::set<std::string> systemDlls = {"advapi32.dll", "comctl32.dll", "comdlg32.dll", "gdi32.dll",
                                              "kernel32.dll", "msvcrt.dll",   "ole32.dll",    "shell32.dll",
                                              "user32.dll"};
    for (const auto& [dll, names] : imports) {
        const std::string name = Lower(dll);
        EXPECT_NE(name, "shcore.dll");
        EXPECT_EQ(systemDlls.count(name), 1u) << dll << " may be loaded from the program's folder";
        EXPECT_NE(name.rfind("api-ms-win-", 0), 0u) << dll;
        EXPECT_NE(name.rfind("ext-ms-win-", 0), 0u) << dll;
        for (const std::string& function : names) EXPECT_EQ(newer.count(function), 0u) << dll << "!" << function;
    }
}

// What the main window does not need (COM, the shell, the file dialogs, with
// the DLLs they load in turn) is loaded when first used, not before the
// window shows.
TEST(BuiltProgram, LoadsOnlyWhatTheMainWindowNeedsBeforeItRuns) {
    const ImportTable table(ProgramPath());
    EXPECT_EQ(table.eagerDlls(), (std::set<std::string>{"advapi32.dll", "comctl32.dll", "gdi32.dll", "kernel32.dll",
                                                        "msvcrt.dll", "user32.dll"}));
    for (const char* delayed : {"ole32.dll", "shell32.dll", "comdlg32.dll"})
        EXPECT_EQ(table.delayedDlls().count(delayed), 1u)
            << delayed << " is not imported at all: the test no longer shows its delay";
}

}  // namespace
}  // namespace reelwright
