// The main window driven as a user would: files and their questions, the memory
// clipboard, run control, the disassembly list, the dialogs it opens, and closing.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "app/assembler.h"
#include "app/cleardialog.h"
#include "app/labelgrid.h"
#include "app/mainwin.h"
#include "controls/hexgrid.h"
#include "controls/showtext.h"
#include "core/memfile.h"
#include "gui/helpcontexts.h"
#include "gui/listfocus.h"
#include "gui/processvalues.h"
#include "gui/prompt.h"
#include "gui/shellopen.h"
#include "mainwinfixture.h"
#include "toplevel.h"

namespace {

const QString SaveQuestionOpen =
    "Save?|Memory Changed.\nDo you want to save before you open another file?";
const QString SaveQuestionExit = "Save?|Memory Changed.\nDo you want to save before you exit?";

// Runs action on the modal dialog once it is shown (the caller then opens it).
void WhenModal(std::function<void(QWidget*)> action) {
    QTimer::singleShot(0, [action] {
        if (QWidget* modal = QApplication::activeModalWidget())
            action(modal);
        else
            WhenModal(action);
    });
}

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

}  // namespace

class TMainWinTest : public QObject, TMainWinFixture {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    QList<QUrl> opened;  // what was handed to the desktop
    bool shellSucceeds = true;

    QString Path(const QString& name) const { return dir->filePath(name); }
    int Mem(int a) const { return w->MainMemory->GetContents(a); }
    int Pc() const { return w->SysRegs->GetContents(0); }
    int TopLine() const { return w->DisasmWin->verticalScrollBar()->value(); }
    void Load(int address, std::initializer_list<int> bytes) {
        for (int b : bytes) w->MainMemory->SetContents(address++, b);
    }
    QString Listed(int line) const { return w->DisasmWin->item(line)->text(); }

private slots:
    void init() {
        dir = std::make_unique<QTemporaryDir>();
        StartFresh(dir->path());
        opened.clear();
        shellSucceeds = true;
        SetShellOpen([this](const QUrl& url) {
            opened << url;
            return shellSucceeds;
        });
        QVERIFY(ShowWindow());
    }
    void cleanup() {
        CloseWindow();
        SetShellOpen({});
    }

    void EveryControlHasItsNameAndHelpContext_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("helpContext");
        const std::pair<const char*, int> controls[] = {{"MainMemory", 1},
                                                        {"Registers", 2},
                                                        {"SysRegs", 3},
                                                        {"ZeroPC", 4},
                                                        {"OpenButton", 5},
                                                        {"SaveButton", 6},
                                                        {"RunButton", 7},
                                                        {"StepButton", 8},
                                                        {"BreakButton", 9},
                                                        {"ResetButton", 10},
                                                        {"OutputBox", 11},
                                                        {"ViewAsmButton", 12},
                                                        {"DisasmWin", 13},
                                                        {"LabelsMem2", 14},
                                                        {"LabelsMem1", 15},
                                                        {"LabelsReg1", 16},
                                                        {"LabelsReg2", 17},
                                                        {"StatusBar", 18},
                                                        {"AssemblerButton", 19},
                                                        {"MenuHelpInstructions", 202},
                                                        {"MenuHelpSyntax", 203},
                                                        {"MainWin", 9999},
                                                        {"MenuStepBack", StepBackContext},
                                                        {"MenuRunToCursor", BreakpointsContext},
                                                        {"MenuBreak", DebugMenuContext}};
        for (const auto& [name, context] : controls) QTest::newRow(name) << name << context;
    }
    void EveryControlHasItsNameAndHelpContext() {
        QFETCH(QString, name);
        QFETCH(int, helpContext);
        QObject* found = w->objectName() == name ? w.get() : w->findChild<QObject*>(name);
        QVERIFY2(found, qPrintable(name));
        QCOMPARE(found->property("helpContext").toInt(), helpContext);
    }

    void ChangedCellsKeepTheGridsFace() {
        for (THexGrid* grid : {w->MainMemory, w->Registers}) {
            QCOMPARE(grid->FontChanged().Font.family(), grid->font().family());
            QVERIFY(grid->FontChanged().Font.bold());
            QCOMPARE(grid->FontChanged().Color, QColor(255, 96, 96));
        }
        QCOMPARE(w->SysRegs->FontChanged().Font.family(), w->SysRegs->font().family());
        QVERIFY(!w->SysRegs->FontChanged().Font.bold());
    }

    void StartsReadyWithNothingToSave() {
        QCOMPARE(w->windowTitle(), QString("Quarzel Simulator"));
        QCOMPARE(w->PanelText(0), QString("Address:"));
        QCOMPARE(w->PanelText(1), QString());
        QCOMPARE(w->PanelText(2), QString("Ready"));
        QCOMPARE(w->StatusColor(), QColor(Qt::black));
        QVERIFY(!w->SaveButton->isEnabled());
        QVERIFY(!w->MenuSaveFile->isEnabled());
        QVERIFY(w->RunButton->isEnabled());
        QVERIFY(!w->BreakButton->isEnabled());
        // The assembler editor is not offered until it is part of the program.
        QVERIFY(!w->AssemblerButton->isEnabled());
        QCOMPARE(w->LabelsMem1->Texts().first(), QString("..0"));
        QCOMPARE(w->LabelsMem1->Texts().last(), QString("..F"));
        QCOMPARE(w->LabelsMem2->Texts().last(), QString("F0"));
        QCOMPARE(w->LabelsReg1->Texts().last(), QString("RF"));
        QCOMPARE(w->LabelsReg2->Texts(), (QStringList{"PC", "IR"}));
        QCOMPARE(w->DisasmWin->count(), 128);
        QCOMPARE(Listed(0), QString("00:  00,00  invalid"));
        QCOMPARE(Listed(127), QString("FE:  00,00  invalid"));
        QCOMPARE(OnlyTopLevelWindow<TMainWin>("MainWin"), w.get());
    }

    void TabWalksTheControlsInOrder() {
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        w->MainMemory->setFocus();
        QStringList walked{QApplication::focusWidget()->objectName()};
        for (int i = 0; i < 9; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            walked << QApplication::focusWidget()->objectName();
        }
        // Asm, Save and Break are disabled at first and so are passed over.
        QCOMPARE(walked, (QStringList{"MainMemory", "Registers", "SysRegs", "ZeroPC", "DisasmWin",
                                      "ViewAsmButton", "OpenButton", "RunButton", "StepButton",
                                      "ResetButton"}));
    }

    void AltRClicksTheRunButtonThoughTheRunMenuSharesTheLetter() {
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        w->MainMemory->setFocus();
        for (int pc : {2, 4}) {  // memory is all zeros: each run stops after one word
            QTest::keyClick(w.get(), Qt::Key_R, Qt::AltModifier);
            QTRY_COMPARE(Pc(), pc);
            QTRY_COMPARE(w->PanelText(2), QString("Invalid instruction"));
            QVERIFY(!QApplication::activePopupWidget());
        }
    }

    // Every entry as "caption|key|hint", a separator as "-".
    static QStringList Entries(const QMenu* menu) {
        QStringList entries;
        for (const QAction* action : menu->actions()) {
            entries << (action->isSeparator()
                            ? QString("-")
                            : action->text() + "|" + action->shortcut().toString() + "|" +
                                  action->statusTip());
        }
        return entries;
    }

    void MenusOfferTheirEntriesKeysAndHints_data() {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("File") << "&File"
                              << QStringList{"&Open...|Ctrl+O|Open file with data for main memory",
                                             "&Save|Ctrl+S|Save main memory to file",
                                             "Save &As...||Save with different filename", "-",
                                             "E&xit||Exit Quarzel Simulator"};
        QTest::newRow("Edit") << "&Edit"
                              << QStringList{"Cu&t|Ctrl+X|", "&Copy|Ctrl+C|", "&Paste|Ctrl+V|", "-",
                                             "Select &All|Ctrl+A|"};
        QTest::newRow("Run") << "&Run"
                             << QStringList{"&Run|F9|Run program in main memory",
                                            "&Step|F8|Execute one instruction",
                                            "Step &Back|Shift+F8|Take back the last executed "
                                            "instruction",
                                            "Run B&ack|Shift+F9|Take back executed instructions "
                                            "until the start of the history",
                                            "Break|Shift+F5|Pause execution",
                                            "&Clear|Ctrl+F2|Reset program counter",
                                            "-",
                                            "&Predict Mode||Say what each step will change "
                                            "before it runs",
                                            "&Trace...||Show the executed instructions",
                                            "-",
                                            "Toggle Brea&kpoint|F5|",
                                            "Run to C&ursor|Ctrl+F10|Run until the program "
                                            "reaches the chosen line",
                                            "Remove All Breakpoi&nts||",
                                            "Sp&eed||"};
        QTest::newRow("Help")
            << "&Help"
            << QStringList{"&Instructions||Help about the instructions of the Quarzel Simulator",
                           "Assembler &Syntax||Help about the syntax of the Quarzel Assembler",
                           "&Web help||General help about the Quarzel Simulator",
                           "-",
                           "&Options...||",
                           "-",
                           "&About...||Display the About box"};
        QTest::newRow("MainMemoryPopup")
            << "MainMemoryPopup"
            << QStringList{"Clear|Del|",     "-", "Cu&t|Ctrl+X|",       "&Copy|Ctrl+C|",
                           "&Paste|Ctrl+V|", "-", "Select &All|Ctrl+A|"};
        QTest::newRow("RegistersPopup") << "RegistersPopup" << QStringList{"Clear|Del|"};
    }
    void MenusOfferTheirEntriesKeysAndHints() {
        QFETCH(QString, menu);
        QFETCH(QStringList, entries);
        const QMenu* found = w->findChild<QMenu*>(menu);
        for (const QAction* top : w->menuBar()->actions())
            if (top->text() == menu) found = top->menu();
        QVERIFY2(found, qPrintable(menu));
        QCOMPARE(Entries(found), entries);
    }
    void MenuBarHasItsMenusInOrder() {
        QStringList titles;
        for (const QAction* top : w->menuBar()->actions()) titles << top->text();
        QCOMPARE(titles, (QStringList{"&File", "&Edit", "&Run", "&View", "&Help"}));
    }

    void ControlsShowTheirCaptionsAndHints_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("hint");
        const char* const buttons[][3] = {
            {"ZeroPC", "=0", "Zero PC"},
            {"OpenButton", "&Open...", "Open a file from disk"},
            {"SaveButton", "&Save", "Save file to disk"},
            {"RunButton", "&Run", "Run program"},
            {"StepButton", "S&tep", "Execute one instruction"},
            {"BreakButton", "Break", "Pause execution"},
            {"ResetButton", "Clear...", "Reset memory or registers"},
            {"AssemblerButton", "&Asm", "Assembler editor"},
            {"ViewAsmButton", "&Disasm", "View disassembled instructions"},
            {"Registers", "", "General Purpose Registers"},
            {"LabelsReg1", "", "General Purpose Registers"},
            {"SysRegs", "", "System Registers"},
            {"LabelsReg2", "", "System Registers"},
            {"DisasmWin", "", "Disassembler window"},
            {"OutputBox", "", "Output Window"}};
        for (const auto& [name, caption, hint] : buttons)
            QTest::newRow(name) << name << caption << hint;
    }
    void ControlsShowTheirCaptionsAndHints() {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, hint);
        const auto* control = w->findChild<QWidget*>(name);
        QVERIFY2(control, qPrintable(name));
        if (const auto* button = qobject_cast<const QPushButton*>(control))
            QCOMPARE(button->text(), caption);
        else
            QVERIFY(caption.isEmpty());
        QCOMPARE(control->toolTip(), hint);
    }

    // --- files ---------------------------------------------------------------------

    void SaveAsThenOpenRoundTrip() {
        Load(0x00, {0x41});
        Load(0xFF, {0x12});
        QVERIFY(w->MemModified());
        QVERIFY(w->SaveButton->isEnabled());
        prompt->FileNames = {Path("prog.prg")};
        QVERIFY(w->SaveFileClick());  // no name yet: Save As
        QCOMPARE(prompt->Requests.last().Title, QString("Save Program File"));
        QCOMPARE(prompt->Requests.last().Directory, ProcessValues().TempDir);
        const QByteArray bytes = FileBytes(Path("prog.prg"));
        QCOMPARE(bytes.size(), 1024);
        QCOMPARE(bytes.mid(0, 4), QByteArray("\x41\0\0\0", 4));
        QCOMPARE(bytes.mid(1020, 4), QByteArray("\x12\0\0\0", 4));
        QVERIFY(!w->MemModified());
        QCOMPARE(w->windowTitle(), "Quarzel Simulator - " + Path("prog.prg"));
        QCOMPARE(w->MemFileName(), Path("prog.prg"));
        QCOMPARE(ProcessValues().CurrentMemFile, Path("prog.prg"));

        Load(0x00, {0x99});
        QVERIFY(w->SaveFileClick());  // now saves to the same name without asking
        QCOMPARE(prompt->Requests.size(), 1);
        QCOMPARE(FileBytes(Path("prog.prg")).at(0), char(0x99));

        Load(0x00, {0x55, 0x66});
        w->SysRegs->SetContents(0, 0x31);
        prompt->Answers = {TAnswer::No};
        prompt->FileNames = {Path("prog.prg")};
        w->OpenFileClick();
        QCOMPARE(prompt->Shown, QStringList{SaveQuestionOpen});
        QCOMPARE(Mem(0), 0x99);
        QCOMPARE(Mem(1), 0);
        QCOMPARE(Mem(0xFF), 0x12);
        QCOMPARE(Pc(), 0);
        QVERIFY(!w->MemModified());
        QCOMPARE(SelectedRow(*w->DisasmWin), 0);
        QCOMPARE(Listed(0), QString("00:  99,00  xor   R9,R0,R0   ;..."));
        QCOMPARE(prompt->Requests.last().Title, QString("Open Program File"));
        QCOMPARE(prompt->Requests.last().Filters, QStringList{"Program Files (*.prg)"});
    }

    void OpenFailuresLeaveMemoryAndCaption_data() {
        QTest::addColumn<QByteArray>("content");  // empty: no file at all
        QTest::addColumn<QString>("message");     // %1: the path
        QTest::newRow("missing") << QByteArray() << "Error|Cannot open file %1";
        QTest::newRow("1023 bytes") << QByteArray(1023, '\0') << "Error|Stream read error";
        QByteArray notByte(1024, '\0');
        notByte[4 * 0x10 + 1] = 1;  // entry 10 holds 256
        QTest::newRow("entry not a byte")
            << notByte
            << "Error|The file holds the value 256 at address 10, which is not a byte "
               "(0..255); it was not written by this program.";
    }
    void OpenFailuresLeaveMemoryAndCaption() {
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        const QString path = Path("bad.prg");
        if (!content.isEmpty()) WriteBytes(path, content);
        Load(0x00, {0x12, 0x34});
        w->SysRegs->SetContents(0, 0x21);
        prompt->Answers = {TAnswer::No};
        prompt->FileNames = {path};
        w->OpenFileClick();
        QCOMPARE(prompt->Shown.last(), QString(message).replace("%1", path));
        QCOMPARE(Mem(0), 0x12);
        QCOMPARE(Mem(1), 0x34);
        QCOMPARE(w->windowTitle(), QString("Quarzel Simulator"));
        // A failed load still starts over at PC 0 and names the file it tried.
        QCOMPARE(Pc(), 0);
        QVERIFY(!w->MemModified());
        QCOMPARE(ProcessValues().CurrentMemFile, path);
    }

    void LongerFileLoadsFromItsFirst1024Bytes() {
        QByteArray content(2000, '\x07');
        content.replace(0, 4, QByteArray("\x2F\0\0\0", 4));
        for (int a = 1; a < 256; ++a) content.replace(4 * a, 4, QByteArray("\0\0\0\0", 4));
        WriteBytes(Path("long.prg"), content);
        prompt->FileNames = {Path("long.prg")};
        w->OpenFileClick();
        QVERIFY(prompt->Shown.isEmpty());
        QCOMPARE(Mem(0), 0x2F);
        QCOMPARE(Mem(0xFF), 0);
    }

    void FailedSaveKeepsTheMark() {
        Load(0x00, {0x41});
        const QString path = dir->path() + "/no such folder/prog.prg";
        prompt->FileNames = {path};
        QVERIFY(!w->MenuSaveAsFileClick());
        QCOMPARE(prompt->Shown, QStringList{"Error|Cannot create file " + path});
        QVERIFY(w->MemModified());
        QVERIFY(w->SaveButton->isEnabled());
        QCOMPARE(w->PanelText(1), QString("Modified"));
        QCOMPARE(w->windowTitle(), QString("Quarzel Simulator"));
        QVERIFY(w->MemFileName().isEmpty());
    }

    void SaveAsProposesFolderAndBaseName_data() {
        QTest::addColumn<QString>("current");
        QTest::addColumn<QString>("folder");  // "<temp>": the temporary folder
        QTest::addColumn<QString>("name");
        QTest::newRow("nothing yet") << ""
                                     << "<temp>"
                                     << "";
        QTest::newRow("full path") << "/a/b/prog.prg"
                                   << "/a/b"
                                   << "prog";
        QTest::newRow("two dots") << "/a/b/prog.v2.prg"
                                  << "/a/b"
                                  << "prog.v2";
        QTest::newRow("no extension") << "/a/b/prog"
                                      << "/a/b"
                                      << "";
        QTest::newRow("dot in a folder only") << "/a.d/prog"
                                              << "/a.d"
                                              << "";
        QTest::newRow("no folder") << "prog.prg"
                                   << ""
                                   << "prog";
        QTest::newRow("at the root") << "/prog.prg"
                                     << ""
                                     << "prog";
    }
    void SaveAsProposesFolderAndBaseName() {
        QFETCH(QString, current);
        QFETCH(QString, folder);
        QFETCH(QString, name);
        ProcessValues().CurrentMemFile = current;
        QVERIFY(!w->MenuSaveAsFileClick());  // cancelled
        const TFileDialogRequest& request = prompt->Requests.last();
        QCOMPARE(request.Directory, folder == "<temp>" ? ProcessValues().TempDir : folder);
        QCOMPARE(request.FileName, name);
        QCOMPARE(request.DefaultSuffix, QString("prg"));
    }

    void OpenThenSaveAsksForANameInTheOpenedFolder() {
        WriteMemoryFile(Path("first.prg").toStdString(), TMemoryImage{});
        prompt->FileNames = {Path("first.prg")};
        w->OpenFileClick();
        QCOMPARE(prompt->Requests.last().Directory, ProcessValues().TempDir);
        Load(0, {1});
        QVERIFY(!w->SaveFileClick());  // the Save As dialog is cancelled
        QCOMPARE(prompt->Requests.last().Title, QString("Save Program File"));
        QCOMPARE(prompt->Requests.last().Directory, dir->path());
        QCOMPARE(prompt->Requests.last().FileName, QString("first"));
        prompt->FileNames = {Path("first.prg")};
        w->OpenFileClick();  // Cancel to "Save?": nothing happens
        QCOMPARE(prompt->Requests.last().Title, QString("Save Program File"));
        QCOMPARE(Mem(0), 1);
    }

    void SaveQuestionBeforeOpen_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("saveAs");  // the name given to Save As, "" cancels it
        QTest::addColumn<bool>("opens");
        QTest::newRow("Yes, saved") << int(TAnswer::Yes) << "kept.prg" << true;
        QTest::newRow("Yes, save cancelled") << int(TAnswer::Yes) << "" << false;
        QTest::newRow("Yes, save fails") << int(TAnswer::Yes) << "missing/kept.prg" << false;
        QTest::newRow("No") << int(TAnswer::No) << "" << true;
        QTest::newRow("Cancel") << int(TAnswer::Cancel) << "" << false;
    }
    void SaveQuestionBeforeOpen() {
        QFETCH(int, answer);
        QFETCH(QString, saveAs);
        QFETCH(bool, opens);
        WriteMemoryFile(Path("other.prg").toStdString(), TMemoryImage{0x2F});
        Load(0, {0x77});
        prompt->Answers = {TAnswer(answer)};
        if (TAnswer(answer) == TAnswer::Yes)
            prompt->FileNames.push_back(saveAs.isEmpty() ? "" : Path(saveAs));
        prompt->FileNames.push_back(Path("other.prg"));
        w->OpenFileClick();
        QCOMPARE(prompt->Shown.value(0), SaveQuestionOpen);
        QCOMPARE(Mem(0), opens ? 0x2F : 0x77);
        QCOMPARE(w->MemModified(), !opens);
        QCOMPARE(w->windowTitle(),
                 opens ? "Quarzel Simulator - " + Path("other.prg") : QString("Quarzel Simulator"));
        if (saveAs.contains('/'))
            QCOMPARE(prompt->Shown.value(1), "Error|Cannot create file " + Path(saveAs));
        else if (!saveAs.isEmpty())
            QCOMPARE(FileBytes(Path(saveAs)).at(0), char(0x77));
    }

    void SaveQuestionBeforeClosing_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("saveAs");
        QTest::addColumn<bool>("closes");
        QTest::newRow("Yes, saved") << int(TAnswer::Yes) << "kept.prg" << true;
        QTest::newRow("Yes, save cancelled") << int(TAnswer::Yes) << "" << false;
        QTest::newRow("Yes, save fails") << int(TAnswer::Yes) << "missing/kept.prg" << false;
        QTest::newRow("No") << int(TAnswer::No) << "" << true;
        QTest::newRow("Cancel") << int(TAnswer::Cancel) << "" << false;
    }
    void SaveQuestionBeforeClosing() {
        QFETCH(int, answer);
        QFETCH(QString, saveAs);
        QFETCH(bool, closes);
        Load(0, {0x77});
        prompt->Answers = {TAnswer(answer)};
        prompt->FileNames = {saveAs.isEmpty() ? "" : Path(saveAs)};
        QCOMPARE(w->close(), closes);
        QCOMPARE(prompt->Shown.value(0), SaveQuestionExit);
        QCOMPARE(w->isVisible(), !closes);
        QCOMPARE(w->MemModified(), !closes || TAnswer(answer) == TAnswer::No);
        if (saveAs.contains('/'))
            QCOMPARE(prompt->Shown.value(1), "Error|Cannot create file " + Path(saveAs));
        else if (!saveAs.isEmpty())
            QCOMPARE(FileBytes(Path(saveAs)).at(0), char(0x77));
    }

    void UnmodifiedMemoryClosesWithoutAsking() {
        QVERIFY(w->close());
        QVERIFY(prompt->Shown.isEmpty());
    }

    void OtherWindowsAreAskedNewestFirst_data() {
        QTest::addColumn<QString>("answers");  // of the older and the newer window
        QTest::addColumn<QStringList>("asked");
        QTest::addColumn<bool>("closes");
        QTest::newRow("both agree") << "yy" << QStringList{"newer", "older"} << true;
        QTest::newRow("newer refuses") << "yn" << QStringList{"newer"} << false;
        QTest::newRow("older refuses") << "ny" << QStringList{"newer", "older"} << false;
    }
    void OtherWindowsAreAskedNewestFirst() {
        QFETCH(QString, answers);
        QFETCH(QStringList, asked);
        QFETCH(bool, closes);
        QWidget older, newer, hidden;
        QStringList askedNow;
        w->RegisterWindow(&older, [&] { return askedNow << "older", answers[0] == 'y'; });
        w->RegisterWindow(&newer, [&] { return askedNow << "newer", answers[1] == 'y'; });
        w->RegisterWindow(&hidden, [&] { return askedNow << "hidden", false; });
        older.show();
        newer.show();
        {
            auto gone = std::make_unique<QWidget>();
            gone->show();
            w->RegisterWindow(gone.get(), [&] { return askedNow << "gone", false; });
        }
        Load(0, {1});
        prompt->Answers = {TAnswer::No};
        QCOMPARE(w->close(), closes);
        QCOMPARE(askedNow, asked);
        QCOMPARE(prompt->Shown.size(), closes ? 1 : 0);  // memory is asked about last
        QCOMPARE(older.isVisible(), !closes);
    }

    void ClosingWhileRunningBreaksFirst() {
        Load(0, {0xB0, 0x00});  // jmp 00
        w->RunSimulator();
        QTest::qWait(20);
        QVERIFY(w->Running());
        w->SetMemModified(false);
        QVERIFY(w->close());
        QVERIFY(!w->Running());
        QCOMPARE(w->PanelText(2), QString("Ready"));
    }

    // --- memory clipboard and selection --------------------------------------------

    void PasteOfTenCellsAtFAStopsAtFF() {
        for (int i = 0; i < 10; ++i) Load(0x10 + i, {0xA0 + i});
        w->MainMemory->SetSelStart(0x10);
        w->MainMemory->SetSelEnd(0x19);
        w->MenuCopy->trigger();
        w->MainMemory->SetSelStart(-1);
        w->MainMemory->SetSelStart(0xFA);
        w->MenuPaste->trigger();
        for (int i = 0; i < 6; ++i) QCOMPARE(Mem(0xFA + i), 0xA0 + i);
        QCOMPARE(Mem(0x00), 0);  // no wrap to 00
        QCOMPARE(Mem(0x03), 0);
        w->MainMemory->SetSelStart(-1);
        w->MainMemory->SetSelStart(0x40);
        w->MenuPaste->trigger();  // the clipboard keeps its contents
        for (int i = 0; i < 10; ++i) QCOMPARE(Mem(0x40 + i), 0xA0 + i);
        QVERIFY(prompt->Shown.isEmpty());
    }

    void PasteWarnings_data() {
        QTest::addColumn<bool>("copyFirst");
        QTest::addColumn<int>("selStart");
        QTest::addColumn<int>("selEnd");
        QTest::addColumn<QString>("warning");
        const QString nothing = "Error|Nothing on the clipboard to paste.";
        const QString noDestination =
            "Error|No destination selected.\nSelect one cell to mark the start of the "
            "destination.";
        QTest::newRow("empty clipboard") << false << 5 << 5 << nothing;
        QTest::newRow("range selected") << true << 5 << 9 << noDestination;
        QTest::newRow("nothing selected") << true << -1 << -1 << noDestination;
    }
    void PasteWarnings() {
        QFETCH(bool, copyFirst);
        QFETCH(int, selStart);
        QFETCH(int, selEnd);
        QFETCH(QString, warning);
        Load(0x00, {0x11, 0x22});
        if (copyFirst) {
            w->MainMemory->SetSelStart(0);
            w->MainMemory->SetSelEnd(1);
            w->MenuCopy->trigger();
            w->MainMemory->SetSelStart(-1);
        }
        w->MainMemory->SetSelStart(selStart);
        w->MainMemory->SetSelEnd(selEnd);
        w->MenuPaste->trigger();
        QCOMPARE(prompt->Shown, QStringList{warning});
        for (int a = 2; a < 256; ++a) QCOMPARE(Mem(a), 0);
    }

    void CutClearsWhatItCopies() {
        Load(0x20, {1, 2, 3});
        w->SetMemModified(false);
        w->MainMemory->SetSelStart(0x20);
        w->MainMemory->SetSelEnd(0x21);
        w->MenuCut->trigger();
        QCOMPARE(Mem(0x20), 0);
        QCOMPARE(Mem(0x21), 0);
        QCOMPARE(Mem(0x22), 3);
        QVERIFY(w->MemModified());
        w->MainMemory->SetSelStart(-1);
        w->MainMemory->SetSelStart(0x30);
        w->MenuPaste->trigger();
        QCOMPARE(Mem(0x30), 1);
        QCOMPARE(Mem(0x31), 2);
    }

    void PopupClearWithoutSelectionClearsAllMemory() {
        for (int a = 0; a < 256; a += 17) Load(a, {0x5A});
        w->SetMemModified(false);
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        w->MainMemory->setFocus();
        QTest::keyClick(w->MainMemory, Qt::Key_Delete);  // the pop-up's Clear
        for (int a = 0; a < 256; ++a) QCOMPARE(Mem(a), 0);
        QCOMPARE(w->PanelText(1), QString("Modified"));
        w->Registers->SetContents(3, 9);
        w->Registers->SetContents(15, 'x');
        w->Registers->setFocus();
        QTest::keyClick(w->Registers, Qt::Key_Delete);
        QCOMPARE(w->Registers->GetContents(3), 0);
        QCOMPARE(w->Registers->GetContents(15), 0);
        QCOMPARE(w->OutputBox->Lines().at(0), std::string("x"));  // code 0 adds nothing
    }

    void EditMenuOffersWhatCanBeDone() {
        w->EditMenuClick();
        QVERIFY(!w->MenuCut->isEnabled());
        QVERIFY(!w->MenuCopy->isEnabled());
        QVERIFY(!w->MenuPaste->isEnabled());
        w->MenuSelectAllClick();
        QCOMPARE(w->MainMemory->GetSelLo(), 0);
        QCOMPARE(w->MainMemory->GetSelHi(), 255);
        w->MenuCopyClick();
        w->EditMenuClick();
        QVERIFY(w->MenuCut->isEnabled());
        QVERIFY(w->MenuCopy->isEnabled());
        QVERIFY(w->MenuPaste->isEnabled());
    }

    void SelectionTexts_data() {
        QTest::addColumn<int>("selStart");
        QTest::addColumn<int>("selEnd");
        QTest::addColumn<QString>("text");
        QTest::newRow("one cell") << 17 << 17 << "Selected: 17";
        QTest::newRow("forwards") << 12 << 20 << "Selected: 12-20";
        QTest::newRow("backwards") << 32 << 18 << "Selected: 18-32";
        QTest::newRow("none") << -1 << -1 << "No Selection";
    }
    void SelectionTexts() {
        QFETCH(int, selStart);
        QFETCH(int, selEnd);
        QFETCH(QString, text);
        w->MainMemory->SetSelStart(100);
        w->MainMemory->SetSelStart(selStart);
        w->MainMemory->SetSelEnd(selEnd);
        QCOMPARE(w->PanelText(2), text);
        QCOMPARE(w->StatusColor(), QColor(0, 0, 192));
    }

    void ClickingACellShowsItsAddress() {
        const QRect cell = w->MainMemory->CellRect(1, 1);
        QTest::mouseClick(w->MainMemory, Qt::LeftButton, {}, cell.center());
        QCOMPARE(w->PanelText(0), QString("Address: 17"));
        QCOMPARE(w->PanelText(2), QString("Selected: 17"));
    }

    void RegistersKeepNoSelectionAndIRIsNotEditable() {
        QTest::mouseClick(w->Registers, Qt::LeftButton, {}, w->Registers->CellRect(0, 3).center());
        QCOMPARE(w->Registers->SelStart(), -1);
        QCOMPARE(w->Registers->SelEnd(), -1);
        QTest::mouseClick(w->SysRegs, Qt::LeftButton, {}, w->SysRegs->CellRect(0, 1).center());
        QCOMPARE(w->SysRegs->SelStart(), -1);
        QCOMPARE(w->SysRegs->Row(), 0);
        QCOMPARE(w->SysRegs->GetEditLimit(0, 1), 4);
        QCOMPARE(w->SysRegs->GetEditLimit(0, 0), 2);
    }

    // A name of any length is quoted with its start and end in a message of bounded size.
    void LongNamesAreCutInMessages() {
        QString path = dir->path();
        for (int i = 0; i < 20; ++i) path += "/" + QString(100, u'd');
        path += "/end.prg";
        prompt->FileNames = {path};
        w->OpenFileClick();
        QCOMPARE(prompt->Shown.size(), 1);
        const QString shown = prompt->Shown.first();
        QVERIFY(shown.startsWith("Error|Cannot open file " + dir->path()));
        QVERIFY(shown.endsWith("/end.prg"));
        QVERIFY(shown.contains("..."));
        QVERIFY(shown.size() <= int(sizeof "Error|") + MaxMessageLine);
    }

    void OpenForgetsTheNameSavedBefore() {
        prompt->FileNames = {Path("first.prg")};
        Load(0, {0x11});
        QVERIFY(w->SaveFileClick());
        WriteMemoryFile(Path("other.prg").toStdString(), TMemoryImage{});
        prompt->FileNames = {Path("other.prg")};
        w->OpenFileClick();
        QCOMPARE(w->MemFileName(), QString());
        Load(0, {0x22});
        QVERIFY(!w->SaveFileClick());  // asks for a name, and the dialog is cancelled
        QCOMPARE(prompt->Requests.last().Title, QString("Save Program File"));
        QCOMPARE(FileBytes(Path("first.prg")).at(0), char(0x11));
    }

    void TextThatIsNotHexLeavesTheStoredValue_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("counts");
        QTest::newRow("letters") << "zz" << 0x42;
        QTest::newRow("sign") << "-1" << 0x42;
        QTest::newRow("valid") << "7e" << 0x7E;
    }
    void TextThatIsNotHexLeavesTheStoredValue() {
        QFETCH(QString, typed);
        QFETCH(int, counts);
        Load(0x05, {0x42});
        w->MainMemory->SetCol(5);
        w->MainMemory->SetRow(0);
        w->MainMemory->ShowEditor();
        w->MainMemory->InplaceEditor()->setText(typed);  // as a paste leaves it
        w->MainMemory->InplaceEditor()->setModified(true);
        w->MainMemory->SetSelStart(5);
        w->MainMemory->SetSelEnd(5);
        w->MenuCopy->trigger();
        prompt->FileNames = {Path("cell.prg")};
        QVERIFY(w->SaveFileClick());
        QCOMPARE(static_cast<unsigned char>(FileBytes(Path("cell.prg")).at(5 * 4)), counts);
        w->MainMemory->HideEditor();
        w->MainMemory->SetSelStart(0x30);
        w->MainMemory->SetSelEnd(0x30);
        w->MenuPaste->trigger();
        QCOMPARE(Mem(0x30), counts);
    }

    void PcLineComesIntoViewEvenWhenAlreadyCurrent_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::newRow("00 to 01") << 0x00 << 0x01;
        QTest::newRow("00 again") << 0x00 << 0x00;
        QTest::newRow("40 again") << 0x40 << 0x40;
    }
    void PcLineComesIntoViewEvenWhenAlreadyCurrent() {
        QFETCH(int, from);
        QFETCH(int, to);
        w->SysRegs->SetContents(0, from);
        w->DisasmWin->verticalScrollBar()->setValue(from < 0x40 ? 100 : 0);  // scrolled away
        w->SysRegs->SetContents(0, to);
        const QRect line =
            w->DisasmWin->visualItemRect(w->DisasmWin->item(SelectedRow(*w->DisasmWin)));
        QVERIFY(w->DisasmWin->viewport()->rect().contains(line));
    }

    void PanelTextsFit_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("panel");
        QTest::newRow("address 240") << "Address: 240" << 0;
        QTest::newRow("address 255") << "Address: 255" << 0;
        QTest::newRow("modified") << "Modified" << 1;
    }
    void PanelTextsFit() {
        QFETCH(QString, text);
        QFETCH(int, panel);
        auto* label = w->findChild<QLabel*>(QString("StatusPanel%1").arg(panel));
        QVERIFY(label);
        QVERIFY(label->fontMetrics().horizontalAdvance(text) <= label->contentsRect().width());
    }
    void IrAndTheOutputFitTheirBoxes() {
        // IR's four digits are inside its grid, and "=0" beside it.
        const QRect ir = w->SysRegs->CellRect(0, 1);
        QVERIFY(w->SysRegs->rect().contains(ir));
        QVERIFY(w->SysRegs->width() >= w->SysRegs->sizeHint().width());
        QVERIFY(w->ZeroPC->x() > w->SysRegs->geometry().right());
        QCOMPARE(w->OutputBox->size(), QSize(153, 57));
        QVERIFY(w->OutputBox->Rows() >= 4);
        QVERIFY(w->OutputBox->Columns() >= 19);
    }

    void ATypedProgramStepsRunsAndPrints() {
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QTest::mouseClick(w->MainMemory, Qt::LeftButton, {},
                          w->MainMemory->CellRect(0, 0).center());
        for (const char* typed : {"2F", "48", "2F", "69", "C0", "00"}) {
            for (const char* c = typed; *c; ++c) {  // a key at a time, as a person types
                QTest::keyClick(QApplication::focusWidget(), *c);
                QCoreApplication::processEvents();
            }
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        }
        QCOMPARE(Mem(0x04), 0xC0);
        QVERIFY(w->MemModified());
        QCOMPARE(Listed(1), QString("02:  2F,69  load  RF,69      ;... ($69=105)"));
        w->StepSimulator();
        QCOMPARE(w->OutputBox->Lines().at(0), std::string("H"));
        w->RunSimulator();
        QTRY_COMPARE(w->PanelText(2), QString("Halted"));
        QCOMPARE(w->OutputBox->Lines().at(0), std::string("Hi"));
    }

    void AModalDialogHoldsTheRun() {
        Load(0x00, {0x51, 0x12, 0x31, 0x80, 0xB0, 0x00});  // addi R1,R1,R2; store; jmp 00
        w->Registers->SetContents(2, 1);
        w->RunSimulator();
        QTRY_VERIFY(Mem(0x80) != 0);
        int before = -1, after = -2;
        WhenModal([&](QWidget* modal) {
            before = Mem(0x80);
            QTest::qWait(30);
            after = Mem(0x80);
            modal->close();
        });
        w->ClearSimulator();
        QCOMPARE(after, before);
        QVERIFY(w->Running());
        w->BreakSimulator();
    }

    // --- run control ---------------------------------------------------------------

    void RunEndsByHaltOrInvalidInstruction_data() {
        QTest::addColumn<QList<int>>("program");  // from address 10, PC 10
        QTest::addColumn<QString>("status");
        QTest::addColumn<int>("pc");
        QTest::addColumn<QString>("output");
        QTest::newRow("halt") << QList<int>{0x2F, 0x48, 0x2F, 0x69, 0xC0, 0x00} << "Halted" << 0x16
                              << "Hi";
        QTest::newRow("zeros") << QList<int>{} << "Invalid instruction" << 0x12 << "";
        QTest::newRow("ror with X set")
            << QList<int>{0xA2, 0x10} << "Invalid instruction" << 0x12 << "";
    }
    void RunEndsByHaltOrInvalidInstruction() {
        QFETCH(QList<int>, program);
        QFETCH(QString, status);
        QFETCH(int, pc);
        QFETCH(QString, output);
        for (int i = 0; i < program.size(); ++i) Load(0x10 + i, {program[i]});
        w->SysRegs->SetContents(0, 0x10);
        QTest::mouseClick(w->RunButton, Qt::LeftButton);
        QCOMPARE(w->PanelText(2), QString("Running..."));
        QVERIFY(!w->RunButton->isEnabled());
        QVERIFY(w->BreakButton->isEnabled());
        QTRY_VERIFY(w->RunButton->isEnabled());
        QVERIFY(!w->BreakButton->isEnabled());
        QCOMPARE(w->PanelText(2), status);
        QCOMPARE(w->StatusColor(), QColor(255, 0, 0));
        QCOMPARE(Pc(), pc);
        QCOMPARE(SelectedRow(*w->DisasmWin), pc / 2);
        const auto& lines = w->OutputBox->Lines();
        QCOMPARE(QString::fromStdString(lines.empty() ? "" : lines[0]), output);
    }

    void BreakEndsARunBetweenTwoInstructions() {
        Load(0x00, {0x51, 0x12, 0x31, 0x80, 0xB0, 0x00});  // addi R1,R1,R2; store; jmp 00
        w->Registers->SetContents(2, 1);
        QTest::keyClick(w.get(), Qt::Key_F9);
        QTRY_VERIFY(Mem(0x80) != 0);
        QTest::keyClick(w.get(), Qt::Key_F9);  // Run again while running changes nothing
        QVERIFY(w->Running());
        QTest::mouseClick(w->BreakButton, Qt::LeftButton);
        QVERIFY(!w->Running());
        QCOMPARE(w->PanelText(2), QString("Ready"));
        QCOMPARE(w->StatusColor(), QColor(Qt::black));
        QVERIFY(w->RunButton->isEnabled());
        QVERIFY(!w->BreakButton->isEnabled());
        QVERIFY(Pc() == 0 || Pc() == 2 || Pc() == 4);
        const int stored = Mem(0x80);
        QTest::qWait(20);
        QCOMPARE(Mem(0x80), stored);  // nothing runs after Break
        // The program's own stores never mark memory modified.
        w->SetMemModified(false);
        w->RunSimulator();
        QTRY_VERIFY(Mem(0x80) != stored);
        w->BreakSimulator();
        QVERIFY(!w->MemModified());
    }

    void StepAfterAHaltGoesOn() {
        Load(0x10, {0xC0, 0x00, 0x2F, 0x41, 0x2F, 0x41});
        w->SysRegs->SetContents(0, 0x10);
        QTest::keyClick(w.get(), Qt::Key_F8);
        QCOMPARE(w->PanelText(2), QString("Halted"));
        QCOMPARE(Pc(), 0x12);
        QCOMPARE(w->SysRegs->GetContents(1), 0xC000);
        QTest::mouseClick(w->StepButton, Qt::LeftButton);
        QCOMPARE(w->PanelText(2), QString("Ready"));
        QCOMPARE(w->StatusColor(), QColor(Qt::black));
        w->StepSimulator();
        QCOMPARE(w->OutputBox->Lines().at(0), std::string("AA"));
        QCOMPARE(Pc(), 0x16);
        QVERIFY(w->RunButton->isEnabled());
    }

    void ZeroPCAndDoubleClickSetPC() {
        w->SysRegs->SetContents(0, 0x31);
        QTest::mouseClick(w->ZeroPC, Qt::LeftButton);
        QCOMPARE(Pc(), 0);
        QCOMPARE(SelectedRow(*w->DisasmWin), 0);
        w->DisasmWin->setCurrentRow(5);
        w->DisasmWinDblClick();
        QCOMPARE(Pc(), 10);
        w->SysRegs->SetContents(0, 0x21);
        w->DisasmWin->setCurrentRow(5);
        w->DisasmWinDblClick();
        QCOMPARE(Pc(), 11);
        QCOMPARE(SelectedRow(*w->DisasmWin), 5);
    }

    // --- disassembly list ----------------------------------------------------------

    void PcParityChoosesTheAlignment() {
        Load(0x00, {0x12});
        Load(0xFF, {0x20});
        w->SysRegs->SetContents(0, 2);
        w->SysRegs->SetContents(0, 4);
        QCOMPARE(Listed(0), QString("00:  12,00  load  R2,[00]    ;..."));
        QCOMPARE(SelectedRow(*w->DisasmWin), 2);
        w->SysRegs->SetContents(0, 3);  // odd: every line is rebuilt
        QCOMPARE(Listed(0), QString("01:  00,00  invalid"));
        QCOMPARE(Listed(127), QString("FF:  20,12  load  R0,12      ;... ($12=18)"));
        QCOMPARE(SelectedRow(*w->DisasmWin), 1);
        Load(0x00, {0x34});  // the byte at 00 belongs to the line of FF
        QCOMPARE(Listed(127), QString("FF:  20,34  load  R0,34      ;... ($34=52)"));
        w->SysRegs->SetContents(0, 0x40);
        QCOMPARE(Listed(0), QString("00:  34,00  store R4,[00]    ;..."));
        QCOMPARE(SelectedRow(*w->DisasmWin), 0x20);
        QCOMPARE(TopLine(), 0x20 - 3);
    }

    void UserEditScrollsAndMarksButProgramStoreDoesNot() {
        Load(0x10, {0x21, 0x99, 0x31, 0xF0});  // load R1,99; store R1,[F0]
        w->SysRegs->SetContents(0, 0x10);
        w->SetMemModified(false);
        w->StepSimulator();
        w->StepSimulator();
        QCOMPARE(Mem(0xF0), 0x99);
        QCOMPARE(Listed(0x78), QString("F0:  99,00  xor   R9,R0,R0   ;..."));
        QVERIFY(!w->MemModified());
        QCOMPARE(TopLine(), 0x0A - 3);  // where the PC put it, not the stored line
        QCOMPARE(SelectedRow(*w->DisasmWin), 0x0A);

        w->MainMemory->SetContents(0xE0, 0x99);  // the user types the same value elsewhere
        QVERIFY(w->MemModified());
        QCOMPARE(TopLine(), 0x70 - 3);
        QCOMPARE(Listed(0x70), QString("E0:  99,00  xor   R9,R0,R0   ;..."));
        w->MainMemory->SetContents(0x15, 0x77);  // on the PC's line: it stays selected
        QCOMPARE(SelectedRow(*w->DisasmWin), 0x0A);
        QCOMPARE(TopLine(), 0x0A - 3);
    }

    void RightClickOpensTheAssembleDialogOnThatLine() {
        Load(0x0A, {0x25, 0x8A});
        QPointer<TAssembleDialog> seen;
        int address = -1;
        WhenModal([&](QWidget* modal) {
            seen = qobject_cast<TAssembleDialog*>(modal);
            if (!seen) {
                modal->close();
                return;
            }
            address = seen->Address();
            seen->op1->setCurrentIndex(3);
            emit seen->op1->activated(3);
            QTest::mouseClick(seen->OkButton, Qt::LeftButton);
        });
        const QRect line = w->DisasmWin->visualItemRect(w->DisasmWin->item(5));
        QTest::mousePress(w->DisasmWin->viewport(), Qt::RightButton, {}, line.center());
        QCOMPARE(address, 0x0A);
        QCOMPARE(Mem(0x0A), 0x23);
        QCOMPARE(Listed(5), QString("0A:  23,8A  load  R3,8A      ;... ($8A=-118)"));
        QCOMPARE(w->PanelText(2), QString("Ready"));
        QTRY_VERIFY(seen.isNull());
    }

    void DisasmButtonWritesTheListingAndOpensIt() {
        Load(0x00, {0x12, 0x34});
        QTest::mouseClick(w->ViewAsmButton, Qt::LeftButton);
        const QString listing = Path("QZasm.lst");
        QCOMPARE(opened, QList<QUrl>{QUrl::fromLocalFile(listing)});
        QCOMPARE(FileBytes(listing), QByteArray("00:  12,34  load  R2,[34]    ;...\r\n"
                                                "02:  00,00  invalid\r\n"
                                                "              \"\r\n"
                                                "              \"\r\n"));
        ProcessValues().TempLstFile = dir->path() + "/missing/x.lst";
        w->ViewAsmButtonClick();
        QCOMPARE(prompt->Shown,
                 QStringList{"Error|Cannot create file " + dir->path() + "/missing/x.lst"});
        QCOMPARE(opened.size(), 1);
    }

    // A relative temporary folder ("./" when no other is known) still gives the desktop a
    // whole path, and a listing the desktop cannot open is reported.
    void DisasmButtonOpensTheListingByItsWholePathAndSaysWhenItCannot() {
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir->path()));
        ProcessValues().TempDir = "./";
        shellSucceeds = false;
        w->ViewAsmButtonClick();
        QDir::setCurrent(before);
        const QString listing = QDir(dir->path()).absoluteFilePath("QZasm.lst");
        QCOMPARE(opened, QList<QUrl>{QUrl::fromLocalFile(listing)});
        QVERIFY(QFileInfo::exists(listing));
        QCOMPARE(prompt->Shown, QStringList{"Error|The listing " + listing +
                                            " could not be opened: the desktop has no "
                                            "program for it."});
    }

    // --- dialogs and help ----------------------------------------------------------

    void ClearDialogClearsWhatIsChecked_data() {
        QTest::addColumn<QString>("boxes");  // memory, registers, PC; "" for Cancel
        QTest::newRow("all") << "mrp";
        QTest::newRow("memory") << "m";
        QTest::newRow("registers") << "r";
        QTest::newRow("PC") << "p";
        QTest::newRow("Cancel") << "";
    }
    void ClearDialogClearsWhatIsChecked() {
        QFETCH(QString, boxes);
        for (int a = 0; a < 256; a += 5) Load(a, {0x21});
        w->Registers->SetContents(4, 0x44);
        w->SysRegs->SetContents(0, 0x82);
        w->DisasmWin->verticalScrollBar()->setValue(50);
        const int top = TopLine();
        w->SetStatus("Running...", TThemeColour::StatusRunning);
        WhenModal([&](QWidget* modal) {
            auto* dialog = qobject_cast<TClearDialog*>(modal);
            if (!dialog || boxes.isEmpty()) {
                modal->close();
                return;
            }
            dialog->MemChecked->setChecked(boxes.contains('m'));
            dialog->RegChecked->setChecked(boxes.contains('r'));
            dialog->PCChecked->setChecked(boxes.contains('p'));
            QTest::mouseClick(dialog->OkButton, Qt::LeftButton);
        });
        w->MenuReset->trigger();
        QCOMPARE(w->PanelText(2), QString("Ready"));
        const bool mem = boxes.contains('m');
        QCOMPARE(Mem(0x05), mem ? 0 : 0x21);
        QCOMPARE(w->MemModified(), !mem);
        QCOMPARE(w->SaveButton->isEnabled(), !mem);
        QCOMPARE(w->MainMemory->ChangedCell(), mem ? -1 : 0xFF);
        QCOMPARE(Listed(0x41), mem ? QString("82:  00,00  invalid")
                                   : QString("82:  21,00  load  R1,00      ;... ($00=0)"));
        if (!boxes.contains('p')) QCOMPARE(TopLine(), top);  // clearing keeps the scroll position
        QCOMPARE(w->Registers->GetContents(4), boxes.contains('r') ? 0 : 0x44);
        QCOMPARE(Pc(), boxes.contains('p') ? 0 : 0x82);
    }

    void WebHelpTellsWhyItCannotOpen_data() {
        QTest::addColumn<QString>("address");  // %1: the temporary folder
        QTest::addColumn<bool>("shellSucceeds");
        QTest::addColumn<QString>("message");  // empty: nothing shown
        QTest::newRow("opened") << "https://quarzel.example/help" << true << "";
        QTest::newRow("no program for it")
            << "https://quarzel.example/help" << false
            << "There is no application associated with the given filename extension.";
        QTest::newRow("unset") << "" << true << "The specified file was not found.";
        QTest::newRow("missing file")
            << "%1/help.htm" << true << "The specified file was not found.";
        QTest::newRow("missing folder")
            << "%1/nowhere/help.htm" << true << "The specified path was not found.";
        QTest::newRow("existing file") << "%1/QZasm.lst" << true << "";
    }
    void WebHelpTellsWhyItCannotOpen() {
        QFETCH(QString, address);
        QFETCH(bool, shellSucceeds);
        QFETCH(QString, message);
        WriteBytes(Path("QZasm.lst"), "x");
        this->shellSucceeds = shellSucceeds;
        ProcessValues().WebHelpAddress =
            address.contains("%1") ? address.arg(dir->path()) : address;
        w->MenuWWWHelp->trigger();
        QCOMPARE(prompt->Shown, message.isEmpty()
                                    ? QStringList{}
                                    : QStringList{"Error|Cannot open Web help.\n" + message});
    }

    void AssemblerEditorHookEnablesAsmAndTheAssemblyFilter() {
        QStringList openedEditors;
        w->EnableAssemblerEditor([&](const QString& file) { openedEditors << file; });
        QVERIFY(w->AssemblerButton->isEnabled());
        QTest::mouseClick(w->AssemblerButton, Qt::LeftButton);
        WriteMemoryFile(Path("x.prg").toStdString(), TMemoryImage{0x2F});
        prompt->FileNames = {Path("x.prg")};
        prompt->Filters = {"Assembly Files (*.asm)"};
        w->SysRegs->SetContents(0, 6);
        w->OpenFileClick();
        QCOMPARE(prompt->Requests.last().Filters,
                 (QStringList{"Program Files (*.prg)", "Assembly Files (*.asm)"}));
        QCOMPARE(openedEditors, (QStringList{"", Path("x.prg")}));
        QCOMPARE(Mem(0), 0);  // memory and PC untouched
        QCOMPARE(Pc(), 6);
    }
};

QTEST_MAIN(TMainWinTest)
#include "mainwin_test.moc"
