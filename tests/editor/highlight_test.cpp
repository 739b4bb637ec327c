// Live highlighting in a real editor: which characters get which style, when lines are
// re-styled, and that styling never disturbs the text, the caret or the undo history.

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QtTest>

#include "editor/asmedit.h"
#include "editor/editortextsource.h"
#include "editor/hlstyles.h"
#include "testprompt.h"

namespace {

// One letter per character of a line: the class whose format the character shows.
// N Normal, K Keyword, B Numeric or String (they look the same), C Comment, E Error,
// H hidden keyword; "." for a character without any highlight format.
QString StyleMap(const TAssemblerEditor& editor, int line) {
    const QTextBlock block = editor.TextEditor->document()->findBlockByNumber(line);
    QString map(block.length() - 1, QLatin1Char('.'));
    const char letters[] = "NKBBCEH";
    for (const QTextLayout::FormatRange& range : block.layout()->formats()) {
        QChar letter = QLatin1Char('?');
        for (int cls = 0; cls < HighlightClassCount; ++cls)
            if (range.format == HighlightStyle(THighlightClass(cls)).Format()) {
                letter = QLatin1Char(letters[cls]);
                break;
            }
        for (int i = range.start; i < range.start + range.length; ++i) map[i] = letter;
    }
    return map;
}

struct TShownEditor {
    TAssemblerEditor Editor;
    TShownEditor() {
        Editor.show();
        QApplication::setActiveWindow(&Editor);
        Editor.TextEditor->setFocus();
    }
    void Type(const QString& text) {
        for (const QChar c : text) {
            if (c == QLatin1Char('\n'))
                QTest::keyClick(Editor.TextEditor, Qt::Key_Return);
            else
                QTest::keyClicks(Editor.TextEditor, QString(c));
        }
    }
    void Place(int position, int anchor = -1) {
        QTextCursor cursor = Editor.TextEditor->textCursor();
        cursor.setPosition(anchor < 0 ? position : anchor);
        if (anchor >= 0) cursor.setPosition(position, QTextCursor::KeepAnchor);
        Editor.TextEditor->setTextCursor(cursor);
    }
    QString Styles(int line) const { return StyleMap(Editor, line); }
};

}  // namespace

class THighlightTest : public QObject {
    Q_OBJECT
private slots:
    void LineStyles_data();
    void LineStyles();
    void TypingStylesTheEditedLine();
    void EnterStylesBothHalves();
    void MultiLineEditsLeaveNoStaleStyles();
    void PasteAndLoadStyleEverything();
    void HiddenKeywordLineIsTaller();
    void ToggleOffAndOn();
    void StylingLeavesTextCaretAndUndoAlone();
    void LinesReachTheAssemblerAsCodePage437_data();
    void LinesReachTheAssemblerAsCodePage437();
    void TextSourceLines();
};

void THighlightTest::LineStyles_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("styles");
    QTest::newRow("five runs") << "load R1, 5 ; set"
                               << "KKKKNNNNNBNCCCCC";
    QTest::newRow("keywords any case") << "LoAd DB org"
                                       << "KKKKNKKNKKK";
    QTest::newRow("bad digits") << "db 12A3"
                                << "KKNEEEE";
    QTest::newRow("hex with sign") << "db -0x10"
                                   << "KKNEEEEE";
    QTest::newRow("plus sign") << "1+1"
                               << "BEB";
    QTest::newRow("too large still numeric") << "db 99999999999"
                                             << "KKNBBBBBBBBBBB";
    QTest::newRow("unclosed string") << "db 'ab;c"
                                     << "KKNBBBBB";
    QTest::newRow("less than") << "jmpLE R1<R0"
                               << "KKKKKNNNENN";
    QTest::newRow("less or equal") << "jmpLE R1<=R0"
                                   << "KKKKKNNNNNNN";
    QTest::newRow("hidden keyword") << "x: VorLak"
                                    << "NNNHHHHHH";
    QTest::newRow("seven letters") << "vorlakx"
                                   << "NNNNNNN";
    QTest::newRow("non-ASCII is error") << "db é"
                                        << "KKNE";
    QTest::newRow("blank line") << "\t "
                                << "NN";
}

void THighlightTest::LineStyles() {
    QFETCH(QString, line);
    TAssemblerEditor editor;
    editor.TextEditor->setPlainText(line);
    QTEST(StyleMap(editor, 0), "styles");
}

void THighlightTest::TypingStylesTheEditedLine() {
    TShownEditor shown;
    shown.Type(QStringLiteral("lo"));
    QCOMPARE(shown.Styles(0), QStringLiteral("NN"));
    shown.Type(QStringLiteral("ad"));
    QCOMPARE(shown.Styles(0), QStringLiteral("KKKK"));
    shown.Type(QStringLiteral("s"));
    QCOMPARE(shown.Styles(0), QStringLiteral("NNNNN"));
}

void THighlightTest::EnterStylesBothHalves() {
    TShownEditor shown;
    shown.Type(QStringLiteral("haltR1"));
    QCOMPARE(shown.Styles(0), QStringLiteral("NNNNNN"));
    shown.Place(4);
    shown.Type(QStringLiteral("\n"));
    QCOMPARE(shown.Styles(0), QStringLiteral("KKKK"));
    QCOMPARE(shown.Styles(1), QStringLiteral("NN"));
}

// Deleting across lines, and undoing that, re-styles every line the edit touched.
void THighlightTest::MultiLineEditsLeaveNoStaleStyles() {
    TShownEditor shown;
    shown.Editor.TextEditor->setPlainText(QStringLiteral("db 'x\nhalt ; y'"));
    QCOMPARE(shown.Styles(1), QStringLiteral("KKKKNCCCC"));
    shown.Place(15, 4);  // from the quote to the end
    QTest::keyClick(shown.Editor.TextEditor, Qt::Key_Delete);
    QCOMPARE(shown.Styles(0), QStringLiteral("KKNB"));  // the quote is left unclosed
    QTest::keyClick(shown.Editor.TextEditor, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(shown.Editor.TextEditor->toPlainText(), QStringLiteral("db 'x\nhalt ; y'"));
    QCOMPARE(shown.Styles(0), QStringLiteral("KKNBB"));
    QCOMPARE(shown.Styles(1), QStringLiteral("KKKKNCCCC"));
}

void THighlightTest::PasteAndLoadStyleEverything() {
    TTestPrompt prompt;
    TShownEditor shown;
    QApplication::clipboard()->setText(QStringLiteral("halt\n; c\nR1"));
    QTest::keyClick(shown.Editor.TextEditor, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(shown.Styles(0), QStringLiteral("KKKK"));
    QCOMPARE(shown.Styles(1), QStringLiteral("CCC"));
    QCOMPARE(shown.Styles(2), QStringLiteral("NN"));
    QVERIFY(shown.Editor.FileModified());

    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("styled.asm"));
    QFile file(name);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("org 10h\r\nx: db 'a'\r\n");
    file.close();
    QVERIFY(shown.Editor.LoadSourceFile(name));
    QCOMPARE(shown.Styles(0), QStringLiteral("KKKNBBB"));
    QCOMPARE(shown.Styles(1), QStringLiteral("NNNKKNBBB"));
}

void THighlightTest::HiddenKeywordLineIsTaller() {
    TAssemblerEditor editor;
    editor.TextEditor->setPlainText(QStringLiteral("halt\nvorlak\nhalt"));
    const QTextDocument* document = editor.TextEditor->document();
    auto height = [&](int line) {
        return document->documentLayout()
            ->blockBoundingRect(document->findBlockByNumber(line))
            .height();
    };
    QVERIFY(height(1) > 2 * height(0));
}

void THighlightTest::ToggleOffAndOn() {
    TShownEditor shown;
    shown.Editor.TextEditor->setPlainText(QStringLiteral("load R1,5\n; c"));
    shown.Editor.MenuUseSyntaxHighlightClick();
    QVERIFY(!shown.Editor.MenuUseSyntaxHighlight->isChecked());
    QCOMPARE(shown.Styles(0), QStringLiteral("........."));
    QCOMPARE(shown.Styles(1), QStringLiteral("..."));
    // Edits while off style nothing.
    shown.Place(13);
    shown.Type(QStringLiteral("\nhalt"));
    QCOMPARE(shown.Styles(2), QStringLiteral("...."));
    shown.Editor.MenuUseSyntaxHighlightClick();
    QCOMPARE(shown.Styles(0), QStringLiteral("KKKKNNNNB"));
    QCOMPARE(shown.Styles(1), QStringLiteral("CCC"));
    QCOMPARE(shown.Styles(2), QStringLiteral("KKKK"));
}

void THighlightTest::StylingLeavesTextCaretAndUndoAlone() {
    TShownEditor shown;
    shown.Type(QStringLiteral("load R1,5\nvorlak: halt"));
    shown.Editor.SetFileModified(false);
    shown.Place(3, 12);
    const QTextDocument* document = shown.Editor.TextEditor->document();
    const int undoSteps = document->availableUndoSteps();
    const bool documentModified = document->isModified();
    for (int toggle = 0; toggle < 2; ++toggle) {
        shown.Editor.MenuUseSyntaxHighlightClick();
        const QTextCursor cursor = shown.Editor.TextEditor->textCursor();
        QCOMPARE(cursor.anchor(), 12);
        QCOMPARE(cursor.position(), 3);
        QVERIFY(!shown.Editor.FileModified());
        QCOMPARE(document->availableUndoSteps(), undoSteps);
        QCOMPARE(document->isModified(), documentModified);
        QCOMPARE(shown.Editor.PanelText(0), QStringLiteral("1: 4  "));
    }
    shown.Editor.ReformatAll();
    QVERIFY(!shown.Editor.FileModified());
    QCOMPARE(shown.Editor.TextEditor->toPlainText(), QStringLiteral("load R1,5\nvorlak: halt"));
}

void THighlightTest::LinesReachTheAssemblerAsCodePage437_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("ASCII") << "db 'A'" << QByteArray("db 'A'");
    QTest::newRow("accents and boxes") << "é░" << QByteArray("\x82\xB0");
    QTest::newRow("not in the code page") << "€x" << QByteArray("?x");
    QTest::newRow("outside the BMP keeps two places")
        << QString::fromUtf8("\xF0\x9F\x98\x80;") << QByteArray("??;");
    QTest::newRow("a lone surrogate keeps its place")
        << QString(QChar(0xD800)) + "x" << QByteArray("?x");
}

void THighlightTest::LinesReachTheAssemblerAsCodePage437() {
    QFETCH(QString, line);
    const std::string bytes = LineToCp437(line);
    QTEST(QByteArray(bytes.data(), qsizetype(bytes.size())), "bytes");
    QCOMPARE(qsizetype(bytes.size()), line.size());
}

void THighlightTest::TextSourceLines() {
    QTextDocument document;
    document.setPlainText(QStringLiteral("ab\n\ncé"));
    const TEditorTextSource source(document);
    QCOMPARE(source.LineCount(), 3);
    QCOMPARE(source.LineText(0), std::string_view("ab"));
    QCOMPARE(source.LineText(1), std::string_view(""));
    QCOMPARE(source.LineText(2), std::string_view("c\x82"));
    QCOMPARE(source.LineOffset(0), 0);
    QCOMPARE(source.LineOffset(2), 4);
}

QTEST_MAIN(THighlightTest)
#include "highlight_test.moc"
