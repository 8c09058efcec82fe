// The Win32 window at scale, under Wine or on Windows: "Get" on a large table beside
// quorrel-dump.exe loading the same table, the second "Get" beside the first, the program's peak
// memory, and whether the window keeps answering the system during a long "Get".
// scripts/windows-bench runs it.
//
//   win32_window_at_scale DATA INDEX QUORREL_DUMP_EXE [RUNS]
//       RUNS rounds (default 1) of: quorrel-dump.exe on the table, its output thrown away, the load
//       action alone in this process, then two clicks on "Get" in one window; prints each time,
//       the medians and their ratios against the targets (first Get within 1.1x of
//       quorrel-dump.exe, second within 1.2x of the first), and the first Get beside the load
//       action alone, which tells the window's own share
//   win32_window_at_scale --click-once DATA INDEX
//       one click, then the process's peak memory (target: under 150 MB at 1,000,000 records)
//   win32_window_at_scale --while-loading DATA INDEX
//       one click, while another thread asks the window every 100 ms whether it answers (WM_NULL,
//       waiting at most a second) and whether the system takes it for hung (IsHungAppWindow)
//
// A click is timed from the button press until the window has handled every message it caused,
// the list's repaint included.

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "ControlClasses.h"
#include "ControlIds.h"
#include "Form1.h"
#include "Form1Layout.h"
#include "MessageLoop.h"
#include "Win32Api.h"
#include "runtime/filetable/FileTable.h"
#include "runtime/system/UniqueHandleWindows.h"
#include "runtime/system/WideTextWindows.h"
#include "skills/LoadAction.h"
#include "skills/StandaloneHost.h"

// After windows.h: its types first.
#include <psapi.h>

namespace {

using Clock = std::chrono::steady_clock;
using quorrel::form1::ControlId;
using quorrel::win32::controlIdOf;

constexpr double kGetTarget = 1.1;
constexpr double kSecondGetTarget = 1.2;
constexpr double kPeakTargetMb = 150.0;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

const char* verdict(double value, double limit) {
    return value <= limit ? "met" : "NOT MET";
}

// Runs quorrel-dump.exe on the table with its output going nowhere; the seconds it took, or a
// negative number when it could not be run.
double dumpSeconds(const std::string& dumpExe, const std::string& data, const std::string& index) {
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    const quorrel::UniqueHandle nowhere(
        CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr));
    std::wstring commandLine = L"\"" + quorrel::wideFromUtf8(dumpExe) + L"\" --data \"" +
                               quorrel::wideFromUtf8(data) + L"\" --index \"" +
                               quorrel::wideFromUtf8(index) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = nowhere.get();
    startup.hStdError = nowhere.get();
    PROCESS_INFORMATION started{};
    const auto start = Clock::now();
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &started)) {
        return -1;
    }
    const quorrel::UniqueHandle process(started.hProcess);
    const quorrel::UniqueHandle thread(started.hThread);
    WaitForSingleObject(process.get(), INFINITE);
    return secondsSince(start);
}

// The window as a user has it: shown, with the two paths typed in.
class WindowUnderTest {
  public:
    WindowUnderTest(const std::string& data, const std::string& index) {
        SetWindowTextW(control(ControlId::txtPath), quorrel::wideFromUtf8(data).c_str());
        SetWindowTextW(control(ControlId::txtPathIdx), quorrel::wideFromUtf8(index).c_str());
        form1_.show();
        handleQueuedMessages();
    }

    // Presses "Get" and lets the window finish with it; the seconds that took.
    double click() {
        const auto start = Clock::now();
        SendMessageW(control(ControlId::cmdGet), BM_CLICK, 0, 0);
        handleQueuedMessages();
        return secondsSince(start);
    }

    int rows() {
        return static_cast<int>(
            SendMessageW(control(ControlId::lstSkills), LVM_GETITEMCOUNT, 0, 0));
    }

    HWND window() const { return form1_.window(); }

  private:
    class QuietForm1 final : public quorrel::win32::Form1 {
      protected:
        void showFailure(const std::wstring& description) override {
            std::fprintf(stderr, "the load failed: %s\n",
                         quorrel::utf8FromWide(description).c_str());
        }
    };

    HWND control(ControlId id) const { return GetDlgItem(form1_.window(), controlIdOf(id)); }

    void handleQueuedMessages() {
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message != WM_QUIT) {
                quorrel::win32::dispatchMessage(form1_.window(), message);
            }
        }
    }

    QuietForm1 form1_;
};

double peakMegabytes() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters))) {
        return -1;
    }
    return static_cast<double>(counters.PeakWorkingSetSize) / 1e6;
}

// The load action on the table without a window, its list in memory; the seconds it took.
double loadAloneSeconds(const std::string& data, const std::string& index) {
    quorrel::StandaloneHost host(data, index);
    quorrel::FileTable files;
    const auto start = Clock::now();
    quorrel::loadSkills(host, files);
    return secondsSince(start);
}

int compare(const std::string& data, const std::string& index, const std::string& dumpExe,
            int runs) {
    WindowUnderTest window(data, index);
    std::vector<double> dumps;
    std::vector<double> alone;
    std::vector<double> firsts;
    std::vector<double> seconds;
    for (int run = 0; run < runs; ++run) {
        dumps.push_back(dumpSeconds(dumpExe, data, index));
        alone.push_back(loadAloneSeconds(data, index));
        firsts.push_back(window.click());
        seconds.push_back(window.click());
        std::printf(
            "run %d: quorrel-dump.exe %.2f s, load action alone %.2f s, first Get %.2f s, second "
            "Get %.2f s\n",
            run + 1, dumps.back(), alone.back(), firsts.back(), seconds.back());
        std::fflush(stdout);
    }
    if (median(dumps) <= 0) {
        std::fprintf(stderr, "cannot run %s\n", dumpExe.c_str());
        return 2;
    }
    const double getRatio = median(firsts) / median(dumps);
    const double secondRatio = median(seconds) / median(firsts);
    std::printf("rows %d; medians: quorrel-dump.exe %.2f s, first Get %.2f s, second Get %.2f s\n",
                window.rows(), median(dumps), median(firsts), median(seconds));
    std::printf("first Get / quorrel-dump.exe: %.3f (target %.1fx: %s)\n", getRatio, kGetTarget,
                verdict(getRatio, kGetTarget));
    std::printf("second Get / first Get: %.3f (target %.1fx: %s)\n", secondRatio, kSecondGetTarget,
                verdict(secondRatio, kSecondGetTarget));
    std::printf("first Get / load action alone: %.3f (%.2f s)\n", median(firsts) / median(alone),
                median(alone));
    return getRatio <= kGetTarget && secondRatio <= kSecondGetTarget ? 0 : 1;
}

int clickOnce(const std::string& data, const std::string& index) {
    WindowUnderTest window(data, index);
    const double seconds = window.click();
    const double peak = peakMegabytes();
    std::printf("one Get: %.2f s, %d rows, peak memory %.1f MB (target < %.0f MB: %s)\n", seconds,
                window.rows(), peak, kPeakTargetMb, verdict(peak, kPeakTargetMb - 1e-9));
    return peak < kPeakTargetMb ? 0 : 1;
}

// Asks the window, from another thread, whether it answers (WM_NULL, waiting up to a second) and
// whether the system takes it for hung, every 100 ms until told to stop.
class AnswerWatch {
  public:
    explicit AnswerWatch(HWND window) : window_(window), thread_([this] { watch(); }) {}
    AnswerWatch(const AnswerWatch&) = delete;
    AnswerWatch& operator=(const AnswerWatch&) = delete;
    ~AnswerWatch() { stop(); }

    void stop() {
        stopping_ = true;
        if (thread_.joinable()) {
            thread_.join();
        }
    }

    void report() const {
        std::printf(
            "asked %d times: answered %d within a second, longest wait %.0f ms (1000: none); "
            "taken for hung %.1f s\n",
            asked_, answered_, longestWaitMs_, hungSeconds_);
    }

  private:
    void watch() {
        auto last = Clock::now();
        while (!stopping_) {
            const auto start = Clock::now();
            DWORD_PTR ignored = 0;
            const bool answered =
                SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &ignored) != 0;
            ++asked_;
            answered_ += answered ? 1 : 0;
            longestWaitMs_ = std::max(longestWaitMs_, answered ? secondsSince(start) * 1000 : 1000);
            if (IsHungAppWindow(window_)) {
                hungSeconds_ += secondsSince(last);
            }
            last = Clock::now();
            const auto rest = std::chrono::milliseconds(100) - (Clock::now() - start);
            if (rest > rest.zero()) {
                std::this_thread::sleep_for(rest);
            }
        }
    }

    HWND window_;
    std::atomic<bool> stopping_{false};
    int asked_ = 0;
    int answered_ = 0;
    double longestWaitMs_ = 0;
    double hungSeconds_ = 0;
    std::thread thread_;
};

int whileLoading(const std::string& data, const std::string& index) {
    WindowUnderTest window(data, index);
    AnswerWatch watch(window.window());
    const double seconds = window.click();
    watch.stop();
    std::printf("one Get: %.2f s, %d rows\n", seconds, window.rows());
    watch.report();
    return 0;
}

int usage() {
    std::fprintf(stderr,
                 "usage: win32_window_at_scale DATA INDEX QUORREL_DUMP_EXE [RUNS]\n"
                 "       win32_window_at_scale --click-once DATA INDEX\n"
                 "       win32_window_at_scale --while-loading DATA INDEX\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    quorrel::win32::registerControlClasses();

    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (arguments.size() == 3 && arguments[0] == "--click-once") {
        return clickOnce(arguments[1], arguments[2]);
    }
    if (arguments.size() == 3 && arguments[0] == "--while-loading") {
        return whileLoading(arguments[1], arguments[2]);
    }
    if (arguments.size() == 3 || arguments.size() == 4) {
        const int runs = arguments.size() == 4 ? std::max(1, std::stoi(arguments[3])) : 1;
        return compare(arguments[0], arguments[1], arguments[2], runs);
    }
    return usage();
}
