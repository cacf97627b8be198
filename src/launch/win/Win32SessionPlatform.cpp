#include "launch/win/Win32SessionPlatform.h"

#include <shlobj.h>

#include <charconv>
#include <limits>
#include <utility>
#include <vector>

#include "core/GameFolder.h"
#include "core/win/ShellStart.h"

namespace reelwright::win {

namespace {

// One mutex for every process of the user's logon that touches the journal.
constexpr wchar_t kJournalMutexName[] = L"Local\\Reelwright_SessionJournal";
// Longer than a restore that waits for a game to let go of its config.
constexpr DWORD kLockTimeoutMilliseconds = 60000;

FileResult LastError() {
    const DWORD error = ::GetLastError();
    return FileResult{error != 0 ? error : static_cast<std::uint32_t>(ERROR_GEN_FAILURE)};
}

std::string KnownFolder(int id) {
    wchar_t path[MAX_PATH]{};
    if (FAILED(::SHGetFolderPathW(nullptr, id, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
    return basAPI::Narrow(path);
}

std::uint64_t CreationTime(HANDLE process) {
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!::GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
    return (static_cast<std::uint64_t>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

// A process attribute list that lets a new process inherit one handle only.
class HandleList {
public:
    explicit HandleList(HANDLE& handle) {
        if (!handle) return;
        SIZE_T size = 0;
        ::InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
        buffer_.resize(size);
        auto* list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(buffer_.data());
        if (!::InitializeProcThreadAttributeList(list, 1, 0, &size)) return;
        initialised_ = list;
        if (::UpdateProcThreadAttribute(list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, &handle, sizeof(HANDLE), nullptr,
                                        nullptr))
            list_ = list;
    }
    ~HandleList() {
        if (initialised_) ::DeleteProcThreadAttributeList(initialised_);
    }
    HandleList(const HandleList&) = delete;
    HandleList& operator=(const HandleList&) = delete;

    // Nothing when the list could not be made.
    LPPROC_THREAD_ATTRIBUTE_LIST Get() const { return list_; }

private:
    std::vector<unsigned char> buffer_;
    LPPROC_THREAD_ATTRIBUTE_LIST initialised_ = nullptr;
    LPPROC_THREAD_ATTRIBUTE_LIST list_ = nullptr;
};

// A file handle owner that takes INVALID_HANDLE_VALUE for none.
basAPI::UniqueHandle OpenedFile(HANDLE file) {
    return basAPI::UniqueHandle(file == INVALID_HANDLE_VALUE ? nullptr : file);
}

FileResult WriteNewFile(const std::wstring& path, const std::string& bytes) {
    if (bytes.size() > std::numeric_limits<DWORD>::max()) return FileResult{ERROR_FILE_TOO_LARGE};
    basAPI::UniqueHandle file =
        OpenedFile(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return LastError();
    DWORD written = 0;
    if (!::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        !::FlushFileBuffers(file.get()))
        return LastError();
    if (written != bytes.size()) return FileResult{ERROR_WRITE_FAULT};
    if (!::CloseHandle(file.release())) return LastError();
    return {};
}

}  // namespace

Win32SessionPlatform::Win32SessionPlatform(FileSystem& files, std::string programPath, HWND owner)
    : files_(files), programPath_(std::move(programPath)), owner_(owner),
      mutex_(::CreateMutexW(nullptr, FALSE, kJournalMutexName)) {}

Win32SessionPlatform::~Win32SessionPlatform() = default;

std::string Win32SessionPlatform::JournalPath() {
    const std::string local = KnownFolder(CSIDL_LOCAL_APPDATA);
    if (local.empty()) return {};
    return JoinFolder(JoinFolder(local, "Reelwright"), "sessions.journal");
}

VirtualisedFolders Win32SessionPlatform::Virtualised() {
    VirtualisedFolders where;
    for (int id : {CSIDL_PROGRAM_FILES, CSIDL_PROGRAM_FILESX86, CSIDL_WINDOWS, CSIDL_COMMON_APPDATA})
        if (std::string folder = KnownFolder(id); !folder.empty()) where.folders.push_back(std::move(folder));
    where.localAppData = KnownFolder(CSIDL_LOCAL_APPDATA);
    return where;
}

FileResult Win32SessionPlatform::ReadWholeFile(const std::string& path, std::string& bytes) {
    bytes.clear();
    basAPI::UniqueHandle file = OpenedFile(::CreateFileW(basAPI::Widen(path).c_str(), GENERIC_READ,
                                                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                                         FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return LastError();
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.get(), &size)) return LastError();
    if (size.QuadPart > std::numeric_limits<DWORD>::max()) return FileResult{ERROR_FILE_TOO_LARGE};
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    DWORD read = 0;
    if (!bytes.empty() && !::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) {
        bytes.clear();
        return LastError();
    }
    bytes.resize(read);
    return {};
}

FileResult Win32SessionPlatform::ReplaceFile(const std::string& path, const std::string& bytes) {
    const std::wstring target = basAPI::Widen(path);
    const std::wstring folder = target.substr(0, target.find_last_of(L'\\'));
    const int made = ::SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    if (made != ERROR_SUCCESS && made != ERROR_ALREADY_EXISTS && made != ERROR_FILE_EXISTS)
        return FileResult{static_cast<std::uint32_t>(made)};

    // A new file beside the target, renamed over it once complete: the target
    // is never left half written.
    wchar_t temporary[MAX_PATH]{};
    if (::GetTempFileNameW(folder.c_str(), L"rw", 0, temporary) == 0) return LastError();
    FileResult result = WriteNewFile(temporary, bytes);
    if (result && !::MoveFileExW(temporary, target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        result = LastError();
    if (!result) ::DeleteFileW(temporary);
    return result;
}

std::optional<std::uint32_t> Win32SessionPlatform::Attributes(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesW(basAPI::Widen(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return std::nullopt;
    return attributes;
}

FileResult Win32SessionPlatform::SetAttributes(const std::string& path, std::uint32_t attributes) {
    // No attribute at all is written as "normal", the value that stands for it.
    const DWORD value = attributes != 0 ? attributes : FILE_ATTRIBUTE_NORMAL;
    return ::SetFileAttributesW(basAPI::Widen(path).c_str(), value) ? FileResult{} : LastError();
}

FileResult Win32SessionPlatform::RemoveFile(const std::string& path) { return files_.RemoveFile(path); }

std::optional<FolderContents> Win32SessionPlatform::ListFolder(const std::string& folder) {
    return files_.ListFolder(folder);
}

std::string Win32SessionPlatform::ErrorText(std::uint32_t error) { return files_.ErrorText(error); }

SessionProcess Win32SessionPlatform::CurrentProcess() {
    return {::GetCurrentProcessId(), CreationTime(::GetCurrentProcess())};
}

bool Win32SessionPlatform::ProcessEnded(const SessionProcess& process) {
    basAPI::UniqueHandle handle(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process.id));
    // A process that exists but may not be looked at is taken as running: its
    // entry waits rather than being restored under a running game.
    if (!handle) return ::GetLastError() != ERROR_ACCESS_DENIED;
    if (CreationTime(handle.get()) != process.creationTime) return true;  // the id was reused
    DWORD exitCode = 0;
    return ::GetExitCodeProcess(handle.get(), &exitCode) && exitCode != STILL_ACTIVE;
}

void Win32SessionPlatform::Pause(std::chrono::milliseconds duration) {
    ::Sleep(static_cast<DWORD>(duration.count()));
}

std::uint32_t Win32SessionPlatform::StartGame(const std::string& file, const std::string& parameters,
                                              const std::string& directory, int showMode,
                                              std::optional<SessionProcess>& game) {
    ShellStart start = StartThroughShell(owner_, L"open", basAPI::Widen(file), basAPI::Widen(parameters),
                                         basAPI::Widen(directory), showMode, true);
    if (start.error) return start.error;
    game_ = std::move(start.process);
    game.reset();
    if (game_) {
        gameProcess_ = {::GetProcessId(game_.get()), CreationTime(game_.get())};
        if (gameProcess_.id != 0) game = gameProcess_;
    }
    return 0;
}

void Win32SessionPlatform::WatchGame() {
    if (!game_) return;
    // The watcher inherits its own handle of the game, so it follows this very
    // process even when the game ends before the watcher runs.
    HANDLE inheritable = nullptr;
    if (!::DuplicateHandle(::GetCurrentProcess(), game_.get(), ::GetCurrentProcess(), &inheritable,
                           SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, TRUE, 0))
        inheritable = nullptr;
    const basAPI::UniqueHandle owned(inheritable);

    const std::wstring program = basAPI::Widen(programPath_);
    std::wstring commandLine = L"\"" + program + L"\" " + basAPI::Widen(kWatchSessionSwitch) + L" " +
                               std::to_wstring(reinterpret_cast<std::uintptr_t>(inheritable)) + L" " +
                               std::to_wstring(gameProcess_.id) + L" " + std::to_wstring(gameProcess_.creationTime);
    const std::wstring folder = program.substr(0, program.find_last_of(L'\\'));
    // The game's handle is the only one handed down: the watcher may outlive
    // the program by hours and must not keep open what the program was given
    // (its standard handles, a pipe of whoever started it).
    // Without the list nothing is inherited, and the watcher opens the game by
    // its id.
    const HandleList inherited(inheritable);
    const bool listed = inherited.Get() != nullptr;
    STARTUPINFOEXW startup{};
    startup.StartupInfo.cb = listed ? sizeof(STARTUPINFOEXW) : sizeof(STARTUPINFOW);
    // No busy cursor for a program without a window, and no standard handles.
    startup.StartupInfo.dwFlags = STARTF_FORCEOFFFEEDBACK | STARTF_USESTDHANDLES;
    startup.lpAttributeList = inherited.Get();
    PROCESS_INFORMATION started{};
    if (::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, listed,
                         listed ? EXTENDED_STARTUPINFO_PRESENT : 0, nullptr, folder.c_str(), &startup.StartupInfo,
                         &started)) {
        ::CloseHandle(started.hThread);
        ::CloseHandle(started.hProcess);
    }
    // Without a watcher the program's next start restores the session.
    game_.reset();
}

bool Win32SessionPlatform::LockJournal() {
    if (!mutex_) return false;
    const DWORD waited = ::WaitForSingleObject(mutex_.get(), kLockTimeoutMilliseconds);
    // A holder that ended without letting go left the journal whole: it is
    // only ever replaced by a rename.
    return waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
}

void Win32SessionPlatform::UnlockJournal() { ::ReleaseMutex(mutex_.get()); }

namespace {

template <typename Number>
std::optional<Number> NextNumber(std::string_view& text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    Number number{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc{}) return std::nullopt;
    text.remove_prefix(static_cast<std::size_t>(end - text.data()));
    return number;
}

std::string_view AfterSwitch(std::string_view tail) {
    while (!tail.empty() && tail.front() == ' ') tail.remove_prefix(1);
    if (tail.substr(0, kWatchSessionSwitch.size()) != kWatchSessionSwitch) return {};
    tail.remove_prefix(kWatchSessionSwitch.size());
    return tail;
}

}  // namespace

bool IsWatchSessionCommandLine(std::string_view commandLineTail) {
    std::string_view tail = commandLineTail;
    while (!tail.empty() && tail.front() == ' ') tail.remove_prefix(1);
    return tail.substr(0, kWatchSessionSwitch.size()) == kWatchSessionSwitch &&
           (tail.size() == kWatchSessionSwitch.size() || tail[kWatchSessionSwitch.size()] == ' ');
}

int RunSessionWatcher(std::string_view commandLineTail, FileSystem& files, UserPrompts& prompts) {
    std::string_view rest = AfterSwitch(commandLineTail);
    const auto handleValue = NextNumber<std::uintptr_t>(rest);
    const auto id = NextNumber<std::uint32_t>(rest);
    const auto created = NextNumber<std::uint64_t>(rest);

    if (handleValue && id && created) {
        // The inherited handle when it is what the command line says; else the
        // process by its id, when it is still the one created then.
        basAPI::UniqueHandle game(reinterpret_cast<HANDLE>(*handleValue));
        if (!game || ::GetProcessId(game.get()) != *id || CreationTime(game.get()) != *created) {
            game.release();
            game.reset(::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, *id));
            if (game && CreationTime(game.get()) != *created) game.reset();
        }
        if (game) ::WaitForSingleObject(game.get(), INFINITE);
    }
    Win32SessionPlatform platform(files, {});
    RestoreEndedSessions(platform, prompts);
    return 0;
}

void RecoverSessions(FileSystem& files, UserPrompts& prompts) {
    Win32SessionPlatform platform(files, {});
    RestoreEndedSessions(platform, prompts);
}

}  // namespace reelwright::win
