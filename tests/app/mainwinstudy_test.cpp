// View > Explain and Run > Predict Mode in the main window.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "app/explainpanel.h"
#include "app/mainwin.h"
#include "app/predictpanel.h"
#include "app/startup.h"
#include "controls/hexgrid.h"
#include "core/memfile.h"
#include "inisettings.h"
#include "mainwinfixture.h"

class TMainWinStudyTest : public QObject, TMainWinFixture {
    Q_OBJECT

    // 00 load R1,05   02 addi R2,R1,R1   04 jmpEQ R2=R0,00   06 halt
    void LoadProgram() {
        TMemoryImage image{};
        const int bytes[] = {0x21, 0x05, 0x52, 0x11, 0xB2, 0x00, 0xC0, 0x00};
        std::copy(std::begin(bytes), std::end(bytes), image.begin());
        w->Simulation().LoadImage(TProgramLoad(image));
    }
    QString Next() const { return w->ExplainPanel->ExplainNext->text(); }
    QString Last() const { return w->ExplainPanel->ExplainLast->text(); }
    void Predict(const char* text) {
        w->PredictPanel->PredictEdit->setText(text);
        QTest::keyClick(w->PredictPanel->PredictEdit, Qt::Key_Return);
    }
    QString Score() const { return w->PredictPanel->PredictScore->text(); }
    QString Result() const { return w->PredictPanel->PredictResult->text(); }
    int Pc() const { return w->SysRegs->GetContents(PcIndex); }

private slots:
    void init() {
        StartFresh();
        QVERIFY(ShowWindow());
    }
    void cleanup() { CloseWindow(); }

    void BothAreOffByDefaultAndExplainIsKeptInTheSettingsOnlyWhenOn() {
        QVERIFY(!w->ExplainPanel->isVisible() && !w->PredictPanel->isVisible());
        QVERIFY(w->RunButton->isEnabled() && w->MenuRun->isEnabled());
        const int height = w->height();
        QTemporaryDir folder;
        const TStartupPlatform platform = IniSettingsPlatform(folder.filePath("Vexlorn.ini"));
        for (const bool on : {true, false}) {
            if (w->MenuExplain->isChecked() != on) w->MenuExplain->trigger();
            QCOMPARE(w->ExplainPanel->isVisible(), on);
            QCOMPARE(w->height() > height, on);  // the panel gets its own room
            QVERIFY(ShutDown(ProcessValues(), platform));
            TProcessValues values;
            values.Explain = !on;
            StartUp(values, platform);
            QCOMPARE(values.Explain, on);
        }
    }

    void ExplainFollowsStepsEditsAndStepBack() {
        LoadProgram();
        w->MenuExplain->trigger();
        QCOMPARE(Next(), QString("Next: R1 := 05 (the number itself, not memory[05])"));
        QCOMPARE(Last(), QString("Last: -"));
        w->StepSimulator();
        w->StepSimulator();
        QTRY_COMPARE(Next(), QString("Next: R2 (0A) = R0 (00)? no: go on at 06"));
        QCOMPARE(Last(), QString("Last: R2 := R1 + R1 = 05 + 05 = 0A (5 + 5 = 10)"));
        w->Registers->SetContents(0, 0x0A);  // a user's edit: the values change, the history goes
        QTRY_COMPARE(Next(), QString("Next: R2 (0A) = R0 (0A)? yes: jump to 00"));
        QCOMPARE(Last(), QString("Last: -"));
        w->StepSimulator();
        w->MenuStepBack->trigger();
        QTRY_COMPARE(Last(), QString("Last: -"));
        QCOMPARE(Next(), QString("Next: R2 (0A) = R0 (0A)? yes: jump to 00"));
    }

    void PredictModeJudgesEachStepAndKeepsScore() {
        LoadProgram();
        w->MenuPredict->trigger();
        QVERIFY(w->PredictPanel->isVisible());
        QVERIFY(!w->RunButton->isEnabled() && !w->MenuRun->isEnabled());
        w->RunSimulator();  // refused: nothing would be left to predict
        QCOMPARE(Pc(), 0);

        Predict("r1 5");
        QCOMPARE(Score(), QString("1 of 1 right"));
        QCOMPARE(Result(), QString("Right. R1 := 05 (the number itself, not memory[05])"));
        QVERIFY(w->PredictPanel->PredictEdit->text().isEmpty());
        Predict("R2 0F");
        QCOMPARE(Score(), QString("1 of 2 right"));
        QVERIFY(Result().startsWith("Wrong: you said R2 0F, the step did R2 0A. R2 := R1"));

        Predict("nonsense");  // no step without a prediction
        QCOMPARE(Pc(), 4);
        QCOMPARE(Score(), QString("1 of 2 right"));
        QVERIFY(Result().startsWith("Type what the step will change"));
        QCOMPARE(w->PredictPanel->PredictEdit->text(), QString("nonsense"));

        w->MenuStepBack->trigger();  // goes back without touching the score
        QCOMPARE(Pc(), 2);
        QCOMPARE(Score(), QString("1 of 2 right"));
        Predict("R2 0A");
        Predict("-");
        Predict("halt");
        QCOMPARE(Score(), QString("4 of 5 right"));

        LoadProgram();  // another program starts the score afresh
        QCOMPARE(Score(), QString("0 of 0 right"));
        w->MenuPredict->trigger();
        QVERIFY(!w->PredictPanel->isVisible());
        QVERIFY(w->RunButton->isEnabled() && w->MenuRun->isEnabled());
        w->StepSimulator();  // a plain step again
        QCOMPARE(Pc(), 2);
    }

    void PredictModeStopsARunAndKeepsRunDisabledAfterIt() {
        TMemoryImage loop{};
        loop[0] = 0xB0;  // jmp 00
        w->Simulation().LoadImage(TProgramLoad(loop));
        w->RunSimulator();
        QVERIFY(w->Running());
        w->MenuPredict->trigger();
        QVERIFY(!w->Running());
        QVERIFY(!w->RunButton->isEnabled());
        QVERIFY(!w->BreakButton->isEnabled());
    }
};

QTEST_MAIN(TMainWinStudyTest)
#include "mainwinstudy_test.moc"
