#include "controls/showtext.h"

#include "controls/gridaccess.h"

#include <QAccessible>
#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QTimerEvent>
#include <algorithm>

#include "core/cp437.h"

namespace {

constexpr int RepaintInterval = 16;  // ms: one repaint per frame, however much is written
// Output is said as a notification a moment after it stops coming, at most its last
// characters, so a screen reader is not flooded by a program that writes on and on.
constexpr int SayInterval = 250;  // ms
constexpr qsizetype MaxSaid = 200;
constexpr unsigned char Backspace = 8, LineFeed = 10;

QString ToGlyphs(const std::string& line) {
    return QString::fromStdString(Cp437GlyphsToUtf8(line));
}

}  // namespace

QString TShowText::ShownText() const {
    return QString::fromStdString(Text_.ShownText());
}

TShowText::TShowText(QWidget* parent) : QFrame(parent) {
    InstallControlsAccessibility();
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    setContentsMargins(1, 0, 0, 0);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::ArrowCursor);
    setAttribute(Qt::WA_OpaquePaintEvent);
    QFont terminal = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    terminal.setPixelSize(13);
    setFont(terminal);
    resize(sizeHint());
    CalcWinSize();
}

void TShowText::SetColor(const QColor& color) {
    Color_ = color;
    update();
}

void TShowText::SetTextColor(const QColor& color) {
    TextColor_ = color;
    update();
}

void TShowText::CalcWinSize() {
    const QFontMetrics metrics(font());
    const QRect client = contentsRect();
    Text_.SetMeasure(client.width() / std::max(1, metrics.horizontalAdvance(u'x')),
                     client.height() / std::max(1, metrics.height()));
    LaidOutSize_ = size();
    FontChanged_ = false;
}

void TShowText::MeasureIfChanged() {
    if (FontChanged_ || size() != LaidOutSize_) CalcWinSize();
}

void TShowText::Write(char c) {
    MeasureIfChanged();
    Text_.Write(c);
    if (static_cast<unsigned char>(c) != Backspace)
        Unspoken_.push_back(c);
    else if (!Unspoken_.empty())
        Unspoken_.pop_back();
    if (!RepaintTimer_.isActive()) RepaintTimer_.start(RepaintInterval, this);
}

// What was written since the last repaint, as one insertion at the end of the text, so a
// screen reader speaks output by the frame and not by the character.
void TShowText::SpeakWritten() {
    if (Unspoken_.empty() || !AnnouncementsHeard()) {
        Unspoken_.clear();
        return;
    }
    QString spoken;
    for (const char c : Unspoken_) {
        if (static_cast<unsigned char>(c) == LineFeed)
            spoken += u'\n';
        else
            spoken += ToGlyphs(std::string(1, c));
    }
    Unspoken_.clear();
    const QString shown = ShownText();
    QAccessibleTextInsertEvent event(
        this, int(std::max(qsizetype(0), shown.size() - spoken.size())), spoken);
    Announce(&event);
    Unsaid_ = (Unsaid_ + spoken).right(MaxSaid);
    if (!SayTimer_.isActive()) SayTimer_.start(SayInterval, this);
}

void TShowText::SayUnsaid() {
    if (Quiet_ && Quiet_()) return;  // the timer asks again
    SayTimer_.stop();
    if (!Unsaid_.trimmed().isEmpty()) AnnounceNotification(this, Unsaid_);  // not a bare newline
    Unsaid_.clear();
}

bool TShowText::TakeBack() {
    MeasureIfChanged();
    if (!Text_.TakeBack()) return false;
    if (!RepaintTimer_.isActive()) RepaintTimer_.start(RepaintInterval, this);
    return true;
}

void TShowText::ForgetWritten() {
    Text_.ForgetWritten();
}

void TShowText::Write(const char* text) {
    for (; *text != '\0'; ++text) Write(*text);
}

void TShowText::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), Color_);
    drawFrame(&painter);
    painter.setFont(font());
    painter.setPen(TextColor_);
    const QFontMetrics metrics(font());
    const QRect client = contentsRect();
    painter.setClipRect(client);
    const int shown = std::min(static_cast<int>(Lines().size()), Rows());
    for (int i = 0; i < shown; ++i)
        painter.drawText(client.left(), client.top() + i * metrics.height() + metrics.ascent(),
                         ToGlyphs(Lines()[i]));
}

void TShowText::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        FontChanged_ = true;
        if (!font().fixedPitch()) {
            QFont fixed = font();
            fixed.setFixedPitch(true);
            setFont(fixed);
        }
    }
    QFrame::changeEvent(event);
}

void TShowText::timerEvent(QTimerEvent* event) {
    if (event->timerId() == SayTimer_.timerId()) {
        SayUnsaid();
        return;
    }
    if (event->timerId() != RepaintTimer_.timerId()) {
        QFrame::timerEvent(event);
        return;
    }
    RepaintTimer_.stop();
    update();
    SpeakWritten();
}

void TShowText::mousePressEvent(QMouseEvent* event) {
    event->accept();
}

void TShowText::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
}

void TShowText::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
}

void TShowText::contextMenuEvent(QContextMenuEvent* event) {
    event->accept();
}
