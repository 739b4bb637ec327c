// Start-up and the persistent settings, against a settings file in a temporary folder.

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include "app/startup.h"
#include "testprompt.h"

namespace {

const TVersionRecord ThisBuild{"2.0.0.252", "Copyright (C) 2026 the makers", VersionFlagPreRelease};

struct TStartupRig {
    QTemporaryDir folder;
    QList<QPair<int, int>> helpRequests;

    QString SettingsPath() const { return folder.filePath("Vexlorn.ini"); }

    TStartupPlatform Platform(std::optional<TVersionRecord> version = ThisBuild) {
        QProcessEnvironment environment;
        environment.insert("TMP", "/scratch");
        return {
            [this] { return std::make_unique<QSettings>(SettingsPath(), QSettings::IniFormat); },
            environment, "/opt/quarzel/bin/quarzel", version,
            [this](int command, int context) { helpRequests << qMakePair(command, context); }};
    }

    void Store(const QMap<QString, QString>& entries) {
        QSettings store(SettingsPath(), QSettings::IniFormat);
        for (auto it = entries.begin(); it != entries.end(); ++it)
            store.setValue(it.key(), it.value());
    }

    void WriteRaw(const QByteArray& contents) {
        QFile file(SettingsPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(contents);
    }

    QStringList StoredKeys() {
        QSettings store(SettingsPath(), QSettings::IniFormat);
        QStringList keys = store.allKeys();
        keys.sort();
        return keys;
    }

    QVariant Stored(const QString& name) {
        return QSettings(SettingsPath(), QSettings::IniFormat).value(name);
    }
};

const QStringList AllTen = {"Author",         "Copyright",   "CurrentAsmFile",
                            "CurrentMemFile", "Default",     "DefaultWebHelpAddress",
                            "RunSpeed",       "TempLstFile", "Version",
                            "WebHelpAddress"};

}  // namespace

class TStartupTest : public QObject {
    Q_OBJECT
private slots:
    void VersionText_data() {
        QTest::addColumn<QString>("fileVersion");
        QTest::addColumn<unsigned>("flags");
        QTest::addColumn<QString>("expected");
        QTest::newRow("this build") << "2.0.0.252" << unsigned(VersionFlagPreRelease) << "2.0b";
        QTest::newRow("debug wins")
            << "2.0.0.252" << unsigned(VersionFlagDebug | VersionFlagPreRelease) << "2.0a";
        QTest::newRow("release") << "3.1.4.1" << 0u << "3.1";
        QTest::newRow("one dot kept whole") << "2.5" << unsigned(VersionFlagPreRelease) << "2.5b";
        QTest::newRow("no dot kept whole") << "7" << 0u << "7";
    }
    void VersionText() {
        QFETCH(QString, fileVersion);
        QFETCH(unsigned, flags);
        QFETCH(QString, expected);
        QCOMPARE(VersionTextOf(TVersionRecord{fileVersion, "", flags}), expected);
    }

    void VersionTextWithoutRecordIsEmpty() { QCOMPARE(VersionTextOf(std::nullopt), QString()); }

    void BuiltInVersionIsTwoPointZeroBeta() {
        QCOMPARE(VersionTextOf(BuiltInVersionRecord()), QString("2.0b"));
    }

    void TempDir_data() {
        QTest::addColumn<QStringList>("variables");  // name=value pairs
        QTest::addColumn<QString>("systemTemp");
        QTest::addColumn<QString>("expected");
        QTest::newRow("TMP") << QStringList{"TMP=/t1", "TEMP=/t2"} << "/s"
                             << "/t1/";
        QTest::newRow("empty TMP gives TEMP") << QStringList{"TMP=", "TEMP=/t2"} << "/s"
                                              << "/t2/";
        QTest::newRow("TMPDIR last") << QStringList{"TMPDIR=/t3"} << "/s"
                                     << "/t3/";
        QTest::newRow("none: the system's") << QStringList{} << "/s"
                                            << "/s/";
        QTest::newRow("all empty") << QStringList{"TMP=", "TEMP=", "TMPDIR="} << "/s"
                                   << "/s/";
        QTest::newRow("no folder at all") << QStringList{} << ""
                                          << "./";
        QTest::newRow("separator doubled") << QStringList{"TMP=/t1/"} << "/s"
                                           << "/t1//";
    }
    void TempDir() {
        QFETCH(QStringList, variables);
        QFETCH(QString, systemTemp);
        QFETCH(QString, expected);
        QProcessEnvironment environment;
        for (const QString& pair : variables) {
            environment.insert(pair.section('=', 0, 0), pair.section('=', 1));
        }
        QCOMPARE(TempDirFrom(environment, systemTemp), expected);
    }

    void DefaultWebHelpAddress_data() {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("expected");
        QTest::newRow("no extension") << "/opt/q/quarzel"
                                      << "/opt/q/quarzel.htm";
        QTest::newRow("extension replaced") << "/opt/q/quarzel.exe"
                                            << "/opt/q/quarzel.htm";
        QTest::newRow("dot in a folder") << "/home/u/.local/bin/quarzel"
                                         << "/home/u/.local/bin/quarzel.htm";
        QTest::newRow("last dot only") << "/x/quarzel.2.bin"
                                       << "/x/quarzel.2.htm";
    }
    void DefaultWebHelpAddress() {
        QFETCH(QString, program);
        QFETCH(QString, expected);
        QCOMPARE(DefaultWebHelpAddressFor(program), expected);
    }

    // Installed, the manual is not beside the program but in its own folder; the one beside
    // the program (the build's) wins when both are there.
    void DefaultWebHelpAddressFindsTheInstalledManual() {
        QTemporaryDir root;
        const QString program = root.filePath("bin/quarzel");
        const QString installed =
            QDir::cleanPath(root.filePath("bin/" QUARZEL_MANUAL_FROM_PROGRAM "/quarzel.htm"));
        QVERIFY(!installed.startsWith(root.filePath("bin")));
        QVERIFY(QDir(root.path()).mkpath("bin") && QDir().mkpath(QFileInfo(installed).path()));
        QCOMPARE(DefaultWebHelpAddressFor(program), root.filePath("bin/quarzel.htm"));  // neither
        for (const QString& file : {installed, root.filePath("bin/quarzel.htm")}) {
            QFile manual(file);
            QVERIFY(manual.open(QIODevice::WriteOnly));
            QCOMPARE(DefaultWebHelpAddressFor(program), file);
        }
    }

    void FirstStartUsesDefaultsOpensSyntaxHelpAndWritesAllTen() {
        TStartupRig rig;
        TProcessValues values;
        values.CurrentMemFile = "left over";
        QVERIFY(StartUp(values, rig.Platform()));
        QCOMPARE(rig.helpRequests, (QList<QPair<int, int>>{{8, 700}}));
        QCOMPARE(values.TempDir, QString("/scratch/"));
        QCOMPARE(values.VersionText, QString("2.0b"));
        QCOMPARE(values.LegalText, ThisBuild.LegalCopyright);
        QCOMPARE(values.CurrentMemFile, QString());
        QCOMPARE(values.CurrentAsmFile, QString());
        QCOMPARE(values.DefaultWebHelpAddress, QString("/opt/quarzel/bin/quarzel.htm"));
        QCOMPARE(values.WebHelpAddress, values.DefaultWebHelpAddress);
        QCOMPARE(values.TempLstFile, QString("QZasm.lst"));

        values.CurrentMemFile = "/work/a.prg";
        QVERIFY(ShutDown(values, rig.Platform()));
        QCOMPARE(rig.StoredKeys(), AllTen);
        QCOMPARE(rig.Stored("Version").toString(), QString("2.0b"));
        QCOMPARE(rig.Stored("Default").toString(), QString("Quarzel Simulator for ICT"));
        QCOMPARE(rig.Stored("Copyright").toString(), ThisBuild.LegalCopyright);
        QCOMPARE(rig.Stored("Author").toString(), QString(SettingsAuthor));
        QCOMPARE(rig.Stored("CurrentMemFile").toString(), QString("/work/a.prg"));
        QCOMPARE(rig.Stored("TempLstFile").toString(), QString("QZasm.lst"));
    }

    void SecondStartOfTheSameVersionOnlyWritesTheSixSettings() {
        TStartupRig rig;
        rig.Store({{"Version", "2.0b"}, {"Copyright", "kept"}});
        TProcessValues values;
        QVERIFY(!StartUp(values, rig.Platform()));
        QVERIFY(rig.helpRequests.isEmpty());
        QVERIFY(ShutDown(values, rig.Platform()));
        QCOMPARE(rig.StoredKeys(), (QStringList{"Copyright", "CurrentAsmFile", "CurrentMemFile",
                                                "DefaultWebHelpAddress", "RunSpeed", "TempLstFile",
                                                "Version", "WebHelpAddress"}));
        QCOMPARE(rig.Stored("Copyright").toString(), QString("kept"));
    }

    void StoredVersionIsComparedExactly_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("firstStart");
        QTest::newRow("same") << "2.0b" << false;
        QTest::newRow("letter case differs") << "2.0B" << true;
        QTest::newRow("older version") << "1.9b" << true;
        QTest::newRow("empty") << "" << true;
    }
    void StoredVersionIsComparedExactly() {
        QFETCH(QString, stored);
        QFETCH(bool, firstStart);
        TStartupRig rig;
        rig.Store({{"Version", stored}});
        TProcessValues values;
        QCOMPARE(StartUp(values, rig.Platform()), firstStart);
        QCOMPARE(rig.helpRequests.size(), firstStart ? 1 : 0);
    }

    void StoredSettingsReplaceTheDefaults() {
        TStartupRig rig;
        rig.Store({{"CurrentMemFile", "/w/m.prg"},
                   {"CurrentAsmFile", "/w/s.asm"},
                   {"WebHelpAddress", "https://example.org/help"},
                   {"DefaultWebHelpAddress", "/old/place/quarzel.htm"},
                   {"TempLstFile", "/w/listing.lst"},
                   {"Version", "2.0b"}});
        TProcessValues values;
        StartUp(values, rig.Platform());
        QCOMPARE(values.CurrentMemFile, QString("/w/m.prg"));
        QCOMPARE(values.CurrentAsmFile, QString("/w/s.asm"));
        QCOMPARE(values.WebHelpAddress, QString("https://example.org/help"));
        // A moved program keeps the stored default address.
        QCOMPARE(values.DefaultWebHelpAddress, QString("/old/place/quarzel.htm"));
        QCOMPARE(values.TempLstFile, QString("/w/listing.lst"));
    }

    void EmptyStoredValuesAreUsedAsEmpty() {
        TStartupRig rig;
        rig.Store({{"WebHelpAddress", ""}, {"TempLstFile", ""}});
        TProcessValues values;
        StartUp(values, rig.Platform());
        QCOMPARE(values.WebHelpAddress, QString());
        QCOMPARE(values.TempLstFile, QString());
    }

    // A value of another type than text keeps its default, the program starts, and a
    // good value is written back at exit.
    void WrongTypedValuesKeepTheirDefaults_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("name");
        QTest::newRow("list") << QByteArray("TempLstFile=a, b") << "TempLstFile";
        QTest::newRow("rectangle") << QByteArray("TempLstFile=@Rect(1 2 3 4)") << "TempLstFile";
        QTest::newRow("bytes") << QByteArray("CurrentMemFile=@ByteArray(\\0\\x1)")
                               << "CurrentMemFile";
        QTest::newRow("variant") << QByteArray(
                                        "WebHelpAddress=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x5)")
                                 << "WebHelpAddress";
        QTest::newRow("version") << QByteArray("Version=@Size(2 0)") << "Version";
    }

    // A value longer than any path keeps its default, as a wrong-typed one does.
    void AbsurdlyLongValuesKeepTheirDefaults_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("length");
        QTest::addColumn<bool>("kept");
        QTest::newRow("list file, absurd") << "TempLstFile" << 5000000 << false;
        QTest::newRow("list file, just too long") << "TempLstFile" << 4097 << false;
        QTest::newRow("list file, longest kept") << "TempLstFile" << 4096 << true;
        QTest::newRow("help address, absurd") << "WebHelpAddress" << 100000 << false;
    }
    void AbsurdlyLongValuesKeepTheirDefaults() {
        QFETCH(QString, name);
        QFETCH(int, length);
        QFETCH(bool, kept);
        TStartupRig rig;
        const QString value(length, u'a');
        rig.Store({{name, value}});
        TProcessValues values;
        StartUp(values, rig.Platform());
        TProcessValues defaults;
        TStartupRig empty;
        StartUp(defaults, empty.Platform());
        const QString& read = name == "TempLstFile" ? values.TempLstFile : values.WebHelpAddress;
        const QString& fallback =
            name == "TempLstFile" ? defaults.TempLstFile : defaults.WebHelpAddress;
        QCOMPARE(read == value, kept);
        if (!kept) QCOMPARE(read, fallback);
    }
    void WrongTypedValuesKeepTheirDefaults() {
        QFETCH(QByteArray, line);
        QFETCH(QString, name);
        TStartupRig rig;
        rig.WriteRaw("[General]\n" + line + "\n");
        QVERIFY(rig.Stored(name).typeId() != QMetaType::QString);

        TProcessValues values;
        const bool firstStart = StartUp(values, rig.Platform());
        TProcessValues defaults;
        TStartupRig empty;
        StartUp(defaults, empty.Platform());
        QCOMPARE(firstStart, true);  // no readable version
        QCOMPARE(values.CurrentMemFile, defaults.CurrentMemFile);
        QCOMPARE(values.WebHelpAddress, defaults.WebHelpAddress);
        QCOMPARE(values.TempLstFile, defaults.TempLstFile);

        QVERIFY(ShutDown(values, rig.Platform()));
        QCOMPARE(rig.Stored(name).typeId(), QMetaType::QString);
        QCOMPARE(rig.StoredKeys(), AllTen);
    }

    void AnUnreadableStoreStartsWithTheDefaults() {
        TStartupRig rig;
        QVERIFY(QDir().mkpath(rig.SettingsPath()));  // a folder where the file should be
        TTestPrompt prompt;
        TProcessValues values;
        QVERIFY(StartUp(values, rig.Platform()));
        QCOMPARE(values.TempLstFile, QString("QZasm.lst"));
        QCOMPARE(values.WebHelpAddress, values.DefaultWebHelpAddress);
        // Nothing can be written either; the user is told instead of losing them silently.
        QVERIFY(!ShutDown(values, rig.Platform()));
        QCOMPARE(prompt.Shown.size(), 1);
        QVERIFY(prompt.Shown.first().startsWith("Error|The settings could not be saved"));
    }
};

QTEST_MAIN(TStartupTest)
#include "startup_test.moc"
