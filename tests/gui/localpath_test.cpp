// File names with characters beyond ASCII, through the file layer and back: the file
// is found under the name chosen, and the file layer's errors name it as chosen.

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include "core/atomicfile.h"
#include "core/fileerror.h"
#include "core/readfile.h"
#include "gui/localpath.h"

class TLocalPathTest : public QObject {
    Q_OBJECT
private slots:
    void SavedFileHasTheChosenName_data() { Names(); }
    void SavedFileHasTheChosenName() {
        QFETCH(QString, name);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        WriteFileAtomically(LocalPath(path), "x");
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{name});
        QCOMPARE(FromLocalPath(LocalPath(path)), path);
    }

    void ErrorNamesTheChosenFile_data() { Names(); }
    void ErrorNamesTheChosenFile() {
        QFETCH(QString, name);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        try {
            ReadFileStart(LocalPath(path), 1);
            QFAIL("a missing file was read");
        } catch (const EFileError& error) {
            QCOMPARE(FileErrorText(error), "Cannot open file " + path);
        }
    }

private:
    static void Names() {
        QTest::addColumn<QString>("name");
        QTest::newRow("ASCII") << "prog 1.asm";
        QTest::newRow("Latin accents") << QString::fromUtf8("Übung à côté.prg");
        QTest::newRow("Greek") << QString::fromUtf8("άσκηση.asm");
        QTest::newRow("CJK") << QString::fromUtf8("練習.asm");
        QTest::newRow("outside the BMP") << QString::fromUtf8("\xF0\x9F\x8E\x9B.asm");
    }
};

QTEST_MAIN(TLocalPathTest)
#include "localpath_test.moc"
