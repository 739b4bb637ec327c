// The help topics and the viewer that shows them.

#include <sys/stat.h>

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextTable>
#include <QWindow>
#include <QtTest>
#include <algorithm>
#include <vector>

#include "app/helpdia.h"
#include "app/helptopics.h"
#include "core/runstatus.h"
#include "gui/helphook.h"
#include "gui/zoom.h"
#include "helpviewers.h"
#include "testprompt.h"

namespace {

void WriteInfo(const QString& folder, const QByteArray& contents) {
    QFile info(QDir(folder).filePath("Vexlorn.info"));
    QVERIFY(info.open(QIODevice::WriteOnly));
    info.write(contents);
}

}  // namespace

class THelpDialogTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { CloseAllViewers(); }

    void TopicTable_data() {
        QTest::addColumn<int>("context");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("width");  // 0: the viewer keeps its width
        const struct {
            int context;
            const char* title;
            int width;
        } rows[] = {
            {0, "No help available", 150},
            {9999, "No help available", 150},
            {1, "Main memory", 450},
            {2, "General purpose registers", 400},
            {3, "System registers", 400},
            {4, "Zero program counter (PC)", 0},
            {5, "Open file button", 0},
            {6, "Save file button", 0},
            {7, "Run program button", 0},
            {8, "Step program button", 0},
            {9, "Break when running button", 0},
            {10, "Clear Memory/Registers button", 0},
            {11, "Output window", 0},
            {12, "View assembly listing button", 0},
            {13, "Disasseble window", 400},
            {14, "Memory address", 150},
            {15, "Memory address", 150},
            {16, "General purpose register name", 250},
            {17, "System register name", 0},
            {18, "Status bar", 0},
            {19, "Start up Assembler Editor", 0},
            {101, "Instruction box", 0},
            {102, "First instruction operand", 0},
            {103, "Second instruction operand", 0},
            {104, "Third instruction operand", 0},
            {202, "Quarzel Simulator instructions:", 540},
            {601, "Quarzel Simulator instructions:", 540},
            {203, "Quarzel Assembler syntax", 540},
            {602, "Quarzel Assembler syntax", 540},
            {700, "Quarzel Assembler syntax", 540},
            {301, "Quarzel Simulator voor ICT", 500},
            {401, "Additional help address", 350},
            {402, "Set default additional help address", 0},
            {403, "Temporary assembly list file", 0},
            {404, "Set default temporary assembly list file", 0},
            {501, "About Dialog", 0},
            {StepBackContext, "Step Back", 400},
            {RunBackContext, "Run Back", 400},
            {TraceWinContext, "Trace window", 450},
            {BreakpointsContext, "Breakpoints", 450},
            {SpeedContext, "Speed", 0},
            {ValueCardContext, "Value card", 400},
            {ViewMenuContext, "View menu", 0},
            {TestsMenuContext, "Tests menu", 450},
            {TestFilesContext, "Test files", 540},
            {DebugMenuContext, "Debug menu", 450},
            {CommandLineContext, "Command line", 450},
        };
        for (const auto& row : rows) {
            QTest::addRow("%d", row.context) << row.context << row.title << row.width;
        }
    }
    void TopicTable() {
        QFETCH(int, context);
        QFETCH(QString, title);
        QFETCH(int, width);
        const THelpTopic* topic = FindHelpTopic(context);
        QVERIFY(topic);
        QCOMPARE(topic->Title, title);
        QCOMPARE(topic->Width, width);

        THelpDialog viewer;
        viewer.ShowTopic(context);
        QCOMPARE(viewer.width(), width ? width : THelpDialog::InitialWidth);
        QVERIFY(FirstLine(&viewer).startsWith(title));
    }

    void EveryTopicHasItsOwnContexts() {
        QSet<int> seen;
        for (const THelpTopic& topic : HelpTopics()) {
            for (int context : topic.Contexts) {
                QVERIFY2(!seen.contains(context), qPrintable(QString::number(context)));
                seen << context;
            }
        }
        QCOMPARE(seen.size(), 47);
    }

    // The status bar topic names every status text a run can end with (a breakpoint's
    // without its address).
    void StatusBarTopicNamesEveryStatus() {
        QTextDocument topic;
        topic.setHtml(FindHelpTopic(StatusBarContext)->Body);
        const QString text = topic.toPlainText();
        std::vector<TRunStatus> statuses{ReadyStatus(), RunningStatus()};
        for (int o = 0; o <= int(TRunOutcome::Stopped); ++o)
            statuses.push_back(OutcomeStatus(TRunOutcome(o), 0));
        for (const TRunStatus& status : statuses) {
            QString shown = QString::fromStdString(status.Text);
            shown.remove(QRegularExpression(" 00$"));
            QVERIFY2(text.contains(shown), qPrintable(shown));
        }
    }

    void ManualHoldsEveryTopicWithABody() {
        QTextDocument manual;
        manual.setHtml(HelpManual());
        const QString text = manual.toPlainText();
        const QString html = HelpManual();
        for (const THelpTopic& topic : HelpTopics()) {
            const QString anchor = QString("topic%1").arg(topic.Contexts.first());
            const bool listed = html.contains("href=\"#" + anchor + "\"");
            QCOMPARE(listed, !topic.Body.isEmpty());
            QCOMPARE(html.contains("id=\"" + anchor + "\""), listed);
            if (listed) QVERIFY2(text.contains(topic.Title), qPrintable(topic.Title));
        }
        QVERIFY(text.contains("jmpLE R7<=R0,42h"));
    }

    void SharedContextsShowOneTopic_data() {
        QTest::addColumn<QList<int>>("contexts");
        QTest::newRow("no help") << QList<int>{0, 9999};
        QTest::newRow("memory address") << QList<int>{14, 15};
        QTest::newRow("instructions") << QList<int>{202, 601};
        QTest::newRow("syntax") << QList<int>{203, 602, 700};
    }
    void SharedContextsShowOneTopic() {
        QFETCH(QList<int>, contexts);
        for (int context : contexts) QCOMPARE(FindHelpTopic(context), FindHelpTopic(contexts[0]));
    }

    void TitleOnlyTopicsHoldOneLine_data() {
        QTest::addColumn<int>("context");
        for (int context : {0, 14, 16}) QTest::addRow("%d", context) << context;
    }
    void TitleOnlyTopicsHoldOneLine() {
        QFETCH(int, context);
        THelpDialog viewer;
        viewer.ShowTopic(context);
        QCOMPARE(viewer.HelpText->toPlainText().trimmed(), FindHelpTopic(context)->Title);
    }

    void UnknownContextsGiveNotAClue_data() {
        QTest::addColumn<int>("context");
        for (int context : {12345, -1, 20, 100, 105, 200, 300, 701, 9998}) {
            QTest::addRow("%d", context) << context;
        }
    }
    void UnknownContextsGiveNotAClue() {
        QFETCH(int, context);
        QVERIFY(!FindHelpTopic(context));
        THelpDialog viewer;
        viewer.ShowTopic(context);
        const QStringList lines = viewer.HelpText->toPlainText().split('\n');
        QCOMPARE(lines.first(), QString("Not a clue"));
        QVERIFY(lines.contains("Please report this error with the following details:"));
        QCOMPARE(lines.last(), QString("HelpContext: %1").arg(context));
        QCOMPARE(viewer.width(), THelpDialog::InitialWidth);
    }

    void TitleIsBoldBlueThirteenPointAndBodyTenPoint() {
        THelpDialog viewer;
        viewer.ShowTopic(4);
        const QTextBlock title = viewer.HelpText->document()->firstBlock();
        const QTextCharFormat titleFormat = title.begin().fragment().charFormat();
        QCOMPARE(titleFormat.fontWeight(), int(QFont::Bold));
        QCOMPARE(titleFormat.foreground().color(), QColor(0, 0, 255));
        QCOMPARE(titleFormat.fontPointSize(), 13.0);
        const QTextCharFormat bodyFormat = title.next().begin().fragment().charFormat();
        QVERIFY(bodyFormat.fontWeight() != int(QFont::Bold));
        QCOMPARE(QFontInfo(bodyFormat.font()).pointSize(), 10);
    }

    // On the projector the topic, its window and its text grow with the zoom, and back; the
    // viewer comes up with the focus, and Escape closes it.
    void ViewerFollowsTheZoomAndTheKeyboard() {
        THelpDialog* viewer = OpenHelpViewer(4);
        const int width = viewer->width();
        const auto titlePoints = [viewer] {
            return viewer->HelpText->document()
                ->firstBlock()
                .begin()
                .fragment()
                .charFormat()
                .fontPointSize();
        };
        QTRY_VERIFY(viewer->isActiveWindow());
        QCOMPARE(QApplication::focusWidget(), viewer->HelpText);
        SetZoomPercent(200);
        QCOMPARE(titlePoints(), 26.0);
        THelpDialog* zoomed = OpenHelpViewer(4);
        QCOMPARE(zoomed->width(), 2 * width);
        SetZoomPercent(100);
        QCOMPARE(titlePoints(), 13.0);
        QTRY_VERIFY(zoomed->isActiveWindow());
        QTest::keyClick(zoomed->HelpText, Qt::Key_Escape);
        QVERIFY(!zoomed->isVisible());
    }

    void CodeIsShownInAFixedPitchFont() {
        THelpDialog viewer;
        viewer.ShowTopic(203);
        int codeFragments = 0;
        for (QTextBlock block = viewer.HelpText->document()->begin(); block.isValid();
             block = block.next()) {
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                if (it.fragment().text().contains("jmpLE R7<=R0,42h")) {
                    ++codeFragments;
                    const QFontMetrics metrics(it.fragment().charFormat().font());
                    QCOMPARE(metrics.horizontalAdvance('i'), metrics.horizontalAdvance('W'));
                }
            }
        }
        QVERIFY(codeFragments > 0);
    }

    void OutputTopicListsEveryPrintableCodeWithItsCharacter() {
        THelpDialog viewer;
        viewer.ShowTopic(11);
        QTextTable* table = nullptr;
        for (QTextFrame* frame : viewer.HelpText->document()->rootFrame()->childFrames()) {
            if ((table = qobject_cast<QTextTable*>(frame))) break;
        }
        QVERIFY(table);
        QCOMPARE(table->columns(), 6);  // three columns of code and character
        QSet<int> codes;
        for (int row = 0; row < table->rows(); ++row) {
            for (int column = 0; column + 1 < table->columns(); column += 2) {
                const QString hex = table->cellAt(row, column).firstCursorPosition().block().text();
                if (hex.isEmpty()) continue;
                const QString glyph =
                    table->cellAt(row, column + 1).firstCursorPosition().block().text();
                bool ok = false;
                const int code = hex.toInt(&ok, 16);
                QVERIFY(ok);
                QCOMPARE(glyph, code == 0x20 ? QString("space") : QString(QChar(code)));
                codes << code;
            }
        }
        QCOMPARE(codes.size(), 0x7E - 0x20 + 1);
        QCOMPARE(*std::min_element(codes.begin(), codes.end()), 0x20);
        QCOMPARE(*std::max_element(codes.begin(), codes.end()), 0x7E);
    }

    void ProgramTopicAppendsTheInfoFileBelowTheSeparator_data() {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QStringList>("lines");
        // Read as plain text: markup in the file is shown, not interpreted.
        QTest::newRow("newline at the end") << QByteArray("Course 2026\r\nRoom <b>12</b>\n")
                                            << QStringList{"Course 2026", "Room <b>12</b>"};
        QTest::newRow("no newline at the end")
            << QByteArray("one\ntwo") << QStringList{"one", "two"};
        QTest::newRow("an empty line kept")
            << QByteArray("one\n\ntwo\n") << QStringList{"one", "", "two"};
        QTest::newRow("one empty line") << QByteArray("\n") << QStringList{""};
        QTest::newRow("empty file") << QByteArray() << QStringList{};
        // Not UTF-8: each byte is its code page 437 character, as in a source file.
        QTest::newRow("code page 437") << QByteArray("caf\x82\n\xC9\xCD\xBB\n")
                                       << QStringList{"caf\u00E9", "\u2554\u2550\u2557"};
        QTest::newRow("byte order mark dropped")
            << QByteArray("\xEF\xBB\xBFone\n") << QStringList{"one"};
    }
    void ProgramTopicAppendsTheInfoFileBelowTheSeparator() {
        QFETCH(QByteArray, contents);
        QFETCH(QStringList, lines);
        QTemporaryDir folder;
        WriteInfo(folder.path(), contents);
        THelpDialog viewer;
        viewer.InfoFolders = {folder.path()};
        viewer.ShowTopic(301);
        const QStringList shown = viewer.HelpText->toPlainText().split('\n');
        const int separator = shown.indexOf(InfoSeparatorLine());
        QVERIFY(separator > 0);
        QCOMPARE(shown.mid(separator + 1), lines);
        QCOMPARE(viewer.HelpText->textCursor().position(), 0);
    }

    // The first folder holding the file is shown, whichever the others hold.
    void ProgramTopicShowsTheFirstInfoFileFound_data() {
        QTest::addColumn<QString>("holding");  // which of folders 0, 1, 2 hold a file
        QTest::addColumn<int>("shown");        // the folder whose file is shown, -1 none
        QTest::newRow("all") << "012" << 0;
        QTest::newRow("beside the program missing") << "12" << 1;
        QTest::newRow("only the last") << "2" << 2;
        QTest::newRow("first and last") << "02" << 0;
        QTest::newRow("none") << "" << -1;
    }
    void ProgramTopicShowsTheFirstInfoFileFound() {
        QFETCH(QString, holding);
        QFETCH(int, shown);
        QTemporaryDir root;
        THelpDialog viewer;
        viewer.InfoFolders.clear();
        for (const QChar folder : QString("012")) {
            const QString path = root.filePath(folder);
            QVERIFY(QDir().mkpath(path));
            viewer.InfoFolders << path;
            if (holding.contains(folder)) WriteInfo(path, "from " + QString(folder).toUtf8());
        }
        viewer.ShowTopic(301);
        QCOMPARE(viewer.HelpText->toPlainText().split('\n').last(),
                 shown < 0 ? InfoSeparatorLine() : "from " + QString::number(shown));
    }

    void InfoFoldersOfAnInstalledProgram() {
        QCOMPARE(InfoFoldersFor("/usr/bin"),
                 QStringList({"/usr/bin", "/etc/quarzel", "/usr/share/quarzel"}));
    }

    void ProgramTopicWithoutInfoFileEndsAtTheSeparator() {
        QTemporaryDir folder;
        THelpDialog viewer;
        viewer.InfoFolders = {folder.path()};
        viewer.ShowTopic(301);
        QCOMPARE(viewer.HelpText->toPlainText().split('\n').last(), InfoSeparatorLine());
    }

    // A pipe under the info file's name would block the viewer; a device would never end.
    void ProgramTopicRefusesAnInfoFileThatIsNotARegularFile() {
        QTemporaryDir folder;
        const QString name = folder.filePath("Vexlorn.info");
        QVERIFY(::mkfifo(QFile::encodeName(name).constData(), 0666) == 0);
        TTestPrompt prompt;
        THelpDialog viewer;
        viewer.InfoFolders = {folder.path()};
        viewer.ShowTopic(301);
        QCOMPARE(viewer.HelpText->toPlainText().split('\n').last(), InfoSeparatorLine());
        QCOMPARE(prompt.Shown.size(), 1);
        QVERIFY2(prompt.Shown[0].endsWith("Cannot open file " + name +
                                          ": it is a pipe, not a regular file."),
                 qPrintable(prompt.Shown[0]));
    }

    void ShortTopicOpensJustTallEnough() {
        THelpDialog* viewer = OpenHelpViewer(4);
        const int content = qCeil(viewer->HelpText->document()->size().height()) +
                            2 * viewer->HelpText->frameWidth();
        QVERIFY(content < THelpDialog::MaxRequestedHeight);
        QCOMPARE(viewer->height(), content);
        QVERIFY(!viewer->HelpText->verticalScrollBar()->isVisible());
    }

    void LongTopicOpensAtTheLimitWithAScrollBarAndThenKeepsItsHeight() {
        THelpDialog* viewer = OpenHelpViewer(203);
        QCOMPARE(viewer->width(), 540);
        QCOMPARE(viewer->height(), THelpDialog::MaxRequestedHeight);
        QVERIFY(viewer->HelpText->verticalScrollBar()->isVisible());

        viewer->resize(300, viewer->height());
        QCoreApplication::processEvents();
        QCOMPARE(viewer->height(), THelpDialog::MaxRequestedHeight);
    }

    void ViewersOpenCentredWithTheirFinalSize_data() {
        QTest::addColumn<int>("context");
        QTest::newRow("short") << 4;
        QTest::newRow("long") << 203;
        QTest::newRow("wide") << 13;
    }
    void ViewersOpenCentredWithTheirFinalSize() {
        QFETCH(int, context);
        THelpDialog* viewer = OpenHelpViewer(context);
        const QRect room = viewer->screen()->availableGeometry();
        const QRect frame = viewer->frameGeometry();
        QVERIFY(room.contains(frame));
        QVERIFY(qAbs(frame.center().x() - room.center().x()) <= 1);
        QVERIFY(qAbs(frame.center().y() - room.center().y()) <= 1);
    }

    void FirstStartSyntaxHelpOpensFullSizeInTheTopLeftCorner() {
        THelpDialog* viewer = OpenHelpViewer(700);
        QVERIFY(viewer->screen()->availableGeometry().contains(viewer->frameGeometry()));
        QCOMPARE(viewer->pos(), QPoint(0, 0));
        // The size the same topic has when asked for from the Help menu, not a strip.
        QCOMPARE(viewer->size(), OpenHelpViewer(203)->size());
        QCOMPARE(viewer->height(), THelpDialog::MaxRequestedHeight);
        QVERIFY(FirstLine(viewer).startsWith("Quarzel Assembler syntax"));
    }

    void EveryRequestOpensAnotherViewer() {
        QVERIFY(HelpHook().FormHelp(HelpContextPopup, 1));
        QVERIFY(HelpHook().FormHelp(HelpContextPopup, 2));
        QCOMPARE(OpenViewers().size(), 2);
        THelpDialog* registers = nullptr;
        for (THelpDialog* viewer : OpenViewers())
            if (FirstLine(viewer).startsWith("General purpose registers")) registers = viewer;
        QVERIFY(registers);
        registers->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(OpenViewers().size(), 1);
        QVERIFY(!FirstLine(OpenViewers().first()).startsWith("General purpose registers"));
    }

    // Inside a modal dialog the viewer takes the mouse: a click moves its caret.
    void HelpInsideAModalDialogIsInFrontAndWorks() {
        QDialog dialog;
        dialog.setModal(true);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(QApplication::activeModalWidget(), &dialog);
        THelpDialog* viewer = OpenHelpViewer(203);
        QVERIFY(QTest::qWaitForWindowExposed(viewer));
        QCOMPARE(viewer->HelpText->textCursor().position(), 0);
        // Through the window, as the system delivers it: a blocked window drops it.
        const QWidget* text = viewer->HelpText->viewport();
        QTest::mouseClick(viewer->windowHandle(), Qt::LeftButton, {},
                          text->mapTo(viewer, text->rect().center()));
        QVERIFY(viewer->HelpText->textCursor().position() > 0);
        QVERIFY(dialog.isVisible());
    }

    void ManualShowsNoInfoSeparator() {
        QVERIFY(!HelpManual().contains(InfoSeparatorLine().toHtmlEscaped()));
        QVERIFY(QString::fromUtf8(HelpDocument(ProgramInfoContext))
                    .contains(InfoSeparatorLine().toHtmlEscaped()));
    }

    // Copied as plain text, every example keeps its lines and blanks.
    void ExamplesCopyAsTheyAreWritten_data() {
        QTest::addColumn<int>("context");
        QTest::addColumn<QString>("source");
        for (const THelpExample& example : SyntaxExamples())
            QTest::newRow(qPrintable("syntax: " + example.Source)) << 203 << example.Source;
        for (const THelpExample& example : InstructionExamples())
            QTest::newRow(qPrintable("instructions: " + example.Source)) << 202 << example.Source;
    }
    void ExamplesCopyAsTheyAreWritten() {
        QFETCH(int, context);
        QFETCH(QString, source);
        THelpDialog viewer;
        viewer.ShowTopic(context);
        viewer.HelpText->selectAll();
        viewer.HelpText->copy();
        QVERIFY(QApplication::clipboard()->text().contains(source));
    }

    // Example tables leave clear space after the source; the legend's error samples are
    // underlined one by one, not the blank between them.
    void ExampleSourceStandsClearOfItsBytes() {
        THelpDialog viewer;
        viewer.ShowTopic(203);
        int sources = 0;
        for (QTextFrame* frame : viewer.HelpText->document()->rootFrame()->childFrames()) {
            auto* table = qobject_cast<QTextTable*>(frame);
            if (!table || table->columns() < 2) continue;
            for (int row = 0; row < table->rows(); ++row) {
                const QTextTableCell cell = table->cellAt(row, 0);
                QTextCursor text = cell.firstCursorPosition();
                text.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
                const QString firstLine = text.selectedText().section(QChar(0x2029), 0, 0);
                const auto& examples = SyntaxExamples();
                if (std::none_of(examples.begin(), examples.end(), [&](const THelpExample& e) {
                        return e.Source.section('\n', 0, 0) == firstLine;
                    }))
                    continue;
                ++sources;
                QVERIFY(cell.format().toTableCellFormat().rightPadding() >= 12);
            }
        }
        QCOMPARE(sources, SyntaxExamples().size());
    }
    void LegendUnderlinesNoBlank() {
        THelpDialog viewer;
        viewer.ShowTopic(203);
        const QTextCursor first = viewer.HelpText->document()->find("12A3");
        QVERIFY(!first.isNull());
        QTextCursor after(viewer.HelpText->document());
        after.setPosition(first.position());
        QVERIFY(after.charFormat().fontUnderline());  // the last digit of 12A3
        after.movePosition(QTextCursor::NextCharacter);
        QCOMPARE(viewer.HelpText->document()->characterAt(after.position() - 1), QChar(' '));
        QVERIFY(!after.charFormat().fontUnderline());
    }

    // Register operands are written one way, RR, RX and RY, explained in one topic.
    void OneNotationForRegisterOperands() {
        const QRegularExpression otherNotation("\\bR[a-z]\\b");
        int explained = 0;
        for (const THelpTopic& topic : HelpTopics()) {
            QTextDocument document;
            document.setHtml(TopicDocument(topic, "monospace"));
            const QString text = document.toPlainText();
            QVERIFY2(!text.contains(otherNotation), qPrintable(topic.Title));
            if (text.contains("RR, RX and RY stand for")) ++explained;
        }
        QCOMPARE(explained, 1);
    }

    void TopicsSayWhatTheyShould_data() {
        QTest::addColumn<int>("context");
        QTest::addColumn<QString>("says");
        QTest::addColumn<QString>("never");
        QTest::newRow("memory: one mark") << 1 << "cell changed last"
                                          << "A changed cell";
        QTest::newRow("listing: instruction lines") << 12 << "A line with an instruction ends"
                                                    << "Each line ends";
        QTest::newRow("disassembly: a verb") << 13 << "This list shows every memory location"
                                             << "Every memory location shown";
        for (int context : {101, 102, 103, 104})
            QTest::newRow(qPrintable(QString("assemble dialog %1").arg(context)))
                << context << "Asseble Instruction dialog, which opens when a line"
                << "";
        for (int context : {401, 402, 403, 404})
            QTest::newRow(qPrintable(QString("options dialog %1").arg(context)))
                << context << "Options dialog, opened with Options... in the Help menu"
                << "";
    }
    void TopicsSayWhatTheyShould() {
        QFETCH(int, context);
        QFETCH(QString, says);
        QFETCH(QString, never);
        THelpDialog viewer;
        viewer.ShowTopic(context);
        const QString text = viewer.HelpText->toPlainText();
        QVERIFY2(text.contains(says), qPrintable(text));
        if (!never.isEmpty()) QVERIFY(!text.contains(never));
    }

    void OtherHelpCommandsAreNotHandled() {
        QVERIFY(!HelpHook().FormHelp(HelpContextPopup + 1, 1));
        QVERIFY(!HelpHook().FormHelp(0, 1));
        QVERIFY(OpenViewers().isEmpty());
    }
};

QTEST_MAIN(THelpDialogTest)
#include "helpdia_test.moc"
