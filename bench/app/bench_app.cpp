// Runs a loop program in a real main window (offscreen unless a display is chosen) for
// a few seconds and prints the instructions per second, the repaints of the machine's
// views and the longest time the event loop was kept waiting; --trace runs it with the
// trace window open.
//   bench_app [seconds] [--grab file.png] [--trace]
#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QTableView>
#include <QTimer>
#include <cstdio>
#include <ctime>
#include <set>

#include "app/mainwin.h"
#include "app/runcontrol.h"
#include "app/tracewin.h"
#include "controls/hexgrid.h"
#include "controls/showtext.h"
#include "core/trace.h"

namespace {

// A counting loop that stores its counter and prints a dot every 256 rounds:
//   00: 21 01  load R1,01      02: 22 00  load R2,00      04: 20 00  load R0,00
//   06: 52 21  addi R2,R2,R1   08: 32 80  store R2,[80]   0A: B2 0E  jmpEQ R2=R0,0E
//   0C: B0 06  jmp 06          0E: 2F 2E  load RF,2E      10: B0 06  jmp 06
constexpr int Program[] = {0x21, 0x01, 0x22, 0x00, 0x20, 0x00, 0x52, 0x21, 0x32,
                           0x80, 0xB2, 0x0E, 0xB0, 0x06, 0x2F, 0x2E, 0xB0, 0x06};

// Counts paint events of the watched widgets and their children.
class TPaintCounter : public QObject {
public:
    std::set<QObject*> Watched;
    long Paints = 0;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            for (QObject* o = watched; o; o = o->parent())
                if (Watched.count(o)) {
                    ++Paints;
                    break;
                }
        }
        return false;
    }
};

}  // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    double seconds = 3;
    QString grabFile;
    bool trace = false;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == "--grab" && i + 1 < args.size())
            grabFile = args[++i];
        else if (args[i] == "--trace")
            trace = true;
        else
            seconds = args[i].toDouble();
    }

    TMainWin window;
    window.show();
    for (int a = 0; a < int(std::size(Program)); ++a) window.MainMemory->SetContents(a, Program[a]);
    window.SetMemModified(false);
    if (trace) window.MenuTrace->trigger();

    TPaintCounter counter;
    counter.Watched = {window.MainMemory, window.Registers, window.SysRegs, window.DisasmWin,
                       window.OutputBox};
    app.installEventFilter(&counter);

    // The longest wait between two turns of the event loop, seen by a zero timer.
    QElapsedTimer clock;
    qint64 lastTurn = 0, longestGap = 0;
    long turns = 0;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        if (turns++ > 0) longestGap = std::max(longestGap, now - lastTurn);
        lastTurn = now;
    });

    long long startCount = 0;
    std::clock_t startCpu = 0;
    QTimer::singleShot(200, [&] {  // let the window settle first
        startCount = window.RunControl().Executed();
        startCpu = std::clock();
        counter.Paints = 0;
        clock.start();
        probe.start(0);
        window.RunSimulator();
    });
    if (!grabFile.isEmpty()) QTimer::singleShot(200 + 1000, [&] { window.grab().save(grabFile); });
    QTimer::singleShot(200 + int(seconds * 1000), [&] {
        const double elapsed = clock.nsecsElapsed() / 1e9;
        window.BreakSimulator();
        const long long executed = window.RunControl().Executed() - startCount;
        std::printf("run for %.2f s in a shown main window (%s)\n", elapsed,
                    qPrintable(QGuiApplication::platformName()));
        const double cpu = double(std::clock() - startCpu) / CLOCKS_PER_SEC;
        std::printf(
            "instructions per second: %.0f (%.0f per second of CPU time, %.0f%% of a core)\n",
            executed / elapsed, executed / cpu, 100 * cpu / elapsed);
        std::printf("repaints of the machine's views: %ld (%.1f per second)\n", counter.Paints,
                    counter.Paints / elapsed);
        std::printf("event-loop turns: %ld, longest gap between two: %.2f ms\n", turns,
                    longestGap / 1e6);
        std::printf("status: %s, output line: %s\n", qPrintable(window.PanelText(2)),
                    window.OutputBox->Lines().empty() ? "" : window.OutputBox->Lines()[0].c_str());
        if (auto* traceWin = window.findChild<TTraceWin*>()) {
            const int rows = traceWin->TraceTable->model()->rowCount();
            std::printf("trace window: %d rows\n", rows);
            QElapsedTimer took;
            took.start();
            size_t bytes = 0;
            WriteTrace(window.Simulation().History(), TTraceFormat::Tabs,
                       [&](std::string_view piece) { bytes += piece.size(); });
            std::printf("export text of the history: %.2f s, %.0f MB\n", took.elapsed() / 1e3,
                        bytes / 1e6);
            took.restart();
            traceWin->RowDblClick(rows / 2);
            std::printf("double click %d rows up: %.2f s\n", rows - rows / 2 - 1,
                        took.elapsed() / 1e3);
        }
        window.SetMemModified(false);
        window.close();
        app.quit();
    });
    return app.exec();
}
