// Breakpoints and run speed in the real main window: the Run menu's entries, the margin
// of the disassembly list, Run stopping and going on, and the slow rates.
#include <QAction>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QtTest>
#include <memory>

#include "app/breakpointdelegate.h"
#include "app/mainwin.h"
#include "app/runcontrol.h"
#include "controls/hexgrid.h"
#include "gui/listfocus.h"
#include "gui/processvalues.h"
#include "mainwinfixture.h"

namespace {

// 00: load R1,01   02: addi R2,R2,R1   04: jmp 02
constexpr int Loop[] = {0x21, 0x01, 0x52, 0x21, 0xB0, 0x02};

}  // namespace

class TBreakpointsTest : public QObject, TMainWinFixture {
    Q_OBJECT

    int Pc() const { return w->SysRegs->GetContents(0); }
    int Reg(int r) const { return w->Registers->GetContents(r); }
    void SetPc(int pc) { w->SysRegs->SetContents(0, pc); }
    void Load(int address, std::initializer_list<int> bytes) {
        for (int b : bytes) w->MainMemory->SetContents(address++, b);
    }
    void LoadLoop() {
        for (int a = 0; a < 6; ++a) w->MainMemory->SetContents(a, Loop[a]);
    }
    void ToggleLine(int line) {
        w->DisasmWin->setCurrentRow(line);
        w->MenuToggleBreakpoint->trigger();
    }
    QPoint LinePoint(int line, int x) const {
        return {x, w->DisasmWin->visualItemRect(w->DisasmWin->item(line)).center().y()};
    }
    // The dot line shows in its margin: "full", "half" (its right half) or "none".
    QString Dot(int line) const {
        const QImage image = w->DisasmWin->viewport()->grab().toImage();
        const QPoint centre = LinePoint(line, TBreakpointDelegate::MarginWidth / 2);
        const qreal ratio = image.devicePixelRatio();
        const auto red = [&](int dx) {
            return image.pixelColor(QPoint(int((centre.x() + dx) * ratio),
                                           int(centre.y() * ratio))) == QColor(0xFF, 0, 0);
        };
        return red(-2) ? QString("full") : red(2) ? QString("half") : QString("none");
    }
    bool DotShown(int line) const { return Dot(line) == "full"; }
    void RunToEnd() {
        w->RunButton->click();
        QTRY_VERIFY(!w->Running());
    }
    void ExpectStoppedAt(int address) {
        QCOMPARE(w->PanelText(2),
                 "Breakpoint at " + QString("%1").arg(address, 2, 16, QChar('0')).toUpper());
        QCOMPARE(w->StatusColor(), QColor(0xFF, 0, 0));
        QCOMPARE(Pc(), address);
        QVERIFY(w->RunButton->isEnabled());
        QVERIFY(!w->BreakButton->isEnabled());
    }

private slots:
    void init() {
        StartFresh();
        QVERIFY(ShowWindow());
    }
    void cleanup() { CloseWindow(); }

    void RunMenuEntries() {
        QCOMPARE(w->MenuToggleBreakpoint->text(), QString("Toggle Brea&kpoint"));
        QCOMPARE(w->MenuToggleBreakpoint->shortcut(), QKeySequence("F5"));
        QCOMPARE(w->MenuRemoveAllBreakpoints->text(), QString("Remove All Breakpoi&nts"));
        QCOMPARE(w->SpeedMenu->title(), QString("Sp&eed"));
        QStringList captions;
        for (const QAction* a : w->SpeedMenu->actions()) captions << a->text();
        QCOMPARE(captions, (QStringList{"&Full speed", "1000 per second", "100 per second",
                                        "10 per second", "2 per second"}));
    }

    void StopsAtBreakpointAndGoesOnFromIt() {
        LoadLoop();
        ToggleLine(2);  // address 04, the jump
        QVERIFY(w->Simulation().Breakpoints().Has(4));
        RunToEnd();
        ExpectStoppedAt(4);
        QCOMPARE(Reg(2), 1);
        RunToEnd();  // the jump at the breakpoint runs, then once round the loop
        ExpectStoppedAt(4);
        QCOMPARE(Reg(2), 2);
        w->StepButton->click();  // Step ignores breakpoints
        QCOMPARE(Pc(), 2);
        w->StepButton->click();
        w->StepButton->click();
        QCOMPARE(Pc(), 2);
        QCOMPARE(Reg(2), 3);
    }

    void OddBreakpointWhilePcIsEven() {
        Load(0x00, {0xB0, 0x05});  // jmp 05
        Load(0x05, {0xC0, 0x00});  // halt
        SetPc(1);
        ToggleLine(2);  // with PC odd, line 2 is address 05
        QVERIFY(w->Simulation().Breakpoints().Has(5));
        QVERIFY(DotShown(2));
        SetPc(0);  // line 2 is now address 04, holding 05 as its second byte: half a dot
        QCOMPARE(Dot(2), QString("half"));
        QVERIFY(w->DisasmWin->item(2)
                    ->data(Qt::AccessibleTextRole)
                    .toString()
                    .endsWith(", breakpoint"));
        QVERIFY(
            !w->DisasmWin->item(1)->data(Qt::AccessibleTextRole).toString().contains("breakpoint"));
        QVERIFY(w->Simulation().Breakpoints().Has(5));
        QVERIFY(!w->Simulation().Breakpoints().Has(4));
        RunToEnd();
        ExpectStoppedAt(5);
        QVERIFY(DotShown(2));  // PC odd again: the list shows the odd addresses
        RunToEnd();
        QCOMPARE(w->PanelText(2), QString("Halted"));
    }

    void MarginClickTogglesAndKeepsTheLineText() {
        LoadLoop();
        QListWidgetItem* item = w->DisasmWin->item(1);
        const QString text = item->text();
        const QVariant accessible = item->data(Qt::AccessibleTextRole);
        QWidget* viewport = w->DisasmWin->viewport();
        QTest::mouseClick(viewport, Qt::LeftButton, {}, LinePoint(1, 60));  // the text
        QVERIFY(w->Simulation().Breakpoints().Empty());
        QTest::mouseClick(viewport, Qt::LeftButton, {}, LinePoint(1, 3));  // the margin
        QVERIFY(w->Simulation().Breakpoints().Has(2));
        QVERIFY(DotShown(1));
        QVERIFY(!DotShown(0));
        QCOMPARE(item->text(), text);
        QCOMPARE(item->data(Qt::AccessibleTextRole).toString(),
                 accessible.toString() + ", breakpoint");
        QTest::mouseClick(viewport, Qt::LeftButton, {}, LinePoint(1, 3));
        QVERIFY(w->Simulation().Breakpoints().Empty());
        QVERIFY(!DotShown(1));
    }

    void BreakpointsOutliveEditsAndRemoveAllEndsThem() {
        LoadLoop();
        ToggleLine(1);
        ToggleLine(3);
        Load(0x02, {0x53, 0x21});  // edited memory and a cleared register keep them
        w->ClearMainMemory();
        QVERIFY(w->Simulation().Breakpoints().Has(2));
        QVERIFY(w->Simulation().Breakpoints().Has(6));
        w->MenuRemoveAllBreakpoints->trigger();
        QVERIFY(w->Simulation().Breakpoints().Empty());
        QVERIFY(!DotShown(1));
        QCOMPARE(w->PanelText(2), QString("2 breakpoints removed"));
    }

    void SpeedEntriesFollowTheSettings_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("checked");
        QTest::addColumn<int>("rate");
        QTest::newRow("unset") << QString() << 0 << 0;
        QTest::newRow("1000") << "1000" << 1 << 1000;
        QTest::newRow("2") << "2" << 4 << 2;
        QTest::newRow("not an entry's rate") << "7" << 0 << 0;
        QTest::newRow("not a number") << "fast" << 0 << 0;
    }
    void SpeedEntriesFollowTheSettings() {
        QFETCH(QString, stored);
        QFETCH(int, checked);
        QFETCH(int, rate);
        ProcessValues().RunSpeed = stored;
        emit w->findChild<QMenu*>("RunMenu")->aboutToShow();  // the menu reads the settings
        const QList<QAction*> entries = w->SpeedMenu->actions();
        for (int i = 0; i < entries.size(); ++i) QCOMPARE(entries[i]->isChecked(), i == checked);
        QCOMPARE(w->RunControl().Rate(), rate);
        entries[3]->trigger();
        QCOMPARE(ProcessValues().RunSpeed, QString("10"));
        QCOMPARE(w->RunControl().Rate(), 10);
        QVERIFY(entries[3]->isChecked());
        QVERIFY(!entries[checked == 3 ? 0 : checked]->isChecked());
    }

    void SlowRunShowsEachInstructionAndBreakActsAtOnce() {
        LoadLoop();
        w->SpeedActions[4]->trigger();  // 2 per second
        w->RunButton->click();
        QTRY_COMPARE(Pc(), 2);  // the first instruction runs at once
        QVERIFY(w->Running());
        QCOMPARE(SelectedRow(*w->DisasmWin), 1);  // the list followed PC
        const long long executed = w->RunControl().Executed();
        w->BreakButton->click();
        QVERIFY(!w->Running());
        QCOMPARE(w->PanelText(2), QString("Ready"));
        QTest::qWait(700);  // longer than one instruction's time
        QCOMPARE(w->RunControl().Executed(), executed);
    }

    void SlowRunStopsAtBreakpoint() {
        LoadLoop();
        ToggleLine(1);
        w->SpeedActions[1]->trigger();  // 1000 per second
        RunToEnd();
        ExpectStoppedAt(2);
        QCOMPARE(Reg(1), 1);
        QCOMPARE(SelectedRow(*w->DisasmWin), 1);
    }
};

QTEST_MAIN(TBreakpointsTest)
#include "breakpoints_test.moc"
