// "Get" on a large table in the real window beside the load action alone on the same table.
//
//   window_at_scale DATA INDEX [RUNS]   clicks and loads RUNS times each (default 3), interleaved,
//                                       and prints the medians, their ratio and the target (1.5)
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
#include <string>
#include <vector>

#include "Form1.h"
#include "PeakResident.h"
#include "runtime/filetable/FileTable.h"
#include "skills/LoadAction.h"
#include "skills/StandaloneHost.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr double kTarget = 1.5;

template <typename Work>
double secondsOf(Work work) {
    const auto start = Clock::now();
    work();
    return std::chrono::duration<double>(Clock::now() - start).count();
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
    double click() {
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

double loadAlone(quorrel::StandaloneHost& host, quorrel::FileTable& files) {
    return secondsOf([&] { quorrel::loadSkills(host, files); });
}

int clickOnce(const QString& data, const QString& index) {
    WindowUnderTest window(data, index);
    const double seconds = window.click();
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
    for (int run = 0; run < runs; ++run) {
        clicks.push_back(window.click());
        loads.push_back(loadAlone(host, files));
        std::printf("run %d: click %.3f s, load action alone %.3f s\n", run + 1, clicks.back(),
                    loads.back());
    }
    const double ratio = median(clicks) / median(loads);
    std::printf("rows %d; median click %.3f s, median load action alone %.3f s\n", window.rows(),
                median(clicks), median(loads));
    std::printf("click / load action alone: %.3f (target %.2fx: %s)\n", ratio, kTarget,
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
