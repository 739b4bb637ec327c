// The run control on a simulation of plain stores, without a window: runs in slices that
// end where the simulation says, Break, set rates, running back, and going away mid-run.
#include <QtTest>
#include <memory>

#include "app/runcontrol.h"
#include "core/machine.h"

namespace {

// 00: load R1,01   02: addi R2,R2,R1   04: jmp 02   06: halt
constexpr int Loop[] = {0x21, 0x01, 0x52, 0x21, 0xB0, 0x02, 0xC0, 0x00};
// 00: load R1,01   02: addi R2,R2,R1   04: jmpEQ R2=R0,08   06: jmp 02   08: halt
constexpr int Count256[] = {0x21, 0x01, 0x52, 0x21, 0xB2, 0x08, 0xB0, 0x02, 0xC0, 0x00};

struct TSeen final : TSimulationObserver {
    int Frozen = 0;
    QList<TRunOutcome> Stops;
    void ViewsFrozen(bool frozen) override { Frozen += frozen; }
    void Stopped(TRunOutcome outcome) override { Stops << outcome; }
};

}  // namespace

class TRunControlTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TMachine> m;
    std::unique_ptr<TRunControl> run;
    TSeen seen;

    TSimulation& Sim() { return m->Simulation; }
    int Pc() const { return m->SysRegs.GetContents(PcIndex); }

private slots:
    void init() {
        m = std::make_unique<TMachine>(THistory::DefaultCapacity);
        for (int a = 0; a < int(std::size(Loop)); ++a) m->MainMemory.SetContents(a, Loop[a]);
        seen = {};
        Sim().AddObserver(&seen);
        run = std::make_unique<TRunControl>(Sim());
    }
    void cleanup() {
        run.reset();
        Sim().RemoveObserver(&seen);
        m.reset();
    }

    void FullSpeedRunsFrozenSlicesUntilTheProgramStops() {
        for (int a = 0; a < int(std::size(Count256)); ++a)
            m->MainMemory.SetContents(a, Count256[a]);
        run->Start();
        QVERIFY(run->Running());
        run->Start();  // no effect while running
        QTRY_VERIFY(!run->Running());
        QCOMPARE(seen.Stops, QList<TRunOutcome>{TRunOutcome::Halted});
        QVERIFY(seen.Frozen > 0);
        QVERIFY(!Sim().ViewsFrozen());
        QCOMPARE(run->Executed(), 1 + 255 * 3 + 2 + 1LL);  // load, 255 rounds, the last, halt
        QCOMPARE(Pc(), 0x0A);
    }

    void BreakEndsTheRunBetweenTwoInstructions() {
        run->Start();
        QTRY_VERIFY(run->Executed() > 10000);
        run->Stop();
        QVERIFY(!run->Running());
        QCOMPARE(seen.Stops, QList<TRunOutcome>{TRunOutcome::Stopped});
        const long long executed = run->Executed();
        QCoreApplication::processEvents();  // no slice is left waiting
        QCOMPARE(run->Executed(), executed);
    }

    void ASetRateNeverFreezesAndStopsAtBreakpoints() {
        Sim().ToggleBreakpoint(0x04);
        run->SetRate(1000);
        run->Start();
        QTRY_VERIFY(!run->Running());
        QCOMPARE(seen.Stops, QList<TRunOutcome>{TRunOutcome::Breakpoint});
        QCOMPARE(Pc(), 4);
        QCOMPARE(seen.Frozen, 0);
        QCOMPARE(run->Rate(), 1000);
    }

    void RunBackGoesToTheStartOfTheHistory() {
        for (int i = 0; i < 1000; ++i) Sim().Step();
        run->StartBack();
        QVERIFY(run->RunningBack());
        QTRY_VERIFY(!run->Running());
        QCOMPARE(seen.Stops, QList<TRunOutcome>{TRunOutcome::HistoryStart});
        QCOMPARE(Pc(), 0);
        QCOMPARE(run->Executed(), 1000LL);
    }

    void GoingAwayMidRunStopsIt() {
        run->Start();
        QTRY_VERIFY(run->Executed() > 0);
        run.reset();
        QVERIFY(!Sim().Running());
        QCOMPARE(seen.Stops, QList<TRunOutcome>{TRunOutcome::Stopped});
    }
};

QTEST_MAIN(TRunControlTest)
#include "runcontrol_test.moc"
