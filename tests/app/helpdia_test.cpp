// The help topics and the viewer that shows them.

#include <sys/stat.h>

#include <QApplication>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextTable>
#include <QtTest>

#include "app/helpdia.h"
#include "app/helptopics.h"
#include "gui/helphook.h"
#include "helpviewers.h"
#include "testprompt.h"

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
        QCOMPARE(seen.size(), 36);
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
    }
    void ProgramTopicAppendsTheInfoFileBelowTheSeparator() {
        QFETCH(QByteArray, contents);
        QFETCH(QStringList, lines);
        QTemporaryDir folder;
        QFile info(folder.filePath("Vexlorn.info"));
        QVERIFY(info.open(QIODevice::WriteOnly));
        info.write(contents);
        info.close();

        THelpDialog viewer;
        viewer.InfoFolder = folder.path();
        viewer.ShowTopic(301);
        const QStringList shown = viewer.HelpText->toPlainText().split('\n');
        const int separator = shown.indexOf(InfoSeparatorLine());
        QVERIFY(separator > 0);
        QCOMPARE(shown.mid(separator + 1), lines);
        QCOMPARE(viewer.HelpText->textCursor().position(), 0);
    }

    void ProgramTopicWithoutInfoFileEndsAtTheSeparator() {
        QTemporaryDir folder;
        THelpDialog viewer;
        viewer.InfoFolder = folder.path();
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
        viewer.InfoFolder = folder.path();
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

    void FirstStartSyntaxHelpSitsInTheTopLeftCorner() {
        THelpDialog* viewer = OpenHelpViewer(700);
        QCOMPARE(viewer->pos(), QPoint(0, 0));
        QCOMPARE(viewer->width(), 540);
        QCOMPARE(viewer->height(), 90);
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

    void OtherHelpCommandsAreNotHandled() {
        QVERIFY(!HelpHook().FormHelp(HelpContextPopup + 1, 1));
        QVERIFY(!HelpHook().FormHelp(0, 1));
        QVERIFY(OpenViewers().isEmpty());
    }
};

QTEST_MAIN(THelpDialogTest)
#include "helpdia_test.moc"
