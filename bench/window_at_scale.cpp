// "Get" on a large table in the real window beside the load action alone on the same table.
//
//   window_at_scale DATA INDEX [RUNS]   clicks and loads RUNS times each (default 3), interleaved,
//                                       and prints the medians, their ratios in real and in CPU
//                                       time and the target (1.2, held against the CPU time)
//   window_at_scale --click-once DATA INDEX
//                                       one click only, for measuring the program's peak memory
//
// A click is timed from the button press until the window has handled every event it caused, the
// list's relayout and repaint included. Run it with QT_QPA_PLATFORM=offscreen.

#include <QApplication>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "Form1.h"
#include "PeakResident.h"
#include "runtime/filetable/FileTable.h"
#include "skills/LoadAction.h"
#include "skills/StandaloneHost.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr double kTarget = 1.2;

// Real and CPU seconds; the CPU time (the process's, every thread's) is what a shared machine
// disturbs least.
struct Seconds {
    double real = 0;
    double cpu = 0;
};

template <typename Work>
Seconds secondsOf(Work work) {
    const auto start = Clock::now();
    const std::clock_t cpuStart = std::clock();
    work();
    return {std::chrono::duration<double>(Clock::now() - start).count(),
            static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC};
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The window as a user has it: shown, with the two paths typed in.
class WindowUnderTest {
  public:
    WindowUnderTest(const QString& data, const QString& index) {
        form1_.findChild<QLineEdit*>(QStringLiteral("txtPath"))->setText(data);
        form1_.findChild<QLineEdit*>(QStringLiteral("txtPathIdx"))->setText(index);
        form1_.show();
        QApplication::processEvents();
    }

    // Presses "Get" and lets the window finish with it; the seconds that took.
    Seconds click() {
        auto* cmdGet = form1_.findChild<QPushButton*>(QStringLiteral("cmdGet"));
        return secondsOf([&] {
            cmdGet->click();
            QApplication::processEvents();
        });
    }

    int rows() const {
        return form1_.findChild<QListView*>(QStringLiteral("lstSkills"))->model()->rowCount();
    }

  private:
    quorrel::Form1 form1_;
};

Seconds loadAlone(quorrel::StandaloneHost& host, quorrel::FileTable& files) {
    return secondsOf([&] { quorrel::loadSkills(host, files); });
}

int clickOnce(const QString& data, const QString& index) {
    WindowUnderTest window(data, index);
    const double seconds = window.click().real;
    std::printf("click: %.3f s, %d rows, peak resident memory %lld MiB\n", seconds, window.rows(),
                static_cast<long long>(quorrel::bench::peakResidentBytes() / (1024 * 1024)));
    return 0;
}

int compare(const std::string& data, const std::string& index, int runs) {
    WindowUnderTest window(QString::fromStdString(data), QString::fromStdString(index));
    quorrel::StandaloneHost host(data, index);
    quorrel::FileTable files;
    std::vector<double> clicks;
    std::vector<double> loads;
    std::vector<double> clicksCpu;
    std::vector<double> loadsCpu;
    for (int run = 0; run < runs; ++run) {
        const Seconds click = window.click();
        const Seconds load = loadAlone(host, files);
        clicks.push_back(click.real);
        loads.push_back(load.real);
        clicksCpu.push_back(click.cpu);
        loadsCpu.push_back(load.cpu);
        std::printf("run %d: click %.3f s (CPU %.3f s), load action alone %.3f s (CPU %.3f s)\n",
                    run + 1, click.real, click.cpu, load.real, load.cpu);
    }
    const double ratio = median(clicksCpu) / median(loadsCpu);
    std::printf(
        "rows %d; median click %.3f s (CPU %.3f s), median load action alone %.3f s (CPU "
        "%.3f s)\n",
        window.rows(), median(clicks), median(clicksCpu), median(loads), median(loadsCpu));
    std::printf("click / load action alone: real time %.3f, CPU time %.3f (target %.2fx: %s)\n",
                median(clicks) / median(loads), ratio, kTarget,
                ratio <= kTarget ? "met" : "NOT MET");
    return ratio <= kTarget ? 0 : 1;
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() == 4 && arguments[1] == QStringLiteral("--click-once")) {
        return clickOnce(arguments[2], arguments[3]);
    }
    if (arguments.size() == 3 || arguments.size() == 4) {
        const int runs = arguments.size() == 4 ? std::max(1, arguments[3].toInt()) : 3;
        return compare(arguments[1].toStdString(), arguments[2].toStdString(), runs);
    }
    std::fprintf(stderr, "usage: window_at_scale [--click-once] DATA INDEX [RUNS]\n");
    return 2;
}
