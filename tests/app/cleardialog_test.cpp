// The clear dialog: each combination of boxes clears exactly its part of the machine.
#include <QCheckBox>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

#include "app/cleardialog.h"
#include "core/simulation.h"

namespace {

// A simulation on plain stores that records what the dialog asked of it.
class TFakeTarget final : public TSimulationObserver {
public:
    TCellStore Memory{256}, Registers{16}, SysRegs{2};
    TSimulation Sim{{Memory, Registers, SysRegs}};
    QStringList Calls;
    int MemoryEvents = 0, RegisterEvents = 0, SysRegEvents = 0;

    TFakeTarget() {
        for (int i = 0; i < 256; ++i) Memory.SetContents(i, (i * 7 + 1) & 0xFF);
        for (int i = 0; i < 16; ++i) Registers.SetContents(i, 0x30 + i);
        SysRegs.SetContents(0, 0x42);
        SysRegs.SetContents(1, 0xC000);
        Sim.AddObserver(this);
    }
    ~TFakeTarget() override { Sim.RemoveObserver(this); }
    void MemoryChanged(const TCellChange&) override {
        ++MemoryEvents;
        if (!inBulk_) Calls << "memory write outside the bulk";
    }
    void RegisterChanged(const TCellChange&) override { ++RegisterEvents; }
    void SysRegChanged(const TCellChange&) override { ++SysRegEvents; }
    void BulkWrite(bool begins) override {
        if (begins) Calls << "bulk";
        inBulk_ = begins;
    }
    void MemoryCleared() override { Calls << "cleared"; }

    int NonZeroMemory() const {
        int n = 0;
        for (int i = 0; i < 256; ++i) n += Memory.GetContents(i) != 0;
        return n;
    }
    int NonZeroRegisters() const {
        int n = 0;
        for (int i = 0; i < 16; ++i) n += Registers.GetContents(i) != 0;
        return n;
    }

private:
    bool inBulk_ = false;
};

}  // namespace

class TClearDialogTest : public QObject {
    Q_OBJECT
private slots:
    void ClearsWhatIsChecked_data() {
        QTest::addColumn<bool>("mem");
        QTest::addColumn<bool>("reg");
        QTest::addColumn<bool>("pc");
        for (int mask = 0; mask < 8; ++mask) {
            const bool mem = mask & 1, reg = mask & 2, pc = mask & 4;
            QTest::newRow(
                qPrintable(QString("memory %1, registers %2, PC %3").arg(mem).arg(reg).arg(pc)))
                << mem << reg << pc;
        }
    }
    void ClearsWhatIsChecked() {
        QFETCH(bool, mem);
        QFETCH(bool, reg);
        QFETCH(bool, pc);
        TFakeTarget target;
        auto* dialog = new TClearDialog(target.Sim);
        dialog->MemChecked->setChecked(mem);
        dialog->RegChecked->setChecked(reg);
        dialog->PCChecked->setChecked(pc);
        QTest::mouseClick(dialog->OkButton, Qt::LeftButton);

        QCOMPARE(target.NonZeroMemory(), mem ? 0 : 255);  // cell 0x49 * 7 + 1 wraps to 0
        QCOMPARE(target.MemoryEvents, mem ? 256 : 0);
        QCOMPARE(target.Calls, (mem ? QStringList{"bulk", "cleared"} : QStringList{}));
        QCOMPARE(target.NonZeroRegisters(), reg ? 0 : 16);
        QCOMPARE(target.RegisterEvents, reg ? 16 : 0);
        QCOMPARE(target.SysRegs.GetContents(0), pc ? 0 : 0x42);
        QCOMPARE(target.SysRegs.GetContents(1), 0xC000);  // IR is never cleared
        QCOMPARE(target.SysRegEvents, pc ? 1 : 0);
    }

    void ZeroMemoryStillRaisesEveryChangeAndCountsAsCleared() {
        TFakeTarget target;
        for (int i = 0; i < 256; ++i) target.Memory.SetContents(i, 0);
        target.MemoryEvents = 0;
        target.Calls.clear();
        auto* dialog = new TClearDialog(target.Sim);
        QTest::mouseClick(dialog->OkButton, Qt::LeftButton);
        QCOMPARE(target.MemoryEvents, 256);
        QCOMPARE(target.Calls, (QStringList{"bulk", "cleared"}));
    }

    void StartsCheckedAndCancelChangesNothing_data() {
        QTest::addColumn<int>("how");  // 0 Cancel button, 1 Escape, 2 window closed
        QTest::newRow("Cancel") << 0;
        QTest::newRow("Escape") << 1;
        QTest::newRow("closed") << 2;
    }
    void StartsCheckedAndCancelChangesNothing() {
        QFETCH(int, how);
        TFakeTarget target;
        QPointer<TClearDialog> dialog = new TClearDialog(target.Sim);
        QVERIFY(dialog->MemChecked->isChecked());
        QVERIFY(dialog->RegChecked->isChecked());
        QVERIFY(dialog->PCChecked->isChecked());
        dialog->show();
        if (how == 0) QTest::mouseClick(dialog->CancelButton, Qt::LeftButton);
        if (how == 1) QTest::keyClick(dialog, Qt::Key_Escape);
        if (how == 2) dialog->close();
        QCOMPARE(target.NonZeroMemory(), 255);
        QCOMPARE(target.NonZeroRegisters(), 16);
        QCOMPARE(target.SysRegs.GetContents(0), 0x42);
        QVERIFY(target.Calls.isEmpty());
        QTRY_VERIFY(dialog.isNull());
    }

    void EnterPressesOk() {
        TFakeTarget target;
        auto* dialog = new TClearDialog(target.Sim);
        dialog->show();
        QTest::keyClick(dialog, Qt::Key_Return);
        QCOMPARE(target.NonZeroMemory(), 0);
    }
};

QTEST_MAIN(TClearDialogTest)
#include "cleardialog_test.moc"
