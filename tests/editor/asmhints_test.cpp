// The Hints under the error list: the assembler's warnings about a program that assembled,
// each taking the caret to its place; hidden when there are none, and after errors.

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QtTest>

#include "editor/asmedit.h"
#include "editor/asmhints.h"
#include "testprompt.h"

namespace {

QStringList Items(const QListWidget* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i) items << box->item(i)->text();
    return items;
}

}  // namespace

class TAsmHintsTest : public QObject {
    Q_OBJECT
private slots:
    void HintsListTheWarningsAndChoosingOneVisitsIt();
    void HintsAreHiddenWithoutWarnings_data();
    void HintsAreHiddenWithoutWarnings();
};

void TAsmHintsTest::HintsListTheWarningsAndChoosingOneVisitsIt() {
    TTestPrompt prompt;
    TAssemblerEditor editor;
    editor.TextEditor->setPlainText(QStringLiteral("load R1,count\nhalt\ncount: db 5"));
    editor.show();
    QApplication::setActiveWindow(&editor);
    editor.AssembleButtonClick();
    QCOMPARE(editor.ErrorBox->count(), 0);
    const TAsmHints& hints = *editor.Hints;
    QVERIFY(hints.HintBox->isVisible() && hints.HintsLabel->isVisible());
    QCOMPARE(Items(hints.HintBox),
             (QStringList{QStringLiteral("line 1: loads the address of count (04), not its value: "
                                         "did you mean load R1,[count]?")}));
    // The splitter made room: the hint is shown whole in height.
    QApplication::processEvents();
    QVERIFY(hints.HintBox->visualItemRect(hints.HintBox->item(0)).bottom() <
            hints.HintBox->viewport()->height());

    const QPoint centre = hints.HintBox->visualItemRect(hints.HintBox->item(0)).center();
    QTest::mouseClick(hints.HintBox->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
    QCOMPARE(editor.TextEditor->textCursor().position(), 8);  // line 1, column 9
    QVERIFY(editor.TextEditor->hasFocus());

    // Enter on the list visits the selected hint too.
    editor.TextEditor->moveCursor(QTextCursor::End);
    hints.HintBox->setFocus();
    hints.HintBox->setCurrentRow(0);
    QTest::keyClick(hints.HintBox, Qt::Key_Return);
    QCOMPARE(editor.TextEditor->textCursor().position(), 8);
}

void TAsmHintsTest::HintsAreHiddenWithoutWarnings_data() {
    QTest::addColumn<QString>("text");
    QTest::addRow("a sound program") << QStringLiteral("x: jmp x");
    QTest::addRow("errors") << QStringLiteral("load R1,count\nhalt\ncount: db 5\nload R1");
}

void TAsmHintsTest::HintsAreHiddenWithoutWarnings() {
    QFETCH(QString, text);
    TTestPrompt prompt;
    TAssemblerEditor editor;
    editor.show();
    // Hints of an earlier assembly go with the next one.
    editor.TextEditor->setPlainText(QStringLiteral("x: halt"));
    editor.AssembleButtonClick();
    QCOMPARE(editor.Hints->HintBox->count(), 1);
    editor.TextEditor->setPlainText(text);
    editor.AssembleButtonClick();
    QCOMPARE(editor.Hints->HintBox->count(), 0);
    QVERIFY(!editor.Hints->HintBox->isVisible() && !editor.Hints->HintsLabel->isVisible());
}

QTEST_MAIN(TAsmHintsTest)
#include "asmhints_test.moc"
