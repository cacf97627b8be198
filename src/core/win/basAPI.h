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

// Owns any handle released by one function (CloseHandle, RegCloseKey, ...),
// named directly as `Release`.
template <typename Handle, auto Release, Handle Invalid = Handle{}>
class Unique {
public:
    Unique() = default;
    explicit Unique(Handle handle) : handle_(handle) {}
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;
    Unique(Unique&& other) noexcept : handle_(std::exchange(other.handle_, Invalid)) {}
    Unique& operator=(Unique&& other) noexcept {
        if (this != &other) reset(std::exchange(other.handle_, Invalid));
        return *this;
    }
    ~Unique() { reset(); }

    Handle get() const { return handle_; }
    Handle* put() { reset(); return &handle_; }
    Handle release() { return std::exchange(handle_, Invalid); }
    void reset(Handle handle = Invalid) {
        if (handle_ != Invalid) Release(handle_);
        handle_ = handle;
    }
    explicit operator bool() const { return handle_ != Invalid; }

private:
    Handle handle_ = Invalid;
};

using UniqueHandle = Unique<HANDLE, ::CloseHandle>;  // mutexes, processes, threads
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
