// The program's save dialog: a name typed without an extension gets the one of the
// filter chosen, before the dialog asks whether to replace a file of that name.

#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "gui/prompt.h"

class TSaveDialogTest : public QObject {
    Q_OBJECT
private slots:
    void TypedNameTakesTheChosenFiltersExtension_data() {
        QTest::addColumn<int>("filter");
        QTest::addColumn<QString>("saved");
        QTest::newRow("first filter") << 0 << "out.tsv";
        QTest::newRow("second filter") << 1 << "out.csv";
        QTest::newRow("every file keeps the default") << 2 << "out.tsv";
    }
    void TypedNameTakesTheChosenFiltersExtension() {
        QFETCH(int, filter);
        QTemporaryDir dir;
        TFileDialogRequest request;
        request.Title = "Export";
        request.Filters = {"Trace Files (*.tsv *.txt)", "CSV Files (*.csv)", "All Files (*)"};
        request.Directory = dir.path();
        request.DefaultSuffix = "tsv";
        QTimer::singleShot(0, [filter] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            auto* types = dialog->findChild<QComboBox*>("fileTypeCombo");
            for (int i = 0; i < filter; ++i) QTest::keyClick(types, Qt::Key_Down);  // as a user
            dialog->findChild<QLineEdit*>("fileNameEdit")->setText("out");
            QMetaObject::invokeMethod(dialog, "accept");
        });
        const QString name = Prompt().SaveFileName(nullptr, request);
        QTEST(QFileInfo(name).fileName(), "saved");
    }
};

QTEST_MAIN(TSaveDialogTest)
#include "savedialog_test.moc"
