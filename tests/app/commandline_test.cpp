#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "app/appicon.h"
#include "app/asmeditors.h"
#include "app/commandline.h"
#include "app/display.h"
#include "app/mainwin.h"
#include "app/startup.h"
#include "controls/hexgrid.h"
#include "core/memfile.h"
#include "core/version.h"
#include "editor/asmedit.h"
#include "gui/processvalues.h"
#include "mainwinfixture.h"

using TAction = TCommandLine::TAction;
Q_DECLARE_METATYPE(TAction)

class TCommandLineTest : public QObject, TMainWinFixture {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;

    QString Path(const QString& name) const { return dir->filePath(name); }
    QString Image(const QString& name, int firstByte) const {
        WriteMemoryFile(Path(name).toStdString(), TMemoryImage{firstByte});
        return Path(name);
    }
    QString Text(const QString& name, const QByteArray& bytes) const {
        QFile file(Path(name));
        if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write %s", qPrintable(name));
        file.write(bytes);
        return Path(name);
    }

private slots:
    void init() {
        dir = std::make_unique<QTemporaryDir>();
        StartFresh(dir->path());
    }
    void cleanup() { CloseWindow(); }

    void Parse_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<TAction>("action");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("message");
        const QString version = QString::fromStdString(VersionLine("quarzel") + "\n");
        QTest::newRow("nothing") << QStringList{} << TAction::Start << QStringList{} << "";
        QTest::newRow("files in order") << QStringList{"b.prg", "a.asm", "c"} << TAction::Start
                                        << QStringList{"b.prg", "a.asm", "c"} << "";
        QTest::newRow("version") << QStringList{"--version"} << TAction::Version << QStringList{}
                                 << version;
        QTest::newRow("version after a file")
            << QStringList{"a.prg", "--version"} << TAction::Version << QStringList{} << version;
        QTest::newRow("unknown option")
            << QStringList{"a.prg", "--bogus", "b.prg"} << TAction::Error << QStringList{}
            << "quarzel: unknown option --bogus (try --help)\n";
        QTest::newRow("toolkit option")
            << QStringList{"-platform", "xcb"} << TAction::Error << QStringList{}
            << "quarzel: unknown option -platform (try --help)\n";
        QTest::newRow("after -- all are files")
            << QStringList{"--", "--help", "-x", "--"} << TAction::Start
            << QStringList{"--help", "-x", "--"} << "";
        QTest::newRow("a lone dash is a file")
            << QStringList{"-"} << TAction::Start << QStringList{"-"} << "";
    }
    void Parse() {
        QFETCH(QStringList, args);
        QFETCH(TAction, action);
        QFETCH(QStringList, files);
        QFETCH(QString, message);
        const TCommandLine line = ParseCommandLine(args);
        QCOMPARE(line.Action, action);
        QCOMPARE(line.Files, files);
        QCOMPARE(line.Message, message);
    }

    void HelpNamesEveryOption() {
        for (const char* flag : {"--help", "-h"}) {
            const TCommandLine line = ParseCommandLine({"x.prg", flag});
            QCOMPARE(line.Action, TAction::Help);
            QVERIFY(line.Message.startsWith("usage: quarzel [FILE ...]\n"));
            for (const char* option : {"--help", "--version", "--"})
                QVERIFY2(line.Message.contains(option + QString(" ")), option);
        }
    }

    // --version and the About box show the same version, and the package's in full.
    void VersionAgreesWithTheAboutBox() {
        const QString line = ParseCommandLine({"--version"}).Message;
        QCOMPARE(line, "quarzel " + QString::fromStdString(PackageVersion()) + " (About box: v" +
                           VersionTextOf(BuiltInVersionRecord()) + ")\n");
        QVERIFY(QString::fromStdString(PackageVersion()).startsWith(QUARZEL_FILE_VERSION));
    }

    void NoDisplayIsToldOnlyWhenNothingNamesOne_data() {
        QTest::addColumn<QStringList>("variables");  // name=value pairs
        QTest::addColumn<bool>("told");
        QTest::newRow("nothing") << QStringList{} << true;
        QTest::newRow("all empty")
            << QStringList{"DISPLAY=", "WAYLAND_DISPLAY=", "QT_QPA_PLATFORM="} << true;
        QTest::newRow("X") << QStringList{"DISPLAY=:0"} << false;
        QTest::newRow("Wayland") << QStringList{"WAYLAND_DISPLAY=wayland-0"} << false;
        QTest::newRow("a platform named") << QStringList{"QT_QPA_PLATFORM=offscreen"} << false;
    }
    void NoDisplayIsToldOnlyWhenNothingNamesOne() {
        QFETCH(QStringList, variables);
        QFETCH(bool, told);
        QProcessEnvironment environment;
        for (const QString& pair : variables)
            environment.insert(pair.section('=', 0, 0), pair.section('=', 1));
        const QString message = NoDisplayMessage(environment);
        QCOMPARE(!message.isEmpty(), told);
        if (told) QVERIFY(message.startsWith("quarzel: no display") && message.count('\n') == 1);
    }

    void MemoryImageNamesInAnyCase() {
        for (const char* name : {"a.prg", "/x/B.PRG", "c.Prg", ".prg"})
            QVERIFY2(IsMemoryImageName(name), name);
        for (const char* name : {"a.asm", "prg", "a.prg.asm", "a.prgx", "a_prg"})
            QVERIFY2(!IsMemoryImageName(name), name);
    }

    // Images load in order (the last good one stays), a bad one is told and the rest still
    // open, and every other name is an editor on its full path, relative names too.
    void FilesOpenAsTheOpenCommandOpensThem() {
        const QString first = Image("first.prg", 0x11);
        const QString last = Image("LAST.PRG", 0x22);
        const QString bad = Text("bad.Prg", "not an image");
        Text("rel.asm", "halt\n");
        Text("notes.txt", "load R1,1\n");
        TMainWin mainWin;
        InstallAssemblerEditors(mainWin);
        const QString oldCurrent = QDir::currentPath();
        QDir::setCurrent(dir->path());
        OpenCommandLineFiles(mainWin, {first, "rel.asm", last, bad, "notes.txt", "gone.asm"});
        QDir::setCurrent(oldCurrent);

        QCOMPARE(mainWin.MainMemory->GetContents(0), 0x22);
        QCOMPARE(mainWin.windowTitle(), "Quarzel Simulator - " + last);
        QVERIFY(!mainWin.MemModified());
        QCOMPARE(ProcessValues().CurrentMemFile, bad);  // as Open leaves it after a failure
        QCOMPARE(prompt->Shown.size(), 2);              // the bad image and the missing source
        QVERIFY(prompt->Shown[0].startsWith("Error|"));
        QVERIFY(prompt->Shown[1].contains(Path("gone.asm")));

        QStringList captions;
        for (const TAssemblerEditor* editor : mainWin.findChildren<TAssemblerEditor*>())
            captions << editor->windowTitle();
        QCOMPARE(captions,
                 (QStringList{"Quarzel Assembler - " + Path("rel.asm"),
                              "Quarzel Assembler - " + Path("notes.txt"), "Quarzel Assembler"}));
    }

    void EveryWindowShowsTheIconInEverySize() {
        InstallApplicationIcon();
        const QIcon icon = QGuiApplication::windowIcon();
        for (int size : {16, 24, 32, 48, 64, 128, 256}) {
            QVERIFY2(icon.availableSizes().contains(QSize(size, size)),
                     qPrintable(QString::number(size)));
            QCOMPARE(icon.pixmap(size).size(), QSize(size, size));
        }
        QCOMPARE(QGuiApplication::desktopFileName(), QString("org.quarzel.Simulator"));
        TMainWin mainWin;
        InstallAssemblerEditors(mainWin);
        mainWin.OpenAssemblerEditor(QString());
        const QList<TAssemblerEditor*> editors = mainWin.findChildren<TAssemblerEditor*>();
        QCOMPARE(editors.size(), 1);
        for (const QWidget* window :
             {static_cast<QWidget*>(&mainWin), static_cast<QWidget*>(editors[0])})
            QCOMPARE(window->windowIcon().cacheKey(), icon.cacheKey());
    }
};

QTEST_MAIN(TCommandLineTest)
#include "commandline_test.moc"
