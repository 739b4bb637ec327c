// Assembling text with errors: the error list, its first entry visited, stepping through
// the entries with the menu, the keyboard and the mouse.

#include <QApplication>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QtTest>

#include "editor/asmedit.h"
#include "focusedrows.h"
#include "gui/listfocus.h"
#include "testprompt.h"

namespace {

struct TShownEditor {
    TAssemblerEditor Editor;
    explicit TShownEditor(const QString& text) {
        Editor.TextEditor->setPlainText(text);
        Editor.show();
        QApplication::setActiveWindow(&Editor);
        Editor.TextEditor->setFocus();
    }
    int Caret() const { return Editor.TextEditor->textCursor().position(); }
    int Selected() const { return SelectedRow(*Editor.ErrorBox); }
    void ReleaseOnErrorBox(QPoint at, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::mouseClick(Editor.ErrorBox->viewport(), Qt::LeftButton, mods, at);
    }
    QPoint ItemCentre(int row) const {
        return Editor.ErrorBox->visualItemRect(Editor.ErrorBox->item(row)).center();
    }
};

const QString FourErrors = QStringLiteral("halt\nload R1\n  x: 12\njmp nowhere");

}  // namespace

class TAsmErrorsTest : public QObject {
    Q_OBJECT
private slots:
    void ErrorsAreListedAndTheFirstVisited();
    void NextAndPrevious_data();
    void NextAndPrevious();
    void OneErrorNextDoesNothing();
    void MouseReleaseVisits_data();
    void MouseReleaseVisits();
    void EnterOnTheListVisits();
    void PositionsPastTheEditedTextMeanTheEnd();
    void CtrlF9Assembles();
};

void TAsmErrorsTest::ErrorsAreListedAndTheFirstVisited() {
    TTestPrompt prompt;
    TShownEditor shown(FourErrors);
    shown.Editor.SetFileModified(false);
    shown.Editor.AssembleButtonClick();
    QStringList items;
    for (int i = 0; i < shown.Editor.ErrorBox->count(); ++i)
        items << shown.Editor.ErrorBox->item(i)->text();
    QCOMPARE(items, (QStringList{
                        QStringLiteral("line 2: Unexpected end of line. Expected: ','"),
                        QStringLiteral("line 2: Unexpected end of line. Expected: number, "
                                       "label, '['"),
                        QStringLiteral("line 3: Unknown identifier. Expected: mnemonic, nothing"),
                        QStringLiteral("line 4: Label is not defined: nowhere"),
                    }));
    for (int i = 0; i < shown.Editor.ErrorBox->count(); ++i)
        QCOMPARE(shown.Editor.ErrorBox->visualItemRect(shown.Editor.ErrorBox->item(i)).height(),
                 16);
    QCOMPARE(shown.Editor.ErrorBox->font().family(), QStringLiteral("MS Sans Serif"));
    QCOMPARE(shown.Editor.ErrorBox->font().pointSize(), 10);
    QCOMPARE(shown.Selected(), 0);
    QCOMPARE(shown.Caret(), 5 + 7);  // line index 1, column 7
    QVERIFY(!shown.Editor.TextEditor->textCursor().hasSelection());
    QCOMPARE(shown.Editor.PanelText(0), QStringLiteral("2: 8  "));
    QVERIFY(shown.Editor.TextEditor->hasFocus());
    QVERIFY(shown.Editor.ErrorsMenu->isEnabled());
    QVERIFY(!shown.Editor.MenuPreviousError->isEnabled());
    QVERIFY(shown.Editor.MenuNextError->isEnabled());
    // Assembling is no edit, and asks nothing.
    QVERIFY(!shown.Editor.FileModified());
    QVERIFY(prompt.Shown.isEmpty());
    // A second run starts a fresh list.
    shown.Editor.AssembleButtonClick();
    QCOMPARE(shown.Editor.ErrorBox->count(), 4);
}

// Keys as the user types them: Ctrl+N and Ctrl+P go through the Errors menu.
void TAsmErrorsTest::NextAndPrevious_data() {
    QTest::addColumn<QString>("keys");  // N or P, one per press
    QTest::addColumn<int>("selected");
    QTest::addColumn<int>("caret");
    QTest::addColumn<bool>("previous");
    QTest::addColumn<bool>("next");
    QTest::newRow("next") << "N" << 1 << 12 << true << true;
    QTest::newRow("to the last") << "NNN" << 3 << 32 << true << false;
    QTest::newRow("past the last does nothing") << "NNNN" << 3 << 32 << true << false;
    QTest::newRow("back") << "NNP" << 1 << 12 << true << true;
    QTest::newRow("back to the first") << "NP" << 0 << 12 << false << true;
    QTest::newRow("before the first does nothing") << "P" << 0 << 12 << false << true;
    QTest::newRow("third entry") << "NN" << 2 << 18 << true << true;
}

void TAsmErrorsTest::NextAndPrevious() {
    QFETCH(QString, keys);
    TShownEditor shown(FourErrors);
    shown.Editor.AssembleButtonClick();
    for (const QChar key : keys)
        QTest::keyClick(shown.Editor.TextEditor, key == QLatin1Char('N') ? Qt::Key_N : Qt::Key_P,
                        Qt::ControlModifier);
    QTEST(shown.Selected(), "selected");
    QTEST(shown.Caret(), "caret");
    QTEST(shown.Editor.MenuPreviousError->isEnabled(), "previous");
    QTEST(shown.Editor.MenuNextError->isEnabled(), "next");
    QCOMPARE(shown.Editor.TextEditor->toPlainText(), FourErrors);  // the keys typed nothing
}

void TAsmErrorsTest::OneErrorNextDoesNothing() {
    TShownEditor shown(QStringLiteral("halt 1"));
    shown.Editor.AssembleButtonClick();
    QCOMPARE(shown.Editor.ErrorBox->count(), 1);
    QCOMPARE(shown.Editor.ErrorBox->item(0)->text(),
             QStringLiteral("line 1: Extra characters on line. Expected: nothing"));
    QVERIFY(!shown.Editor.MenuPreviousError->isEnabled());
    QVERIFY(shown.Editor.MenuNextError->isEnabled());
    shown.Editor.NextErrorClick();
    QCOMPARE(shown.Selected(), 0);
    QCOMPARE(shown.Caret(), 5);
}

void TAsmErrorsTest::MouseReleaseVisits_data() {
    QTest::addColumn<int>("row");  // -1: below the last item
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("caret");
    QTest::addColumn<int>("selected");  // the error Next and Previous go on from
    QTest::newRow("third item") << 2 << int(Qt::NoModifier) << 18 << 2;
    QTest::newRow("last item") << 3 << int(Qt::NoModifier) << 32 << 3;
    QTest::newRow("with Shift") << 2 << int(Qt::ShiftModifier) << 0 << 0;
    QTest::newRow("with Ctrl") << 2 << int(Qt::ControlModifier) << 0 << 0;
    QTest::newRow("with Ctrl on the selected") << 0 << int(Qt::ControlModifier) << 0 << 0;
    QTest::newRow("below the items") << -1 << int(Qt::NoModifier) << 0 << 0;
}

void TAsmErrorsTest::MouseReleaseVisits() {
    QFETCH(int, row);
    QFETCH(int, modifiers);
    TShownEditor shown(FourErrors);
    shown.Editor.AssembleButtonClick();
    shown.Editor.BottomSplitter->setSizes({150, 250});  // room below the last item
    shown.Editor.TextEditor->moveCursor(QTextCursor::Start);
    const QRect last = shown.Editor.ErrorBox->visualItemRect(shown.Editor.ErrorBox->item(3));
    const QPoint at =
        row >= 0 ? shown.ItemCentre(row) : QPoint(last.center().x(), last.bottom() + 10);
    QVERIFY(shown.Editor.ErrorBox->viewport()->rect().contains(at));
    QCOMPARE(shown.Editor.ErrorBox->indexAt(at).row(), row);
    shown.ReleaseOnErrorBox(at, Qt::KeyboardModifiers(modifiers));
    QTEST(shown.Caret(), "caret");
    QTEST(shown.Selected(), "selected");
}

void TAsmErrorsTest::EnterOnTheListVisits() {
    TShownEditor shown(FourErrors);
    shown.Editor.AssembleButtonClick();
    shown.Editor.ErrorBox->setFocus();
    shown.Editor.ErrorBox->setCurrentRow(2);
    shown.Editor.TextEditor->moveCursor(QTextCursor::Start);
    QCOMPARE(FocusedRows(*shown.Editor.ErrorBox), QList<int>{2});
    QTest::keyClick(shown.Editor.ErrorBox, Qt::Key_Return);
    QCOMPARE(shown.Caret(), 18);
    QVERIFY(shown.Editor.TextEditor->hasFocus());
    // The error stays marked, and only the text claims focus.
    QCOMPARE(shown.Selected(), 2);
    QCOMPARE(FocusedRows(*shown.Editor.ErrorBox), QList<int>{});
}

// Positions are those of the text as assembled; when the text has since become shorter
// the caret goes to its end instead of outside it.
void TAsmErrorsTest::PositionsPastTheEditedTextMeanTheEnd() {
    TShownEditor shown(FourErrors);
    shown.Editor.AssembleButtonClick();
    shown.Editor.TextEditor->setPlainText(QStringLiteral("ha"));
    shown.Editor.GoToError(3);
    QCOMPARE(shown.Caret(), 2);
    shown.Editor.GoToError(1);
    QCOMPARE(shown.Caret(), 2);
    shown.Editor.GoToError(-1);
    QCOMPARE(shown.Caret(), 2);
}

void TAsmErrorsTest::CtrlF9Assembles() {
    TShownEditor shown(QStringLiteral("x"));
    QTest::keyClick(shown.Editor.TextEditor, Qt::Key_F9, Qt::ControlModifier);
    QCOMPARE(shown.Editor.ErrorBox->count(), 1);
    QCOMPARE(shown.Editor.ErrorBox->item(0)->text(),
             QStringLiteral("line 1: Unexpected end of line. Expected: ':'"));
}

QTEST_MAIN(TAsmErrorsTest)
#include "asmerrors_test.moc"
