// Assembling without errors: the question about unsaved memory, the image written into
// every memory cell, the memory mark cleared and the program counter written 2, then 0.

#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QtTest>

#include "core/simulation.h"
#include "editor/asmedit.h"
#include "testprompt.h"

namespace {

// A simulation on plain stores whose front end records what assembling did to it.
class TFakeOwner final : public TSimulationObserver, public TMemoryDocument {
public:
    TCellStore Memory{256};
    TCellStore Registers{16};
    TCellStore SysRegs{2};
    TSimulation Sim{{Memory, Registers, SysRegs}};
    bool Modified = false;
    bool SaveSucceeds = true;
    int Saves = 0;
    int Activations = 0;
    int WritesOutsideBulk = 0;
    QList<int> PcWrites;

    TFakeOwner() {
        Sim.AddObserver(this);
        Sim.SetDocument(this);
    }
    ~TFakeOwner() override { Sim.RemoveObserver(this); }
    void MemoryChanged(const TCellChange&) override {
        if (!inBulk_) ++WritesOutsideBulk;
        Modified = true;  // as the owner's change handler marks any memory edit
    }
    void SysRegChanged(const TCellChange& c) override {
        if (c.Index == 0) PcWrites << c.New;
    }
    void BulkWrite(bool begins) override { inBulk_ = begins; }
    void ImageLoaded() override { Modified = false; }
    bool MemModified() const override { return Modified; }
    void SaveMemory() override {
        ++Saves;
        if (SaveSucceeds) Modified = false;
    }
    void Activate() override { ++Activations; }

private:
    bool inBulk_ = false;
};

const QString OverwriteQuestion =
    QStringLiteral("Save?|Memory Changed.\nDo you want to save before you overwrite the memory?");

}  // namespace

class TAsmAssembleTest : public QObject {
    Q_OBJECT
private slots:
    void MemoryQuestion_data();
    void MemoryQuestion();
    void ImageFillsEveryCell_data();
    void ImageFillsEveryCell();
    void ErrorsLeaveTheMachineAlone();
    void WithoutOwnerNothingIsWritten();
};

void TAsmAssembleTest::MemoryQuestion_data() {
    QTest::addColumn<bool>("modified");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("saveSucceeds");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<int>("saves");
    QTest::addColumn<bool>("overwritten");
    QTest::newRow("memory unmodified")
        << false << int(TAnswer::Cancel) << true << false << 0 << true;
    QTest::newRow("cancel") << true << int(TAnswer::Cancel) << true << true << 0 << false;
    QTest::newRow("no") << true << int(TAnswer::No) << true << true << 0 << true;
    QTest::newRow("yes, saved") << true << int(TAnswer::Yes) << true << true << 1 << true;
    QTest::newRow("yes, save cancelled")
        << true << int(TAnswer::Yes) << false << true << 1 << false;
}

void TAsmAssembleTest::MemoryQuestion() {
    QFETCH(bool, modified);
    QFETCH(int, answer);
    QFETCH(bool, saveSucceeds);
    QFETCH(bool, overwritten);
    TTestPrompt prompt;
    TFakeOwner owner;
    owner.Memory.SetContents(0x40, 0x77);
    owner.SysRegs.SetContents(0, 0x30);
    owner.PcWrites.clear();
    owner.Modified = modified;
    owner.SaveSucceeds = saveSucceeds;
    prompt.Answers.push_back(TAnswer(answer));
    TAssemblerEditor editor(&owner.Sim);
    editor.TextEditor->setPlainText(QStringLiteral("halt"));
    editor.ErrorsMenu->setEnabled(true);  // as left by an earlier run with errors
    editor.AssembleButtonClick();
    QTEST(prompt.Shown.contains(OverwriteQuestion), "asked");
    QTEST(owner.Saves, "saves");
    QCOMPARE(owner.Memory.GetContents(0) == 0xC0, overwritten);
    QCOMPARE(owner.Memory.GetContents(0x40), overwritten ? 0 : 0x77);
    QCOMPARE(owner.PcWrites, overwritten ? (QList<int>{2, 0}) : (QList<int>{}));
    QCOMPARE(owner.SysRegs.GetContents(0), overwritten ? 0 : 0x30);
    QCOMPARE(owner.Activations, overwritten ? 1 : 0);
    if (overwritten) QVERIFY(!owner.Modified);
    QVERIFY(!editor.ErrorsMenu->isEnabled());
    QCOMPARE(editor.ErrorBox->count(), 0);
}

void TAsmAssembleTest::ImageFillsEveryCell_data() {
    QTest::addColumn<QString>("source");
    QTest::addColumn<QList<int>>("image");  // address, byte pairs; every other cell 00
    QTest::newRow("empty text") << "" << QList<int>{};
    QTest::newRow("comments only") << "; nothing\n\n" << QList<int>{};
    QTest::newRow("program at 10h")
        << "org 10h\nstart: load R0,0\nload R1,[data]\njmpEQ R1=R0,start\nhalt\ndata: db 5,'A'"
        << QList<int>{0x10, 0x20, 0x11, 0x00, 0x12, 0x11, 0x13, 0x18, 0x14, 0xB1,
                      0x15, 0x10, 0x16, 0xC0, 0x17, 0x00, 0x18, 0x05, 0x19, 0x41};
    QTest::newRow("code page 437 string")
        << "db \"Grüße\"" << QList<int>{0, 0x47, 1, 0x72, 2, 0x81, 3, 0xE1, 4, 0x65};
}

void TAsmAssembleTest::ImageFillsEveryCell() {
    QFETCH(QString, source);
    QFETCH(QList<int>, image);
    TTestPrompt prompt;
    TFakeOwner owner;
    for (int a = 0; a < 256; ++a) owner.Memory.SetContents(a, 0xEE);
    owner.Modified = false;
    TAssemblerEditor editor(&owner.Sim);
    editor.TextEditor->setPlainText(source);
    editor.AssembleButtonClick();
    QCOMPARE(editor.ErrorBox->count(), 0);
    QList<int> expected(256, 0);
    for (int i = 0; i < image.size(); i += 2) expected[image[i]] = image[i + 1];
    QList<int> actual;
    for (int a = 0; a < 256; ++a) actual << owner.Memory.GetContents(a);
    QCOMPARE(actual, expected);
    QCOMPARE(owner.WritesOutsideBulk, 256);  // the 0xEE fill above; none by assembling
    QVERIFY(!owner.Modified);
}

void TAsmAssembleTest::ErrorsLeaveTheMachineAlone() {
    TTestPrompt prompt;
    TFakeOwner owner;
    owner.Memory.SetContents(0, 0x12);
    owner.SysRegs.SetContents(0, 0x44);
    owner.PcWrites.clear();
    owner.Modified = true;
    TAssemblerEditor editor(&owner.Sim);
    editor.TextEditor->setPlainText(QStringLiteral("halt\nhalt 1"));
    editor.AssembleButtonClick();
    QCOMPARE(editor.ErrorBox->count(), 1);
    QVERIFY(prompt.Shown.isEmpty());
    QCOMPARE(owner.Memory.GetContents(0), 0x12);
    QVERIFY(owner.PcWrites.isEmpty());
    QVERIFY(owner.Modified);
    QVERIFY(editor.ErrorsMenu->isEnabled());
}

void TAsmAssembleTest::WithoutOwnerNothingIsWritten() {
    TTestPrompt prompt;
    TAssemblerEditor editor;
    editor.TextEditor->setPlainText(QStringLiteral("halt"));
    editor.ErrorsMenu->setEnabled(true);
    editor.AssembleButtonClick();
    QVERIFY(prompt.Shown.isEmpty());
    QVERIFY(!editor.ErrorsMenu->isEnabled());
}

QTEST_MAIN(TAsmAssembleTest)
#include "asmassemble_test.moc"
