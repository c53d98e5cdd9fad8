// window-search-bench FOLDER MODE NEEDLE [--binary] [--stop-after MS] [--paints] [--hidden]
//                     [--after RUNS]
// Runs one folder search (all files, subfolders too) in a shown search window, offscreen,
// as the start button does, and prints one line:
//   ms=<run> rows=<rows> ticks=<n> worst_gap_ms=<g> [stop_ms=<s>]
// ms is the run from the click to the idle window. A 10 ms timer ticks while the run goes:
// worst_gap_ms is the longest the event loop went without serving it (how long the window
// could not paint or take a click). With --stop-after, a click on the cancel button is due
// once the run has gone that long: stop_ms is the time from then to the idle window, the
// wait for the event loop to take the click included.
// With --paints, the paint events of the run go to stderr, counted per class of widget, and
// the widths the columns were fitted to. With --hidden the window is not shown: the run
// without its painting. With --after, the timed run follows that many untimed runs in the
// same window.
// MODE is one of normal, wildcard, regex, word.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include "window/frm_add_in.h"
#include "window/result_list.h"
#include "window/search_wait.h"

using trawlex::SearchMode;
using trawlex::window::frmAddIn;
using trawlex::window::SearchArea;

namespace {

double Ms(qint64 nanoseconds) {
    return static_cast<double>(nanoseconds) / 1e6;
}

int ModeIndex(const std::string& mode) {
    if (mode == "wildcard") return static_cast<int>(SearchMode::Wildcard);
    if (mode == "regex") return static_cast<int>(SearchMode::Regex);
    if (mode == "word") return static_cast<int>(SearchMode::Word);
    return static_cast<int>(SearchMode::Normal);
}

// Counts the paint events each class of widget gets.
class PaintCounter : public QObject {
  public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Paint) return false;
        std::string name = watched->metaObject()->className();
        // Viewports are plain widgets: they go by the class of their view.
        if (watched->parent() && name == "QWidget") {
            name = std::string(watched->parent()->metaObject()->className()) + " viewport";
        }
        ++counts[name];
        return false;
    }
    std::map<std::string, int> counts;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr,
                     "usage: %s FOLDER MODE NEEDLE [--binary] [--stop-after MS]"
                     " [--paints] [--hidden] [--after RUNS]\n",
                     argv[0]);
        return 2;
    }
    // The run keeps its history and settings in a machine root of its own.
    QTemporaryDir root;
    qputenv("TRAWLEX_ROOT", root.path().toUtf8());
    QApplication app(argc, argv);
    bool binary = false;
    bool paints = false;
    bool hidden = false;
    int warmRuns = 0;
    int stopAfterMs = -1;
    for (int i = 4; i < argc; ++i) {
        if (std::strcmp(argv[i], "--binary") == 0) binary = true;
        if (std::strcmp(argv[i], "--paints") == 0) paints = true;
        if (std::strcmp(argv[i], "--hidden") == 0) hidden = true;
        if (std::strcmp(argv[i], "--after") == 0 && i + 1 < argc) warmRuns = std::atoi(argv[++i]);
        if (std::strcmp(argv[i], "--stop-after") == 0 && i + 1 < argc) {
            stopAfterMs = std::atoi(argv[++i]);
        }
    }

    frmAddIn window(nullptr);
    window.resize(900, 600);
    if (!hidden) window.show();
    window.cmbSearchArea->setCurrentIndex(static_cast<int>(SearchArea::FilesAll));
    window.txtFilepath->setText(QString::fromLocal8Bit(argv[1]));
    window.chkSubFolders->setChecked(true);
    window.optSearch[ModeIndex(argv[2])]->setChecked(true);
    window.chkCase->setChecked(binary);
    window.txtSearchStr->setEditText(QString::fromLocal8Bit(argv[3]));
    QCoreApplication::processEvents();

    QElapsedTimer run;
    QElapsedTimer sinceTick;
    qint64 worstGap = 0;
    int ticks = 0;
    QTimer ticker;
    ticker.setInterval(10);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        worstGap = std::max(worstGap, sinceTick.nsecsElapsed());
        sinceTick.restart();
        ++ticks;
    });
    bool clicked = false;
    QTimer stopper;
    stopper.setSingleShot(true);
    stopper.setTimerType(Qt::PreciseTimer);
    QObject::connect(&stopper, &QTimer::timeout, [&] {
        clicked = true;
        window.CancelButton->click();
    });

    // Earlier runs in the same window: what a window that has searched before costs (the
    // font has measured the characters of the rows already).
    for (int i = 0; i < warmRuns; ++i) trawlex::window::RunSearch(window);
    PaintCounter paintCounter;
    if (paints) app.installEventFilter(&paintCounter);
    run.start();
    sinceTick.start();
    ticker.start();
    if (stopAfterMs >= 0) stopper.start(stopAfterMs);
    trawlex::window::RunSearch(window);
    const qint64 total = run.nsecsElapsed();
    ticker.stop();
    app.removeEventFilter(&paintCounter);
    for (const auto& [name, count] : paintCounter.counts) {
        std::fprintf(stderr, "paints %s: %d\n", name.c_str(), count);
    }
    if (paints) {
        std::fprintf(stderr, "column widths (px):");
        for (int c = 0; c < trawlex::window::ResultTableModel::kColumnCount; ++c) {
            std::fprintf(stderr, " %d", window.CurrentList().columnWidth(c));
        }
        std::fprintf(stderr, "\n");
    }

    std::printf("ms=%.1f rows=%d ticks=%d worst_gap_ms=%.1f", Ms(total),
                window.CurrentList().RowCount(), ticks, Ms(worstGap));
    if (stopAfterMs >= 0) {
        const qint64 due = static_cast<qint64>(stopAfterMs) * 1000000;
        std::printf(" stop_ms=%.1f", clicked ? Ms(total - due) : -1.0);
    }
    std::printf("\n");
    return 0;
}
