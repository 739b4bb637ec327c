#include "app/about.h"

#include <QApplication>
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
#include "gui/theme.h"
#include "gui/zoom.h"

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

QRect ZoomedRect(const QRect& place) {
    return {Zoomed(place.x()), Zoomed(place.y()), Zoomed(place.width()), Zoomed(place.height())};
}

QSize ZoomedClientSize() {
    return {Zoomed(ClientSize.width()), Zoomed(ClientSize.height())};
}

QLabel* CentredLabel(QWidget* parent, const char* name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

// A label at its place of the 100 % layout, at the zoom, widened about its centre when
// its text needs more room than that.
void PlaceLabel(QLabel* label, const QRect& place) {
    label->setGeometry(ZoomedRect(place));
    const int needed = label->fontMetrics().horizontalAdvance(label->text()) + 4;
    if (needed <= label->width()) return;
    const int centre = label->geometry().center().x();
    const int client = ZoomedClientSize().width();
    const int width = std::min(needed, client);
    const int left = std::clamp(centre - width / 2, 0, client - width);
    label->setGeometry(left, label->y(), width, label->height());
}

QPushButton* BevelledButton(QWidget* parent, const char* bevelName, QFrame*& bevel,
                            const char* name, const char* caption, bool info) {
    bevel = new QFrame(parent);
    bevel->setObjectName(bevelName);
    bevel->setFrameStyle(QFrame::Panel | QFrame::Raised);
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
    const TLook look = CurrentLook();
    picture.fill(look == TLook::Light ? QColor(226, 226, 228)
                                      : QApplication::palette().color(QPalette::Window));
    if (look == TLook::HighContrast) return picture;  // no colour but the text's
    QPainter painter(&picture);
    // On a dark field the glows are fainter, so the text stays readable.
    const int alpha = look == TLook::Light ? 150 : 70;
    Glow(painter, QPointF(70, 165), 150, QColor(255, 70, 70, alpha));
    Glow(painter, QPointF(213, 10), 140, QColor(60, 210, 60, alpha * 14 / 15));
    Glow(painter, QPointF(410, 95), 150, QColor(70, 90, 255, alpha));
    return picture;
}

TAboutForm::TAboutForm(QWidget* mainWindow) : QDialog(mainWindow) {
    SetUpFixedDialog(this, "AboutForm", "About", true);
    setProperty(HelpContextProperty, AboutContext);

    BackGround = new QLabel(this);
    BackGround->setObjectName("BackGround");
    BackGround->setScaledContents(true);
    AboutL1 = CentredLabel(this, "AboutL1", "Quarzel Simulator for ICT");
    Versie = CentredLabel(this, "Versie", "v" + ProcessValues().VersionText);
    CRight = CentredLabel(this, "CRight", ProcessValues().LegalText);
    CRight->setToolTip("See information under the Info-button");
    CloseAboutButton = BevelledButton(this, "Bevel2", Bevel2, "CloseAboutButton", "&Close", false);
    InfoAboutButton = BevelledButton(this, "Bevel1", Bevel1, "InfoAboutButton", "&Info", true);
    connect(CloseAboutButton, &QPushButton::clicked, this, &TAboutForm::CloseAboutButtonClick);
    connect(InfoAboutButton, &QPushButton::clicked, this, &TAboutForm::InfoAboutButtonClick);
    PlaceControls();
    FollowZoom(this, [this] { PlaceControls(); });
    FollowTheme(this, [this] { BackGround->setPixmap(BackgroundPicture()); });

    if (mainWindow) {
        // Client areas centred on each other: both windows carry the same decoration, so
        // their frames are centred too, and neither frame needs to be known yet.
        const QRect owner = mainWindow->geometry();
        setGeometry(owner.x() + (owner.width() - width()) / 2,
                    owner.y() + (owner.height() - height()) / 2, width(), height());
    }
}

// The layout of 100 % at the zoom.
void TAboutForm::PlaceControls() {
    setFixedSize(ZoomedClientSize());
    BackGround->setGeometry(rect());

    QFont title(QStringLiteral("Garamond"));
    title.setStyleHint(QFont::Serif);
    title.setBold(true);
    title.setPixelSize(Zoomed(TitlePixelHeight));
    AboutL1->setGeometry(ZoomedRect(QRect(24, 32, 376, 39)));
    // Where the serif face is wider than the one the layout was made for, shrink it so
    // the title is never clipped.
    while (QFontMetrics(title).horizontalAdvance(AboutL1->text()) > AboutL1->width() &&
           title.pixelSize() > Zoomed(12)) {
        title.setPixelSize(title.pixelSize() - 1);
    }
    AboutL1->setFont(title);

    PlaceLabel(Versie, QRect(168, 64, 89, 17));
    PlaceLabel(CRight, QRect(136, 104, 153, 13));
    CRight->resize(CRight->width(), std::max(CRight->height(), CRight->fontMetrics().height()));
    Bevel2->setGeometry(ZoomedRect(QRect(136, 136, 73, 25)));
    Bevel1->setGeometry(ZoomedRect(QRect(216, 136, 73, 25)));
}

void TAboutForm::CloseAboutButtonClick() {
    close();
}

void TAboutForm::InfoAboutButtonClick() {
    HelpHook().FormHelp(HelpContextPopup, ProgramInfoContext);
}
