#include "app/about.h"

#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadialGradient>
#include <QVBoxLayout>

#include "app/helptopics.h"
#include "gui/helpcontexts.h"
#include "gui/helphook.h"
#include "gui/named.h"
#include "gui/processvalues.h"

namespace {

constexpr QSize ClientSize(427, 187);
constexpr int TitlePixelHeight = 35;

void Glow(QPainter& painter, QPointF centre, qreal radius, QColor colour) {
    QRadialGradient gradient(centre, radius);
    gradient.setColorAt(0, colour);
    colour.setAlpha(0);
    gradient.setColorAt(1, colour);
    painter.fillRect(QRectF(QPointF(0, 0), ClientSize), gradient);
}

// A small glyph for a flat button; the disabled state is derived from it.
QIcon ButtonGlyph(bool info) {
    QPixmap glyph(16, 16);
    glyph.fill(Qt::transparent);
    QPainter painter(&glyph);
    painter.setRenderHint(QPainter::Antialiasing);
    if (info) {
        painter.setBrush(QColor(0, 0, 192));
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(QRectF(1, 1, 14, 14));
        painter.setPen(QPen(Qt::white, 2));
        painter.drawPoint(QPointF(8, 4.5));
        painter.drawLine(QPointF(8, 7), QPointF(8, 12));
    } else {
        painter.setPen(QPen(QColor(160, 0, 0), 2.5, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(4, 4), QPointF(12, 12));
        painter.drawLine(QPointF(12, 4), QPointF(4, 12));
    }
    return QIcon(glyph);
}

QLabel* CentredLabel(QWidget* parent, const char* name, const QString& text, const QRect& place) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignCenter);
    label->setGeometry(place);
    return label;
}

// A label widened about its centre when its text needs more room than its place.
void FitWidth(QLabel* label) {
    const int needed = label->fontMetrics().horizontalAdvance(label->text()) + 4;
    if (needed <= label->width()) return;
    const int centre = label->geometry().center().x();
    const int width = std::min(needed, ClientSize.width());
    const int left = std::clamp(centre - width / 2, 0, ClientSize.width() - width);
    label->setGeometry(left, label->y(), width, label->height());
}

QPushButton* BevelledButton(QWidget* parent, const char* bevelName, QFrame*& bevel,
                            const char* name, const char* caption, bool info, QPoint place) {
    bevel = new QFrame(parent);
    bevel->setObjectName(bevelName);
    bevel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    bevel->setGeometry(QRect(place, QSize(73, 25)));
    auto* button = new QPushButton(ButtonGlyph(info), caption, bevel);
    button->setObjectName(name);
    button->setFlat(true);
    auto* layout = new QVBoxLayout(bevel);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->addWidget(button);
    return button;
}

}  // namespace

QPixmap TAboutForm::BackgroundPicture() {
    QPixmap picture(ClientSize);
    picture.fill(QColor(226, 226, 228));
    QPainter painter(&picture);
    Glow(painter, QPointF(70, 165), 150, QColor(255, 70, 70, 150));
    Glow(painter, QPointF(213, 10), 140, QColor(60, 210, 60, 140));
    Glow(painter, QPointF(410, 95), 150, QColor(70, 90, 255, 150));
    return picture;
}

TAboutForm::TAboutForm(QWidget* mainWindow) : QDialog(mainWindow) {
    SetUpFixedDialog(this, "AboutForm", "About", true);
    setProperty(HelpContextProperty, AboutContext);
    setFixedSize(ClientSize);

    BackGround = new QLabel(this);
    BackGround->setObjectName("BackGround");
    BackGround->setPixmap(BackgroundPicture());
    BackGround->setScaledContents(true);
    BackGround->setGeometry(rect());

    AboutL1 = CentredLabel(this, "AboutL1", "Quarzel Simulator for ICT", QRect(24, 32, 376, 39));
    QFont title(QStringLiteral("Garamond"));
    title.setStyleHint(QFont::Serif);
    title.setBold(true);
    title.setPixelSize(TitlePixelHeight);
    // Where the serif face is wider than the one the layout was made for, shrink it so
    // the title is never clipped.
    while (QFontMetrics(title).horizontalAdvance(AboutL1->text()) > AboutL1->width() &&
           title.pixelSize() > 12) {
        title.setPixelSize(title.pixelSize() - 1);
    }
    AboutL1->setFont(title);

    Versie =
        CentredLabel(this, "Versie", "v" + ProcessValues().VersionText, QRect(168, 64, 89, 17));
    CRight = CentredLabel(this, "CRight", ProcessValues().LegalText, QRect(136, 104, 153, 13));
    CRight->setToolTip("See information under the Info-button");
    FitWidth(Versie);
    FitWidth(CRight);
    CRight->setFixedHeight(std::max(CRight->height(), CRight->fontMetrics().height()));

    CloseAboutButton = BevelledButton(this, "Bevel2", Bevel2, "CloseAboutButton", "&Close", false,
                                      QPoint(136, 136));
    InfoAboutButton =
        BevelledButton(this, "Bevel1", Bevel1, "InfoAboutButton", "&Info", true, QPoint(216, 136));
    connect(CloseAboutButton, &QPushButton::clicked, this, &TAboutForm::CloseAboutButtonClick);
    connect(InfoAboutButton, &QPushButton::clicked, this, &TAboutForm::InfoAboutButtonClick);

    if (mainWindow) {
        // Client areas centred on each other: both windows carry the same decoration, so
        // their frames are centred too, and neither frame needs to be known yet.
        const QRect owner = mainWindow->geometry();
        setGeometry(owner.x() + (owner.width() - width()) / 2,
                    owner.y() + (owner.height() - height()) / 2, width(), height());
    }
}

void TAboutForm::CloseAboutButtonClick() {
    close();
}

void TAboutForm::InfoAboutButtonClick() {
    HelpHook().FormHelp(HelpContextPopup, ProgramInfoContext);
}
