// The Win32 declarations the program uses, the UTF-8/UTF-16/ANSI conversions
// at the Windows boundary, and small RAII owners of Windows handles.
#pragma once

#include <windows.h>
#include <objbase.h>

#include <string>
#include <string_view>
#include <utility>

namespace basAPI {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);
// UTF-8 to the system's ANSI code page (CP_ACP); characters the code page
// cannot represent become the code page's default character.
std::string ToAnsi(std::string_view utf8);

// Whether a handle holds something: not null for most kinds of handle; for
// file handles (CreateFileW, FindFirstFileExW, CreateToolhelp32Snapshot) also
// not INVALID_HANDLE_VALUE, which is what those functions give on failure.
template <typename Handle>
constexpr bool IsNotNull(Handle handle) { return handle != Handle{}; }
inline bool IsOpenFile(HANDLE handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }

// The system's text for an error code, without the line end it comes with;
// empty for a code the system has no text for.
std::wstring SystemMessage(unsigned long code);

// Owns any handle released by one function (CloseHandle, RegCloseKey, ...),
// named directly as `Release`; `Holds` tells a handle from an empty one.
template <typename Handle, auto Release, auto Holds = &IsNotNull<Handle>>
class Unique {
public:
    Unique() = default;
    explicit Unique(Handle handle) : handle_(handle) {}
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;
    Unique(Unique&& other) noexcept : handle_(std::exchange(other.handle_, Handle{})) {}
    Unique& operator=(Unique&& other) noexcept {
        if (this != &other) reset(std::exchange(other.handle_, Handle{}));
        return *this;
    }
    ~Unique() { reset(); }

    Handle get() const { return handle_; }
    Handle* put() { reset(); return &handle_; }
    Handle release() { return std::exchange(handle_, Handle{}); }
    void reset(Handle handle = Handle{}) {
        if (Holds(handle_)) Release(handle_);
        handle_ = handle;
    }
    explicit operator bool() const { return Holds(handle_); }

private:
    Handle handle_{};
};

using UniqueHandle = Unique<HANDLE, ::CloseHandle>;  // mutexes, processes, threads
// Files and folders from CreateFileW: a failed open (INVALID_HANDLE_VALUE) is
// empty, so no caller releases it by hand.
using UniqueFile = Unique<HANDLE, ::CloseHandle, &IsOpenFile>;
using UniqueFind = Unique<HANDLE, ::FindClose, &IsOpenFile>;
using UniqueRegKey = Unique<HKEY, ::RegCloseKey>;
using UniqueFont = Unique<HFONT, ::DeleteObject>;
using UniqueBitmap = Unique<HBITMAP, ::DeleteObject>;
using UniqueBrush = Unique<HBRUSH, ::DeleteObject>;
using UniqueIcon = Unique<HICON, ::DestroyIcon>;
// A menu no window owns yet: a menu bar before its window takes it, a popup menu.
using UniqueMenu = Unique<HMENU, ::DestroyMenu>;

// Owns a block from the COM task allocator (item id lists of the folder picker).
template <typename T>
using UniqueCoTaskMem = Unique<T*, ::CoTaskMemFree>;

// Balances CoInitializeEx for the calling thread.
class ComApartment {
public:
    ComApartment();
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    HRESULT result_;
};

// The folder and base name of the running program's own executable.
std::wstring ProgramFolder();
std::wstring ProgramBaseName();

}  // namespace basAPI
