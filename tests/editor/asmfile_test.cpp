// Loading, saving, the file dialogs' starting points, printing and the close query.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QtTest>

#include "editor/asmedit.h"
#include "editor/sourceprint.h"
#include "gui/processvalues.h"
#include "testprompt.h"

namespace {

QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void Put(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// The text as it is held, line by line (toPlainText would turn a no-break space into a
// blank).
QString HeldText(const TAssemblerEditor& editor) {
    QStringList lines;
    for (QTextBlock b = editor.TextEditor->document()->begin(); b.isValid(); b = b.next())
        lines << b.text();
    return lines.join(QLatin1Char('\n'));
}

const QString ExitQuestion =
    QStringLiteral("Save?|Assembly File Changed.\nDo you want to save before you exit?");

}  // namespace

class TAsmFileTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void SaveUnnamedAsksForName();
    void SaveNamedWritesSilently();
    void SaveAsProposesFolderAndBaseName();
    void FailedSaveChangesNothing();
    void LoadReadsLinesAndUtf8_data();
    void LoadReadsLinesAndUtf8();
    void LoadSetsNameAndClearsModified();
    void FailedLoadChangesNothing();
    void OpenAsksAboutChangedText_data();
    void OpenAsksAboutChangedText();
    void CloseQuery_data();
    void CloseQuery();
    void CloseQueryShowsAMinimisedEditor();
    void TypingIntoLoadedFileAsksOnClose_data();
    void TypingIntoLoadedFileAsksOnClose();
    void PrintCancelledOrToPdf();

private:
    QTemporaryDir dir_;
    QString Path(const QString& name) const { return dir_.filePath(name); }
};

void TAsmFileTest::init() {
    ProcessValues().CurrentAsmFile.clear();
    ProcessValues().TempDir = dir_.path() + QLatin1Char('/');
}

void TAsmFileTest::SaveUnnamedAsksForName() {
    TTestPrompt prompt;
    TAssemblerEditor editor;
    editor.TextEditor->setPlainText(QStringLiteral("halt\n\tdb 1"));
    QVERIFY(editor.FileModified());
    const QString name = Path(QStringLiteral("new.asm"));
    prompt.FileNames.push_back(name);
    editor.SaveFile();
    QCOMPARE(prompt.Requests.size(), 1);
    const TFileDialogRequest& request = prompt.Requests.front();
    QCOMPARE(request.Title, QStringLiteral("Save Assembly File"));
    QCOMPARE(request.Filters, QStringList{QStringLiteral("Assembly Files (*.asm)")});
    QCOMPARE(request.DefaultSuffix, QStringLiteral("asm"));
    QCOMPARE(request.Directory, ProcessValues().TempDir);
    QCOMPARE(request.FileName, QString());
    QCOMPARE(Contents(name), QByteArray("halt\r\n\tdb 1"));
    QCOMPARE(editor.windowTitle(), QStringLiteral("Quarzel Assembler - ") + name);
    QCOMPARE(editor.FileName(), name);
    QCOMPARE(ProcessValues().CurrentAsmFile, name);
    QVERIFY(!editor.FileModified());
    QCOMPARE(editor.PanelText(1), QString());
}

void TAsmFileTest::SaveNamedWritesSilently() {
    TTestPrompt prompt;
    TAssemblerEditor editor;
    const QString name = Path(QStringLiteral("named.asm"));
    Put(name, "old\r\n");
    QVERIFY(editor.LoadSourceFile(name));
    editor.TextEditor->appendPlainText(QStringLiteral("halt ; é"));
    QVERIFY(editor.FileModified());
    editor.SaveFile();
    QVERIFY(prompt.Requests.isEmpty());
    QVERIFY(prompt.Shown.isEmpty());
    QCOMPARE(Contents(name), QStringLiteral("old\r\n\r\nhalt ; é").toUtf8());
    QVERIFY(!editor.FileModified());
}

void TAsmFileTest::SaveAsProposesFolderAndBaseName() {
    TTestPrompt prompt;
    TAssemblerEditor editor;
    ProcessValues().CurrentAsmFile = QStringLiteral("/work/prog1.asm");
    editor.SaveAsFile();  // cancelled
    QCOMPARE(prompt.Requests.size(), 1);
    QCOMPARE(prompt.Requests[0].Directory, QStringLiteral("/work"));
    QCOMPARE(prompt.Requests[0].FileName, QStringLiteral("prog1"));
    QVERIFY(editor.FileName().isEmpty());
    // The editor's own file wins over the last file of the program.
    const QString name = Path(QStringLiteral("mine.asm"));
    prompt.FileNames.push_back(name);
    editor.SaveAsFile();
    prompt.FileNames.clear();
    editor.SaveAsFile();
    QCOMPARE(prompt.Requests.size(), 3);
    QCOMPARE(prompt.Requests[2].Directory, dir_.path());
    QCOMPARE(prompt.Requests[2].FileName, QStringLiteral("mine"));
}

void TAsmFileTest::FailedSaveChangesNothing() {
    TTestPrompt prompt;
    TAssemblerEditor editor;
    editor.TextEditor->setPlainText(QStringLiteral("halt"));
    const QString name = Path(QStringLiteral("missing/x.asm"));
    QVERIFY(!editor.WriteSourceFile(name));
    QCOMPARE(prompt.Shown, QStringList{QStringLiteral("Error|Cannot create file ") + name});
    QCOMPARE(editor.windowTitle(), QStringLiteral("Quarzel Assembler"));
    QVERIFY(editor.FileName().isEmpty());
    QVERIFY(ProcessValues().CurrentAsmFile.isEmpty());
    QVERIFY(editor.FileModified());
}

void TAsmFileTest::LoadReadsLinesAndUtf8_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("highlighting");
    QTest::addColumn<QString>("text");
    QTest::newRow("CR LF, last line open") << QByteArray("a\r\nb") << true << "a\nb\n";
    QTest::newRow("CR LF, last line closed") << QByteArray("a\r\nb\r\n") << true << "a\nb\n";
    QTest::newRow("plain, last line open") << QByteArray("a\r\nb") << false << "a\nb";
    QTest::newRow("LF and CR alone") << QByteArray("a\nb\rc") << false << "a\nb\nc";
    QTest::newRow("empty file") << QByteArray() << true << "";
    QTest::newRow("UTF-8") << QStringLiteral("db 'é░'").toUtf8() << false << "db 'é░'";
    QTest::newRow("byte order mark dropped") << QByteArray("\xEF\xBB\xBFhalt") << false << "halt";
    QTest::newRow("not UTF-8: code page 437")
        << QByteArray("db '\x82\xB0\xFF'") << false << QStringLiteral("db 'é░\u00A0'");
}

// With highlighting on, every line of a loaded file ends in a line break.
void TAsmFileTest::LoadReadsLinesAndUtf8() {
    QFETCH(QByteArray, file);
    QFETCH(bool, highlighting);
    TTestPrompt prompt;
    TAssemblerEditor editor;
    editor.MenuUseSyntaxHighlight->setChecked(highlighting);
    const QString name = Path(QStringLiteral("lines.asm"));
    Put(name, file);
    QVERIFY(editor.LoadSourceFile(name));
    QTEST(HeldText(editor), "text");
}

void TAsmFileTest::LoadSetsNameAndClearsModified() {
    TTestPrompt prompt;
    TAssemblerEditor editor;
    editor.TextEditor->setPlainText(QStringLiteral("old text"));
    const QString name = Path(QStringLiteral("load.asm"));
    Put(name, "halt\r\nhalt\r\n");
    QVERIFY(editor.LoadSourceFile(name));
    QCOMPARE(editor.windowTitle(), QStringLiteral("Quarzel Assembler - ") + name);
    QCOMPARE(editor.FileName(), name);
    QCOMPARE(ProcessValues().CurrentAsmFile, name);
    QVERIFY(!editor.FileModified());
    QCOMPARE(editor.TextEditor->textCursor().position(), 0);
    QCOMPARE(editor.PanelText(0), QStringLiteral("1: 1  "));
    QVERIFY(prompt.Shown.isEmpty());
}

void TAsmFileTest::FailedLoadChangesNothing() {
    TTestPrompt prompt;
    TAssemblerEditor editor;
    editor.TextEditor->setPlainText(QStringLiteral("keep"));
    for (const QString& name : {Path(QStringLiteral("absent.asm")), dir_.path()}) {
        QVERIFY(!editor.LoadSourceFile(name));
        QCOMPARE(prompt.Shown.takeFirst(), QStringLiteral("Error|Cannot open file ") + name);
    }
    QCOMPARE(editor.TextEditor->toPlainText(), QStringLiteral("keep"));
    QCOMPARE(editor.windowTitle(), QStringLiteral("Quarzel Assembler"));
    QVERIFY(editor.FileName().isEmpty());
    QVERIFY(editor.FileModified());
    // Still usable: a later load works.
    const QString name = Path(QStringLiteral("ok.asm"));
    Put(name, "halt");
    QVERIFY(editor.LoadSourceFile(name));
}

void TAsmFileTest::OpenAsksAboutChangedText_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("saveAs");  // name chosen when Yes asks for one
    QTest::addColumn<bool>("opened");
    QTest::newRow("cancel") << int(TAnswer::Cancel) << "" << false;
    QTest::newRow("no") << int(TAnswer::No) << "" << true;
    QTest::newRow("yes, save cancelled") << int(TAnswer::Yes) << "" << false;
    QTest::newRow("yes, saved") << int(TAnswer::Yes) << "saved.asm" << true;
}

void TAsmFileTest::OpenAsksAboutChangedText() {
    QFETCH(int, answer);
    QFETCH(QString, saveAs);
    QFETCH(bool, opened);
    TTestPrompt prompt;
    TAssemblerEditor editor;
    editor.TextEditor->setPlainText(QStringLiteral("changed"));
    const QString other = Path(QStringLiteral("other.asm"));
    Put(other, "halt\r\n");
    prompt.Answers.push_back(TAnswer(answer));
    if (TAnswer(answer) == TAnswer::Yes)
        prompt.FileNames.push_back(saveAs.isEmpty() ? saveAs : Path(saveAs));
    prompt.FileNames.push_back(other);
    editor.OpenFileClick();
    QCOMPARE(prompt.Shown.value(0),
             QStringLiteral("Save?|Assembly File Changed.\nDo you want to save before you "
                            "open another file?"));
    QCOMPARE(editor.FileName() == other, opened);
    if (!opened) return;
    const TFileDialogRequest& open = prompt.Requests.back();
    QCOMPARE(open.Title, QStringLiteral("Open Assembly File"));
    QCOMPARE(open.Filters, (QStringList{QStringLiteral("Assembly Files (*.asm)"),
                                        QStringLiteral("All Files (*)")}));
    QCOMPARE(open.FileName, QString());
    // Without a file of its own the dialog starts in the temporary folder; after saving,
    // in the saved file's folder.
    QCOMPARE(open.Directory, saveAs.isEmpty() ? ProcessValues().TempDir : dir_.path());
    QCOMPARE(editor.TextEditor->toPlainText(), QStringLiteral("halt\n"));
}

void TAsmFileTest::CloseQuery_data() {
    QTest::addColumn<bool>("modified");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("saveAs");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<bool>("asked");
    QTest::newRow("unmodified") << false << int(TAnswer::Cancel) << "" << true << false;
    QTest::newRow("cancel") << true << int(TAnswer::Cancel) << "" << false << true;
    QTest::newRow("no") << true << int(TAnswer::No) << "" << true << true;
    QTest::newRow("yes, save cancelled") << true << int(TAnswer::Yes) << "" << false << true;
    QTest::newRow("yes, saved") << true << int(TAnswer::Yes) << "closed.asm" << true << true;
}

void TAsmFileTest::CloseQuery() {
    QFETCH(bool, modified);
    QFETCH(int, answer);
    QFETCH(QString, saveAs);
    QFETCH(bool, closes);
    QFETCH(bool, asked);
    TTestPrompt prompt;
    QPointer<TAssemblerEditor> editor = new TAssemblerEditor;
    editor->show();
    editor->TextEditor->setPlainText(QStringLiteral("halt"));
    editor->SetFileModified(modified);
    prompt.Answers.push_back(TAnswer(answer));
    prompt.FileNames.push_back(saveAs.isEmpty() ? saveAs : Path(saveAs));
    QCOMPARE(editor->close(), closes);
    QCOMPARE(prompt.Shown.contains(ExitQuestion), asked);
    if (!saveAs.isEmpty()) QCOMPARE(Contents(Path(saveAs)), QByteArray("halt"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(editor.isNull(), closes);  // a closed editor destroys itself
    delete editor;
}

void TAsmFileTest::CloseQueryShowsAMinimisedEditor() {
    TTestPrompt prompt;
    TAssemblerEditor editor;
    editor.showMinimized();
    editor.SetFileModified(true);
    QVERIFY(editor.isMinimized());
    QVERIFY(!editor.close());  // Cancel
    QCOMPARE(prompt.Shown, QStringList{ExitQuestion});
    QVERIFY(!editor.isMinimized());
    QVERIFY(editor.isVisible());
}

void TAsmFileTest::TypingIntoLoadedFileAsksOnClose_data() {
    QTest::addColumn<bool>("highlighting");
    QTest::newRow("highlighting on") << true;
    QTest::newRow("highlighting off") << false;
}

// However the file came in, the first key typed afterwards is an edit to be saved.
void TAsmFileTest::TypingIntoLoadedFileAsksOnClose() {
    QFETCH(bool, highlighting);
    TTestPrompt prompt;
    QPointer<TAssemblerEditor> editor = new TAssemblerEditor;
    editor->show();
    QApplication::setActiveWindow(editor);
    editor->TextEditor->setFocus();
    if (!highlighting) editor->MenuUseSyntaxHighlightClick();
    QCOMPARE(editor->MenuUseSyntaxHighlight->isChecked(), highlighting);
    const QString name = Path(QStringLiteral("typed.asm"));
    Put(name, "halt\r\n");
    QVERIFY(editor->LoadSourceFile(name));
    QVERIFY(!editor->FileModified());
    QTest::keyClicks(editor->TextEditor, QStringLiteral("x"));
    QVERIFY(editor->FileModified());
    QCOMPARE(editor->PanelText(1), QStringLiteral("Modified"));
    prompt.Answers.push_back(TAnswer::Cancel);
    QVERIFY(!editor->close());
    QCOMPARE(prompt.Shown, QStringList{ExitQuestion});
    QCOMPARE(Contents(name), QByteArray("halt\r\n"));
    delete editor;
}

void TAsmFileTest::PrintCancelledOrToPdf() {
    TTestPrompt prompt;
    TAssemblerEditor editor;
    editor.TextEditor->setPlainText(QStringLiteral("load R1,5 ; print me"));
    const QString pdf = Path(QStringLiteral("out.pdf"));
    editor.MenuPrintClick();
    QCOMPARE(prompt.PrintDialogs, 1);
    QVERIFY(!QFile::exists(pdf));
    prompt.PrintFile = pdf;
    editor.MenuPrintClick();
    QCOMPARE(prompt.PrintDialogs, 2);
    QVERIFY(Contents(pdf).startsWith("%PDF"));
    // What goes to the printer is the text with its highlighting as real formats.
    const std::unique_ptr<QTextDocument> printed = PrintableCopy(*editor.TextEditor->document());
    QCOMPARE(printed->toPlainText(), editor.TextEditor->toPlainText());
    QTextCursor cursor(printed.get());
    cursor.setPosition(1);
    QCOMPARE(cursor.charFormat().fontWeight(), int(QFont::Bold));  // "load"
    cursor.setPosition(9);
    QCOMPARE(cursor.charFormat().foreground().color(), QColor(0, 0, 255));  // "5"
    cursor.setPosition(13);
    QVERIFY(cursor.charFormat().fontItalic());  // the comment
}

QTEST_MAIN(TAsmFileTest)
#include "asmfile_test.moc"
