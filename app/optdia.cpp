#include "app/optdia.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "gui/helpcontexts.h"
#include "gui/named.h"
#include "gui/processvalues.h"
#include "gui/theme.h"
#include "gui/zoom.h"

namespace {

QLabel* FieldLabel(const char* name, const char* caption, QWidget* field) {
    auto* label = Named(new QLabel(caption), name);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setBuddy(field);
    return label;
}

}  // namespace

QFont TOptionsDialog::SampleFont(const THighlightStyle& style) {
    QFont font = style.Font();
    font.setPointSize(std::min(style.Height / 20, MaxSamplePointSize));
    return font;
}

QLabel* TOptionsDialog::NewSample(const char* name, const char* caption, const QString& hint,
                                  THighlightClass cls) {
    auto* sample = Named(new QLabel(caption), name);
    const THighlightStyle& style = HighlightStyle(cls);
    sample->setToolTip(hint);
    sample->setFont(SampleFont(style));
    QPalette colours = sample->palette();
    colours.setColor(QPalette::WindowText, ThemedText(style.Color));
    sample->setPalette(colours);
    return sample;
}

TOptionsDialog::TOptionsDialog(QWidget* parent) : QDialog(parent) {
    SetUpFixedDialog(this, "OptionsDialog", "Options", true);
    setProperty(HelpContextProperty, NoHelpContext);

    const TProcessValues& values = ProcessValues();
    WebHelpAdrInput =
        Named(new QLineEdit(values.WebHelpAddress), "WebHelpAdrInput", WebHelpAdrContext);
    DefaultWebHelpAdrButton =
        Named(new QPushButton("Default"), "DefaultWebHelpAdrButton", DefaultWebHelpAdrContext);
    DefaultWebHelpAdrButton->setToolTip("Select default help address");
    TempLstFileInput =
        Named(new QLineEdit(values.TempLstFile), "TempLstFileInput", TempLstFileContext);
    DefaultTempLstFileButton =
        Named(new QPushButton("Default"), "DefaultTempLstFileButton", DefaultTempLstFileContext);
    DefaultTempLstFileButton->setToolTip("Select default temporary list file");
    WebHelpAdrLabel = FieldLabel("WebHelpAdrLabel", "Additional Help Address:", WebHelpAdrInput);
    TempLstFileLabel = FieldLabel("TempLstFileLabel", "Temporary List File:", TempLstFileInput);
    WebHelpAdrInput->setMinimumWidth(Zoomed(200));

    PathsOptionsGroup = Named(new QGroupBox("Paths"), "PathsOptionsGroup");
    auto* paths = new QGridLayout(PathsOptionsGroup);
    paths->addWidget(WebHelpAdrLabel, 0, 0);
    paths->addWidget(WebHelpAdrInput, 0, 1);
    paths->addWidget(DefaultWebHelpAdrButton, 0, 2);
    paths->addWidget(TempLstFileLabel, 1, 0);
    paths->addWidget(TempLstFileInput, 1, 1);
    paths->addWidget(DefaultTempLstFileButton, 1, 2);
    paths->setColumnStretch(1, 1);

    OkButton = Named(new QPushButton("OK"), "OkButton", NoHelpContext);
    OkButton->setDefault(true);
    CancelButton = Named(new QPushButton("Cancel"), "CancelButton", NoHelpContext);

    FontsOptionsGroup = Named(new QGroupBox("Assembler Editor Fonts"), "FontsOptionsGroup");
    // Each sample is named after the class it shows; its hint says so too.
    const struct {
        QLabel* TOptionsDialog::*Field;
        const char* Name;
        const char* Caption;
        THighlightClass Class;
    } samples[] = {
        {&TOptionsDialog::NormalFontButton, "NormalFontButton", "normal", THighlightClass::Normal},
        {&TOptionsDialog::StringFontButton, "StringFontButton", "strings", THighlightClass::String},
        {&TOptionsDialog::NumericFontButton, "NumericFontButton", "numerics",
         THighlightClass::Numeric},
        {&TOptionsDialog::KeywordFontButton, "KeywordFontButton", "keywords",
         THighlightClass::Keyword},
        {&TOptionsDialog::CommentFontButton, "CommentFontButton", "comments",
         THighlightClass::Comment},
        {&TOptionsDialog::ErrorFontButton, "ErrorFontButton", "errors", THighlightClass::Error},
    };
    auto* sampleRow = new QHBoxLayout(FontsOptionsGroup);
    for (const auto& sample : samples) {
        const QString hint = QString("Click to change %1 font").arg(sample.Caption);
        this->*sample.Field = NewSample(sample.Name, sample.Caption, hint, sample.Class);
        sampleRow->addWidget(this->*sample.Field);
    }
    FontsOptionsGroup->setVisible(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OkButton);
    buttons->addWidget(CancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PathsOptionsGroup);
    layout->addWidget(FontsOptionsGroup);
    layout->addLayout(buttons);

    setTabOrder(WebHelpAdrInput, DefaultWebHelpAdrButton);
    setTabOrder(DefaultWebHelpAdrButton, TempLstFileInput);
    setTabOrder(TempLstFileInput, DefaultTempLstFileButton);
    setTabOrder(DefaultTempLstFileButton, OkButton);
    setTabOrder(OkButton, CancelButton);

    connect(OkButton, &QPushButton::clicked, this, &TOptionsDialog::OkButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(DefaultWebHelpAdrButton, &QPushButton::clicked, this,
            &TOptionsDialog::DefaultWebHelpAdrButtonClick);
    connect(DefaultTempLstFileButton, &QPushButton::clicked, this,
            &TOptionsDialog::DefaultTempLstFileButtonClick);

    // At least the size of the 100 % layout at the zoom (the dialog is modal, so the zoom
    // stays while it is open).
    ZoomLayouts(this);
    setFixedSize(sizeHint().expandedTo(QSize(Zoomed(448), Zoomed(132))));
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

void TOptionsDialog::OkButtonClick() {
    ProcessValues().WebHelpAddress = WebHelpAdrInput->text();
    ProcessValues().TempLstFile = TempLstFileInput->text();
    accept();
}

void TOptionsDialog::DefaultWebHelpAdrButtonClick() {
    WebHelpAdrInput->setText(ProcessValues().DefaultWebHelpAddress);
    WebHelpAdrInput->setFocus();
}

void TOptionsDialog::DefaultTempLstFileButtonClick() {
    TempLstFileInput->setText(DefaultTempLstFile);
    TempLstFileInput->setFocus();
}
