#include <QtTest>

#include "gui/dialogpaths.h"

class TDialogPathsTest : public QObject {
    Q_OBJECT
private slots:
    void FolderAndBaseName_data();
    void FolderAndBaseName();
};

void TDialogPathsTest::FolderAndBaseName_data() {
    QTest::addColumn<QString>("reference");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("base");
    QTest::newRow("full path") << "/work/prog1.asm"
                               << "/work"
                               << "prog1";
    QTest::newRow("no folder") << "prog1.asm"
                               << ""
                               << "prog1";
    QTest::newRow("dot in folder only") << "/a.b/file"
                                        << "/a.b"
                                        << "";
    QTest::newRow("no extension") << "/work/x"
                                  << "/work"
                                  << "";
    QTest::newRow("two dots") << "/w/a.b.prg"
                              << "/w"
                              << "a.b";
    QTest::newRow("root") << "/x.prg"
                          << ""
                          << "x";
    QTest::newRow("empty") << ""
                           << ""
                           << "";
}

void TDialogPathsTest::FolderAndBaseName() {
    QFETCH(QString, reference);
    QTEST(DialogFolder(reference), "folder");
    QTEST(ProposedBaseName(reference), "base");
}

QTEST_MAIN(TDialogPathsTest)
#include "dialogpaths_test.moc"
