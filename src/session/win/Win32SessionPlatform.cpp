#include "session/win/Win32SessionPlatform.h"

#include <shlobj.h>

#include <limits>
#include <utility>
#include <vector>

#include "core/CommandLine.h"
#include "core/GameFolder.h"
#include "session/SessionWatch.h"
#include "core/win/ShellStart.h"

namespace reelwright::win {

namespace {

// One mutex for every process of the user's logon that touches the journal.
constexpr wchar_t kJournalMutexName[] = L"Local\\Reelwright_SessionJournal";
// Longer than a restore that waits for a game to let go of its config.
constexpr DWORD kLockTimeoutMilliseconds = 60000;

std::string KnownFolder(int id) {
    wchar_t path[MAX_PATH]{};
    if (FAILED(::SHGetFolderPathW(nullptr, id, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
    return basAPI::Narrow(path);
}

}  // namespace

std::uint64_t CreationTime(HANDLE process) {
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!::GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
    return (static_cast<std::uint64_t>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

namespace {

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

}  // namespace

Win32SessionPlatform::Win32SessionPlatform(FileSystem& files, std::string programPath)
    : files_(files), programPath_(std::move(programPath)),
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
    std::wstring commandLine =
        basAPI::Widen(QuoteArgument(programPath_) + " " +
                      WatchSessionParameters(reinterpret_cast<std::uintptr_t>(inheritable), gameProcess_));
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

}  // namespace reelwright::win
