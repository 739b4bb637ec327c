// The assemble-instruction dialog: decoding a word into the boxes, re-encoding after a
// choice, and writing the two bytes back.
#include <QAbstractItemView>
#include <QComboBox>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

#include "app/assembler.h"

namespace {

void Choose(QComboBox* box, int index) {
    box->setCurrentIndex(index);
    emit box->activated(index);
}

struct TShown {
    QString Opcode, Op1, Op2, Op3;
    bool Enabled1, Enabled2, Enabled3;
};

TShown Shown(const TAssembleDialog& d) {
    return {d.opcode->currentText(), d.op1->currentText(), d.op2->currentText(),
            d.op3->currentText(),    d.op1->isEnabled(),   d.op2->isEnabled(),
            d.op3->isEnabled()};
}

}  // namespace

class TAssembleDialogTest : public QObject {
    Q_OBJECT
private slots:
    void ShowsEveryLayoutAndOkWritesItBack_data() {
        QTest::addColumn<int>("word");
        QTest::addColumn<QStringList>("shown");  // opcode, op1, op2, op3
        QTest::addColumn<QString>("enabled");    // op1..op3
        QTest::newRow("invalid") << 0x0123 << QStringList{"invalid", "N/A", "N/A", "N/A"} << "---";
        QTest::newRow("direct load")
            << 0x13FF << QStringList{"direct load", "R3", "[FF]", "N/A"} << "++-";
        QTest::newRow("immediate load")
            << 0x258A << QStringList{"immediate load", "R5", "8A", "N/A"} << "++-";
        QTest::newRow("direct store")
            << 0x3E00 << QStringList{"direct store", "RE", "[00]", "N/A"} << "++-";
        QTest::newRow("move") << 0x4021 << QStringList{"move", "R1", "R2", "N/A"} << "++-";
        QTest::newRow("move, R nibble kept")
            << 0x4F21 << QStringList{"move", "R1", "R2", "N/A"} << "++-";
        QTest::newRow("addi") << 0x567A << QStringList{"addi", "R6", "R7", "RA"} << "+++";
        QTest::newRow("addf") << 0x6123 << QStringList{"addf", "R1", "R2", "R3"} << "+++";
        QTest::newRow("xor") << 0x9FED << QStringList{"xor", "RF", "RE", "RD"} << "+++";
        QTest::newRow("ror") << 0xAC03 << QStringList{"ror", "RC", "3", "N/A"} << "++-";
        QTest::newRow("ror with X set") << 0xA15B << QStringList{"ror", "R1", "B", "N/A"} << "++-";
        QTest::newRow("jmpEQ") << 0xB020 << QStringList{"jmpEQ", "R0", "20", "N/A"} << "++-";
        QTest::newRow("halt") << 0xC000 << QStringList{"halt", "N/A", "N/A", "N/A"} << "---";
        QTest::newRow("halt with operands")
            << 0xC123 << QStringList{"halt", "N/A", "N/A", "N/A"} << "---";
        QTest::newRow("indirect load")
            << 0xD052 << QStringList{"indirect load", "R5", "[R2]", "N/A"} << "++-";
        QTest::newRow("indirect store")
            << 0xE0FA << QStringList{"indirect store", "RF", "[RA]", "N/A"} << "++-";
        QTest::newRow("jmpLE") << 0xF37F << QStringList{"jmpLE", "R3", "7F", "N/A"} << "++-";
    }
    void ShowsEveryLayoutAndOkWritesItBack() {
        QFETCH(int, word);
        QFETCH(QStringList, shown);
        QFETCH(QString, enabled);
        TCellStore memory(256);
        memory.SetContents(0x40, word >> 8);
        memory.SetContents(0x41, word & 0xFF);
        auto* dialog = new TAssembleDialog(memory);
        dialog->SetAddress(0x40);
        const TShown s = Shown(*dialog);
        QCOMPARE((QStringList{s.Opcode, s.Op1, s.Op2, s.Op3}), shown);
        const QString flags =
            QString(s.Enabled1 ? "+" : "-") + (s.Enabled2 ? "+" : "-") + (s.Enabled3 ? "+" : "-");
        QCOMPARE(flags, enabled);
        QCOMPARE(dialog->Instruction(), word);

        int writes = 0;
        memory.OnCellChanged = [&](CellStore*, int, int, int) { ++writes; };
        QTest::mouseClick(dialog->OkButton, Qt::LeftButton);
        QCOMPARE(writes, 2);
        QCOMPARE(memory.GetContents(0x40) * 256 + memory.GetContents(0x41), word);
    }

    void ChoicesReencodeTheWord_data() {
        QTest::addColumn<int>("word");
        QTest::addColumn<int>("opcode");           // -1: left as it is
        QTest::addColumn<QList<int>>("operands");  // op1..op3 choices, -1: left
        QTest::addColumn<int>("expected");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("halt to invalid")
            << 0xC123 << 0 << QList<int>{} << 0x0000 << QStringList{"N/A", "N/A", "N/A"};
        QTest::newRow("move to addi keeps the nibbles")
            << 0x4021 << 5 << QList<int>{} << 0x5021 << QStringList{"R0", "R2", "R1"};
        QTest::newRow("indirect load R5,[R2]")
            << 0x0000 << 0xD << QList<int>{5, 2} << 0xD052 << QStringList{"R5", "[R2]", "N/A"};
        QTest::newRow("ror RC by 3")
            << 0x0000 << 0xA << QList<int>{12, 3} << 0xAC03 << QStringList{"RC", "3", "N/A"};
        QTest::newRow("ror drops the X nibble")
            << 0xA15B << -1 << QList<int>{-1, 9} << 0xA109 << QStringList{"R1", "9", "N/A"};
        QTest::newRow("immediate value")
            << 0x258A << -1 << QList<int>{-1, 0x10} << 0x2510 << QStringList{"R5", "10", "N/A"};
        QTest::newRow("move destination")
            << 0x4021 << -1 << QList<int>{7} << 0x4027 << QStringList{"R7", "R2", "N/A"};
        QTest::newRow("move clears the R nibble")
            << 0x4F21 << -1 << QList<int>{1} << 0x4021 << QStringList{"R1", "R2", "N/A"};
        QTest::newRow("addi third register")
            << 0x5123 << -1 << QList<int>{-1, -1, 0xF} << 0x512F << QStringList{"R1", "R2", "RF"};
        QTest::newRow("halt clears the operands")
            << 0x258A << 0xC << QList<int>{} << 0xC000 << QStringList{"N/A", "N/A", "N/A"};
        QTest::newRow("store to direct store")
            << 0xE0FA << 3 << QList<int>{} << 0x30FA << QStringList{"R0", "[FA]", "N/A"};
    }
    void ChoicesReencodeTheWord() {
        QFETCH(int, word);
        QFETCH(int, opcode);
        QFETCH(QList<int>, operands);
        QFETCH(int, expected);
        QFETCH(QStringList, shown);
        TCellStore memory(256);
        memory.SetContents(0x10, word >> 8);
        memory.SetContents(0x11, word & 0xFF);
        auto* dialog = new TAssembleDialog(memory);
        dialog->SetAddress(0x10);
        if (opcode >= 0) Choose(dialog->opcode, opcode);
        QComboBox* const boxes[3] = {dialog->op1, dialog->op2, dialog->op3};
        for (int i = 0; i < operands.size(); ++i)
            if (operands[i] >= 0) Choose(boxes[i], operands[i]);
        QCOMPARE(dialog->Instruction(), expected);
        const TShown s = Shown(*dialog);
        QCOMPARE((QStringList{s.Op1, s.Op2, s.Op3}), shown);
        QCOMPARE(memory.GetContents(0x10) * 256 + memory.GetContents(0x11), word);  // not yet
        QTest::mouseClick(dialog->OkButton, Qt::LeftButton);
        QCOMPARE(memory.GetContents(0x10) * 256 + memory.GetContents(0x11), expected);
    }

    void InstructionAtFFWrapsToZero() {
        TCellStore memory(256);
        memory.SetContents(0xFF, 0x25);
        memory.SetContents(0x00, 0x8A);
        auto* dialog = new TAssembleDialog(memory);
        dialog->SetAddress(0xFF);
        QCOMPARE(dialog->Instruction(), 0x258A);
        Choose(dialog->op1, 3);
        QTest::mouseClick(dialog->OkButton, Qt::LeftButton);
        QCOMPARE(memory.GetContents(0xFF), 0x23);
        QCOMPARE(memory.GetContents(0x00), 0x8A);
        QCOMPARE(memory.GetContents(0x01), 0);
    }

    void CancelAndCloseWriteNothingAndDestroyTheDialog_data() {
        QTest::addColumn<bool>("viaCancelButton");
        QTest::newRow("Cancel") << true;
        QTest::newRow("window closed") << false;
    }
    void CancelAndCloseWriteNothingAndDestroyTheDialog() {
        QFETCH(bool, viaCancelButton);
        TCellStore memory(256);
        memory.SetContents(0x20, 0x25);
        int writes = 0;
        memory.OnCellChanged = [&](CellStore*, int, int, int) { ++writes; };
        QPointer<TAssembleDialog> dialog = new TAssembleDialog(memory);
        dialog->SetAddress(0x20);
        dialog->show();
        Choose(dialog->opcode, 5);
        if (viaCancelButton)
            QTest::mouseClick(dialog->CancelButton, Qt::LeftButton);
        else
            dialog->close();
        QCOMPARE(writes, 0);
        QCOMPARE(memory.GetContents(0x20), 0x25);
        QTRY_VERIFY(dialog.isNull());
    }

    // The 256 operands of an address or value show 16 at a time, not a screenful.
    void LongListsShowSixteenItems_data() {
        QTest::addColumn<int>("word");
        QTest::newRow("value of an immediate load") << 0x258A;
        QTest::newRow("address of a direct store") << 0x3420;
    }
    void LongListsShowSixteenItems() {
        QFETCH(int, word);
        TCellStore memory(256);
        memory.SetContents(0x10, word >> 8);
        memory.SetContents(0x11, word & 0xFF);
        TAssembleDialog dialog(memory);
        dialog.SetAddress(0x10);
        dialog.show();
        QComboBox* box = dialog.op2;
        QCOMPARE(box->count(), 256);
        box->showPopup();
        QAbstractItemView* list = box->view();
        QTRY_VERIFY(list->isVisible());
        const int row = list->sizeHintForRow(0);
        QVERIFY(row > 0);
        QCOMPARE(list->viewport()->height() / row, 16);
        box->hidePopup();
    }

    void PlacedBesideTheMainWindow() {
        QWidget main;
        main.move(100, 60);
        TCellStore memory(256);
        auto* dialog = new TAssembleDialog(memory, &main);
        QCOMPARE(dialog->pos(), QPoint(250, 302));
        QCOMPARE(dialog->windowTitle(), QString("Asseble Instruction"));
        QCOMPARE(dialog->opcode->count(), 16);
        delete dialog;
    }
};

QTEST_MAIN(TAssembleDialogTest)
#include "assembler_test.moc"
