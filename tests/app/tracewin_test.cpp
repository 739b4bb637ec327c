// The trace window: its rows are the history in the trace's text, it follows steps, step
// back, clearing and a run, a double click goes back to a step, and Export writes what
// quarzel-cli run --trace writes (or CSV) through the atomic writer.
#include <QCheckBox>
#include <QFile>
#include <QHeaderView>
#include <QPaintEngine>
#include <QPainter>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <sstream>

#include "app/traceprint.h"
#include "app/tracewin.h"
#include "cli/cli.h"
#include "controls/hexgrid.h"
#include "controls/showtext.h"
#include "core/history.h"
#include "core/memfile.h"
#include "gui/zoom.h"
#include "mainwinfixture.h"
#include "toplevel.h"

namespace {

// Counts to two, stores, outputs 'A' and halts after 12 steps.
const std::vector<int> Program = {0x20, 0x02, 0x21, 0x00, 0x22, 0x01, 0x51, 0x12, 0x31,
                                  0x80, 0xB1, 0x0E, 0xB0, 0x06, 0x2F, 0x41, 0xC0, 0x00};
const QStringList Lines = {
    "1\t00\t2002\tload  R0,02\tR0 00->02",     "2\t02\t2100\tload  R1,00\tR1 00->00",
    "3\t04\t2201\tload  R2,01\tR2 00->01",     "4\t06\t5112\taddi  R1,R1,R2\tR1 00->01",
    "5\t08\t3180\tstore R1,[80]\t[80] 00->01", "6\t0A\tB10E\tjmpEQ R1=R0,0E\t-",
    "7\t0C\tB006\tjmpEQ R0=R0,06\tPC 0E->06",  "8\t06\t5112\taddi  R1,R1,R2\tR1 01->02",
    "9\t08\t3180\tstore R1,[80]\t[80] 01->02", "10\t0A\tB10E\tjmpEQ R1=R0,0E\tPC 0C->0E",
    "11\t0E\t2F41\tload  RF,41\tRF 00->41",    "12\t10\tC000\thalt\thalt"};

QByteArray FileBytes(const QString& name) {
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A page device that keeps the texts drawn on it.
class TTextDevice final : public QPaintDevice {
public:
    QStringList Texts;

    QPaintEngine* paintEngine() const override { return &engine_; }

protected:
    int metric(PaintDeviceMetric metric) const override {
        switch (metric) {
            case PdmWidth:
                return 600;
            case PdmHeight:
                return 160;  // a few lines a page
            case PdmDpiX:
            case PdmDpiY:
            case PdmPhysicalDpiX:
            case PdmPhysicalDpiY:
                return 72;
            case PdmDepth:
                return 32;
            case PdmDevicePixelRatio:
                return 1;
            case PdmDevicePixelRatioScaled:
                return int(devicePixelRatioFScale());
            default:
                return 0;
        }
    }

private:
    class TEngine final : public QPaintEngine {
    public:
        explicit TEngine(QStringList& texts) : texts_(texts) {}
        bool begin(QPaintDevice*) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState&) override {}
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
        void drawTextItem(const QPointF&, const QTextItem& item) override { texts_ << item.text(); }
        Type type() const override { return User; }

    private:
        QStringList& texts_;
    };
    mutable TEngine engine_{Texts};
};

}  // namespace

class TTraceWinTest : public QObject, TMainWinFixture {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> files;
    QString FilePath(const QString& name) const { return files->filePath(name); }

    TTraceWin* Trace() { return OnlyTopLevelWindow<TTraceWin>("TraceWin"); }
    TTraceWin* OpenTrace() {
        w->MenuTrace->trigger();
        TTraceWin* trace = Trace();
        if (trace && QTest::qWaitForWindowExposed(trace)) trace->Refresh();
        return trace;
    }
    // The table's rows as the trace's lines.
    QStringList Rows() {
        QStringList rows;
        const QAbstractItemModel* model = Trace()->TraceTable->model();
        for (int r = 0; r < model->rowCount(); ++r) {
            QStringList columns;
            for (int c = 0; c < model->columnCount(); ++c)
                columns << model->index(r, c).data().toString();
            rows << columns.join(u'\t');
        }
        return rows;
    }
    void LoadProgram() {
        for (int a = 0; a < static_cast<int>(Program.size()); ++a)
            w->MainMemory->SetContents(a, Program[a]);
        w->SysRegs->SetContents(PcIndex, 0);
        w->ClearRegisters();
        w->SetMemModified(false);
    }
    void Steps(int n) {
        for (int i = 0; i < n; ++i) w->StepSimulator();
    }
    std::vector<int> State() const {
        std::vector<int> s;
        for (int a = 0; a < 256; ++a) s.push_back(w->MainMemory->GetContents(a));
        for (int r = 0; r < 16; ++r) s.push_back(w->Registers->GetContents(r));
        s.push_back(w->SysRegs->GetContents(PcIndex));
        s.push_back(w->SysRegs->GetContents(IrIndex));
        for (const std::string& line : w->OutputBox->Lines())
            s.insert(s.end(), line.begin(), line.end());
        return s;
    }
    void Export(const QString& name) {
        prompt->FileNames = {name};
        Trace()->ExportButton->click();
    }

private slots:
    void init() {
        files = std::make_unique<QTemporaryDir>();
        StartFresh(files->path());
        QVERIFY(ShowWindow());
        LoadProgram();
    }
    void cleanup() { CloseWindow(); }

    void OpensFromTheRunMenuWithTheTraceColumns() {
        TTraceWin* trace = OpenTrace();
        QVERIFY(trace && trace->isVisible());
        QCOMPARE(trace->windowTitle(), QString("Quarzel Trace"));
        const QAbstractItemModel* model = trace->TraceTable->model();
        QStringList names;
        for (int c = 0; c < model->columnCount(); ++c)
            names << model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
        QCOMPARE(names.join(u'\t'), QString("step\tpc\tword\tinstruction\tchange"));
        w->MenuTrace->trigger();  // a second time brings the same window up
        QCOMPARE(TopLevelWindows<TTraceWin>("TraceWin").size(), 1);

        const int pixels = trace->TraceTable->font().pixelSize();
        const int rowHeight = trace->TraceTable->verticalHeader()->defaultSectionSize();
        SetZoomPercent(200);
        QCOMPARE(trace->TraceTable->font().pixelSize(), 2 * pixels);
        QVERIFY(trace->TraceTable->verticalHeader()->defaultSectionSize() > 3 * rowHeight / 2);
        SetZoomPercent(100);
        QCOMPARE(trace->TraceTable->font().pixelSize(), pixels);
    }

    void RowsFollowStepsStepBackAndClearing() {
        OpenTrace();
        struct Case {
            const char* name;
            std::function<void()> act;
            int rows;  // the first rows of Lines the table then shows
        };
        const Case cases[] = {
            {"five steps", [&] { Steps(5); }, 5},
            {"step back", [&] { w->MenuStepBack->trigger(); }, 4},
            {"to the halt", [&] { Steps(8); }, 12},
            {"typing into memory", [&] { w->MainMemory->SetContents(0x90, 1); }, 0},
            {"stepping again after clearing", [&] { LoadProgram(), Steps(3); }, 3},
        };
        for (const Case& c : cases) {
            c.act();
            QTRY_COMPARE_WITH_TIMEOUT(Rows().size(), c.rows, 2000);
            QVERIFY2(Rows() == Lines.mid(0, c.rows), c.name);
        }
    }

    void FollowsARunToTheNewestRow() {
        // 00 load R1,01   02 addi R0,R0,R1   04 jmp 02: runs until Break
        const int loop[] = {0x21, 0x01, 0x50, 0x01, 0xB0, 0x02};
        for (int a = 0; a < 6; ++a) w->MainMemory->SetContents(a, loop[a]);
        w->SysRegs->SetContents(PcIndex, 0);
        TTraceWin* trace = OpenTrace();
        w->RunSimulator();
        QTRY_VERIFY(trace->TraceTable->model()->rowCount() > 1000);
        w->BreakSimulator();
        QTRY_COMPARE(trace->TraceTable->model()->rowCount(), int(w->Simulation().History().Size()));
        const QModelIndex last =
            trace->TraceTable->model()->index(int(w->Simulation().History().Size()) - 1, 0);
        QVERIFY(
            trace->TraceTable->viewport()->rect().intersects(trace->TraceTable->visualRect(last)));
    }

    void DoubleClickOrEnterGoesBackToTheStateAfterThatStep() {
        std::vector<std::vector<int>> after;
        for (int i = 0; i < 12; ++i) {
            w->StepSimulator();
            after.push_back(State());
        }
        TTraceWin* trace = OpenTrace();
        for (const int row : {10, 6, 0}) {
            QTableView* table = trace->TraceTable;
            const QRect cell = table->visualRect(table->model()->index(row, 3));
            // A double click is the second press of two on the same row; row 6 takes Enter.
            QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
            if (row == 6)
                QTest::keyClick(table, Qt::Key_Return);
            else
                QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell.center());
            QCOMPARE(w->Simulation().History().LastStep(), row + 1LL);
            QVERIFY(State() == after[row]);
            QCOMPARE(Rows(), Lines.mid(0, row + 1));
            QVERIFY(!w->MemModified());
        }
    }

    void TabsExportEqualsTheCommandLineTrace() {
        const QString program = FilePath("p.prg");
        TMemoryImage image{};
        std::copy(Program.begin(), Program.end(), image.begin());
        WriteMemoryFile(QFile::encodeName(program).toStdString(), image);
        const QString cliTrace = FilePath("cli.tsv");
        std::ostringstream out, err;
        QCOMPARE(
            RunCli({"run", program.toStdString(), "--trace", cliTrace.toStdString()}, out, err), 0);
        w->LoadMemoryFile(program);
        w->RunSimulator();
        QTRY_VERIFY(!w->Running());
        OpenTrace();
        for (const QString name : {"t.tsv", "t.txt"}) {
            Export(FilePath(name));
            QCOMPARE(FileBytes(FilePath(name)), FileBytes(cliTrace));
        }
        QVERIFY(prompt->Shown.isEmpty());
        QVERIFY(FileBytes(cliTrace).startsWith("step\tpc\tword\tinstruction\tchange\n1\t00\t"));
    }

    // The rows are asked for newest first and after steps taken back, where the command
    // line writes them forward.
    void ExplanationColumnEqualsTheCommandLines() {
        const QString program = FilePath("p.prg");
        TMemoryImage image{};
        std::copy(Program.begin(), Program.end(), image.begin());
        WriteMemoryFile(QFile::encodeName(program).toStdString(), image);
        std::ostringstream out, err;
        RunCli({"run", program.toStdString(), "--trace", "-", "--explain"}, out, err);
        QStringList cliLines = QString::fromStdString(out.str()).trimmed().split(u'\n');
        QCOMPARE(cliLines.takeFirst(), QString("step\tpc\tword\tinstruction\tchange\texplanation"));
        QCOMPARE(cliLines.size(), Lines.size());
        w->LoadMemoryFile(program);
        TTraceWin* trace = OpenTrace();
        trace->ExplainBox->setChecked(true);
        const QAbstractItemModel* model = trace->TraceTable->model();
        QCOMPARE(model->headerData(5, Qt::Horizontal).toString(), QString("explanation"));
        Steps(12);
        trace->Refresh();
        for (const int row : {11, 0, 6})
            QCOMPARE(model->index(row, 5).data().toString(), cliLines[row].section(u'\t', 5));
        w->MenuStepBack->trigger();
        w->MenuStepBack->trigger();
        trace->Refresh();
        QCOMPARE(Rows(), cliLines.mid(0, 10));
        trace->ExplainBox->setChecked(false);
        QCOMPARE(Rows(), Lines.mid(0, 10));
    }

    // The name's extension chooses the format, else the filter, whose extension a bare
    // name gets; CSV quotes the fields with commas.
    void CsvOrTabsByTheNameOrTheFilter() {
        Steps(2);
        OpenTrace();
        const QByteArray tabs =
            "step\tpc\tword\tinstruction\tchange\n"
            "1\t00\t2002\tload  R0,02\tR0 00->02\n"
            "2\t02\t2100\tload  R1,00\tR1 00->00\n";
        const QByteArray csv =
            "step,pc,word,instruction,change\r\n"
            "1,00,2002,\"load  R0,02\",R0 00->02\r\n"
            "2,02,2100,\"load  R1,00\",R1 00->00\r\n";
        const QStringList filters = {"Trace Files (*.tsv *.txt)", "CSV Files (*.csv)"};
        const struct {
            const char *typed, *written;
            int filter;
            const QByteArray& bytes;
        } cases[] = {{"a.csv", "a.csv", 0, csv},
                     {"b.TXT", "b.TXT", 1, tabs},
                     {"c", "c.csv", 1, csv},
                     {"d", "d.tsv", 0, tabs},
                     {"e.log", "e.log", 1, csv}};
        for (const auto& c : cases) {
            prompt->Filters = {filters[c.filter]};
            Export(FilePath(c.typed));
            QVERIFY2(FileBytes(FilePath(c.written)) == c.bytes, c.typed);
        }
        QCOMPARE(prompt->Requests.last().Filters, filters);
    }

    void AFailingExportShowsTheErrorAndWritesNothing() {
        Steps(3);
        OpenTrace();
        const QString missing = FilePath("no/such/folder/t.tsv");
        Export(missing);
        QCOMPARE(prompt->Shown, QStringList("Error|Cannot create file " + missing));
        QVERIFY(!QFile::exists(missing));
        QCOMPARE(QDir(files->path()).entryList(QDir::Files | QDir::Hidden).size(), 0);
    }

    void PrintsThroughThePrintDialog() {
        Steps(12);
        OpenTrace();
        Trace()->PrintButton->click();  // cancelled: PrintFile is empty
        prompt->PrintFile = FilePath("trace.pdf");
        Trace()->PrintButton->click();
        QCOMPARE(prompt->PrintDialogs, 2);
        QVERIFY(FileBytes(prompt->PrintFile).startsWith("%PDF"));
    }

    // Every page is headed by the program's name and the date, and numbered below.
    void PrintedPagesHaveTheirTitleDateAndNumber() {
        Steps(12);
        TTextDevice device;
        QPainter painter(&device);
        int pages = 1;
        PaintTrace(w->Simulation().History(), painter, {"sum.prg", "10 December 2026"},
                   [&pages] { ++pages; });
        painter.end();
        QVERIFY(pages > 1);
        QCOMPARE(device.Texts.count("sum.prg"), pages);
        QCOMPARE(device.Texts.count("10 December 2026"), pages);
        for (int p = 1; p <= pages; ++p)
            QVERIFY(device.Texts.contains(QString("Page %1 of %2").arg(p).arg(pages)));
        QVERIFY(device.Texts.contains("step"));
    }

    void ClosesByKeyAndWithTheMainWindow() {
        for (const QKeySequence& key : {QKeySequence(Qt::Key_Escape), QKeySequence("Ctrl+W")}) {
            TTraceWin* trace = OpenTrace();
            QVERIFY(QTest::qWaitForWindowActive(trace));
            QPointer<TTraceWin> alive(trace);
            QTest::keySequence(trace->TraceTable, key);
            QTRY_VERIFY2(alive.isNull(), qPrintable(key.toString()));  // closed and gone
        }
        QPointer<TTraceWin> trace(OpenTrace());
        w->close();
        QVERIFY(trace.isNull() || !trace->isVisible());
    }
};

QTEST_MAIN(TTraceWinTest)
#include "tracewin_test.moc"
