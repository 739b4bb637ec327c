// The options dialog: two settings, their Default buttons, OK and Cancel.

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <span>

#include "app/optdia.h"
#include "gui/processvalues.h"

namespace {

// Opens a dialog on given settings, lets a step act on it, and restores the settings.
struct TSettingsRig {
    TProcessValues saved = ProcessValues();
    TSettingsRig() {
        ProcessValues().WebHelpAddress = "https://example.org/quarzel";
        ProcessValues().DefaultWebHelpAddress = "/opt/quarzel/quarzel.htm";
        ProcessValues().TempLstFile = "/work/listing.lst";
    }
    ~TSettingsRig() { ProcessValues() = saved; }
};

}  // namespace

class TOptionsDialogTest : public QObject {
    Q_OBJECT
private slots:
    void ShowsTheCurrentSettings() {
        TSettingsRig rig;
        TOptionsDialog dialog;
        QCOMPARE(dialog.WebHelpAdrInput->text(), QString("https://example.org/quarzel"));
        QCOMPARE(dialog.TempLstFileInput->text(), QString("/work/listing.lst"));
        QVERIFY(dialog.OkButton->isDefault());
        QVERIFY(dialog.FontsOptionsGroup->isHidden());
        QCOMPARE(dialog.windowTitle(), QString("Options"));
    }

    // Each row: the edits, then OK or Cancel, then what the settings hold.
    void Closing_data() {
        QTest::addColumn<QString>("actions");  // space-separated steps
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("webHelp");
        QTest::addColumn<QString>("listFile");
        QTest::newRow("OK unchanged stores both as they are")
            << "" << true << "https://example.org/quarzel"
            << "/work/listing.lst";
        QTest::newRow("defaults then Cancel keeps both")
            << "default-help default-list" << false << "https://example.org/quarzel"
            << "/work/listing.lst";
        QTest::newRow("defaults then OK")
            << "default-help default-list" << true << "/opt/quarzel/quarzel.htm"
            << "QZasm.lst";
        QTest::newRow("emptied help address is stored empty") << "clear-help" << true << ""
                                                              << "/work/listing.lst";
        QTest::newRow("typed text is stored as typed")
            << "type-help type-list" << true << "  not a url "
            << "x\\y.lst";
        QTest::newRow("typed then Cancel")
            << "type-help type-list" << false << "https://example.org/quarzel"
            << "/work/listing.lst";
    }
    void Closing() {
        QFETCH(QString, actions);
        QFETCH(bool, ok);
        QFETCH(QString, webHelp);
        QFETCH(QString, listFile);
        TSettingsRig rig;
        auto* dialog = new TOptionsDialog;
        QPointer<TOptionsDialog> alive = dialog;
        dialog->show();
        for (const QString& action : actions.split(' ', Qt::SkipEmptyParts)) {
            if (action == "default-help")
                QTest::mouseClick(dialog->DefaultWebHelpAdrButton, Qt::LeftButton);
            if (action == "default-list")
                QTest::mouseClick(dialog->DefaultTempLstFileButton, Qt::LeftButton);
            if (action == "clear-help") dialog->WebHelpAdrInput->clear();
            if (action == "type-help") dialog->WebHelpAdrInput->setText("  not a url ");
            if (action == "type-list") dialog->TempLstFileInput->setText("x\\y.lst");
        }
        QTest::mouseClick(ok ? dialog->OkButton : dialog->CancelButton, Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!alive);  // destroyed when closed
        QCOMPARE(ProcessValues().WebHelpAddress, webHelp);
        QCOMPARE(ProcessValues().TempLstFile, listFile);
    }

    void EnterPressesOkAndEscCancels() {
        TSettingsRig rig;
        {
            auto* dialog = new TOptionsDialog;
            dialog->show();
            dialog->WebHelpAdrInput->setText("typed");
            QTest::keyClick(dialog->WebHelpAdrInput, Qt::Key_Escape);
            QCOMPARE(ProcessValues().WebHelpAddress, QString("https://example.org/quarzel"));
        }
        auto* dialog = new TOptionsDialog;
        dialog->show();
        dialog->WebHelpAdrInput->setText("typed");
        QTest::keyClick(dialog->WebHelpAdrInput, Qt::Key_Return);
        QCOMPARE(ProcessValues().WebHelpAddress, QString("typed"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void DefaultButtonsFillTheirFieldAndFocusIt() {
        TSettingsRig rig;
        TOptionsDialog dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QTest::mouseClick(dialog.DefaultTempLstFileButton, Qt::LeftButton);
        QCOMPARE(dialog.TempLstFileInput->text(), QString("QZasm.lst"));
        QVERIFY(dialog.TempLstFileInput->hasFocus());
        QTest::mouseClick(dialog.DefaultWebHelpAdrButton, Qt::LeftButton);
        QCOMPARE(dialog.WebHelpAdrInput->text(), QString("/opt/quarzel/quarzel.htm"));
        QVERIFY(dialog.WebHelpAdrInput->hasFocus());
    }

    void OpeningAgainShowsWhatTheFirstOkStored() {
        TSettingsRig rig;
        auto* first = new TOptionsDialog;
        first->show();
        first->WebHelpAdrInput->setText("file:///help/index.htm");
        first->TempLstFileInput->setText("out.lst");
        QTest::mouseClick(first->OkButton, Qt::LeftButton);
        TOptionsDialog second;
        QCOMPARE(second.WebHelpAdrInput->text(), QString("file:///help/index.htm"));
        QCOMPARE(second.TempLstFileInput->text(), QString("out.lst"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void HelpContextsAndKeyboardOrder() {
        TOptionsDialog dialog;
        const QList<QPair<QWidget*, int>> contexts = {
            {&dialog, 9999},
            {dialog.WebHelpAdrInput, 401},
            {dialog.DefaultWebHelpAdrButton, 402},
            {dialog.TempLstFileInput, 403},
            {dialog.DefaultTempLstFileButton, 404},
            {dialog.OkButton, 9999},
            {dialog.CancelButton, 9999},
        };
        for (const auto& [widget, context] : contexts) {
            QCOMPARE(widget->property("helpContext").toInt(), context);
        }
        QWidget* expected[] = {dialog.WebHelpAdrInput,  dialog.DefaultWebHelpAdrButton,
                               dialog.TempLstFileInput, dialog.DefaultTempLstFileButton,
                               dialog.OkButton,         dialog.CancelButton};
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QCOMPARE(QApplication::focusWidget(), expected[0]);
        for (QWidget* next : std::span(expected).subspan(1)) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }
    }

    void SampleFonts_data() {
        QTest::addColumn<int>("height");  // twips
        QTest::addColumn<int>("points");
        QTest::newRow("ten points") << 200 << 10;
        QTest::newRow("whole points only") << 190 << 9;
        QTest::newRow("fourteen is the limit") << 280 << 14;
        QTest::newRow("larger is cut to fourteen") << 600 << 14;
    }
    void SampleFonts() {
        QFETCH(int, height);
        QFETCH(int, points);
        THighlightStyle style;
        style.Height = height;
        style.Italic = true;
        style.StrikeOut = true;
        const QFont font = TOptionsDialog::SampleFont(style);
        QCOMPARE(font.pointSize(), points);
        QVERIFY(font.italic());
        QVERIFY(font.strikeOut());
        QVERIFY(!font.bold());
    }

    void SamplesShowTheirStyles() {
        TOptionsDialog dialog;
        const QList<QPair<QLabel*, THighlightClass>> samples = {
            {dialog.NormalFontButton, THighlightClass::Normal},
            {dialog.KeywordFontButton, THighlightClass::Keyword},
            {dialog.NumericFontButton, THighlightClass::Numeric},
            {dialog.StringFontButton, THighlightClass::String},
            {dialog.CommentFontButton, THighlightClass::Comment},
            {dialog.ErrorFontButton, THighlightClass::Error},
        };
        for (const auto& [label, cls] : samples) {
            const THighlightStyle& style = HighlightStyle(cls);
            QCOMPARE(label->font(), TOptionsDialog::SampleFont(style));
            QCOMPARE(label->palette().color(QPalette::WindowText), style.Color);
        }
        QVERIFY(dialog.KeywordFontButton->font().bold());
        QCOMPARE(dialog.CommentFontButton->font().pointSize(), 9);
        QVERIFY(dialog.ErrorFontButton->font().underline());
    }
};

QTEST_MAIN(TOptionsDialogTest)
#include "optdia_test.moc"
