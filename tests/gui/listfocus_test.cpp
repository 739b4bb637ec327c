// A list that marks its row by selection has a current row only while it has focus, so a
// screen reader hears focus in the one control the keys go to.

#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QtTest>

#include "focusedrows.h"
#include "gui/listfocus.h"

class TListFocusTest : public QObject {
    Q_OBJECT
private slots:
    void SelectionStaysCurrentGoesWithFocus() {
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* edit = new QLineEdit;
        auto* list = new QListWidget;
        layout->addWidget(edit);
        layout->addWidget(list);
        for (int i = 0; i < 100; ++i) list->addItem(QString::number(i));
        CurrentOnlyWithFocus(*list);
        window.show();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        edit->setFocus();

        SelectRow(*list, 50);  // keys go to the edit box
        QCOMPARE(SelectedRow(*list), 50);
        QCOMPARE(FocusedRows(*list), QList<int>{});
        const int top = list->verticalScrollBar()->value();
        QVERIFY(top > 0);  // row 50 came into view

        list->verticalScrollBar()->setValue(0);
        list->setFocus(Qt::MouseFocusReason);
        QCOMPARE(FocusedRows(*list), QList<int>{50});
        QCOMPARE(list->verticalScrollBar()->value(), 0);  // a click lands where it was aimed
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(SelectedRow(*list), 51);
        SelectRow(*list, 7);
        QCOMPARE(FocusedRows(*list), QList<int>{7});

        edit->setFocus();
        QCOMPARE(FocusedRows(*list), QList<int>{});
        QCOMPARE(SelectedRow(*list), 7);
        list->clearSelection();
        QCOMPARE(SelectedRow(*list), -1);
    }
};

QTEST_MAIN(TListFocusTest)
#include "listfocus_test.moc"
