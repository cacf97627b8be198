// Times programs from their start to their first visible top-level window:
//   StartupTimer <runs> <program A> <program B>
// starts A and B alternately, <runs> times each, closes each window once it
// is visible and waits for the program to end, then prints both medians in
// milliseconds and the ratio A/B; and, steadier where the machine's speed
// drifts from one minute to the next, the median of each run's own ratio.
// It looks for the window among the windows of the program's first thread
// only, so that its polling takes little from the one wine server that the
// program timed needs too.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Search {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindVisible(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<Search*>(parameter);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !::IsWindowVisible(window) || ::GetWindow(window, GW_OWNER)) return TRUE;
    search->found = window;
    return FALSE;
}

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency{};
    ::QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// One start: the time to the first visible window, or a negative value when
// none came within 20 s.
double TimeOneStart(const std::wstring& program) {
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started{};
    LARGE_INTEGER begin{};
    ::QueryPerformanceCounter(&begin);
    if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &started))
        return -1;
    Search search{started.dwProcessId, nullptr};
    LARGE_INTEGER now = begin;
    while (!search.found && Milliseconds(begin, now) < 20000) {
        ::EnumThreadWindows(started.dwThreadId, FindVisible, reinterpret_cast<LPARAM>(&search));
        if (!search.found) ::Sleep(1);
        ::QueryPerformanceCounter(&now);
    }
    const double elapsed = search.found ? Milliseconds(begin, now) : -1;
    if (search.found) ::PostMessageW(search.found, WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(started.hProcess, 10000) != WAIT_OBJECT_0) ::TerminateProcess(started.hProcess, 1);
    ::CloseHandle(started.hThread);
    ::CloseHandle(started.hProcess);
    return elapsed;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 4) {
        std::fwprintf(stderr, L"usage: StartupTimer <runs> <program A> <program B>\n");
        return 2;
    }
    const int runs = std::max(1, _wtoi(argv[1]));
    std::vector<double> a, b, ratios;
    // One start of each first, not counted: the system's caches warm up.
    TimeOneStart(argv[2]);
    TimeOneStart(argv[3]);
    for (int run = 0; run < runs; ++run) {
        const double first = TimeOneStart(argv[2]);
        const double second = TimeOneStart(argv[3]);
        if (first < 0 || second < 0) {
            std::fwprintf(stderr, L"no window came up in run %d\n", run + 1);
            return 1;
        }
        a.push_back(first);
        b.push_back(second);
        ratios.push_back(first / second);
    }
    const double medianA = Median(a), medianB = Median(b);
    std::wprintf(L"%ls: median %.1f ms over %d starts\n", argv[2], medianA, runs);
    std::wprintf(L"%ls: median %.1f ms over %d starts\n", argv[3], medianB, runs);
    std::wprintf(L"ratio: %.2f\n", medianA / medianB);
    std::wprintf(L"median of the runs' ratios: %.2f\n", Median(ratios));
    return 0;
}
