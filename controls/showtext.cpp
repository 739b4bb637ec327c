#include "controls/showtext.h"

#include "controls/gridaccess.h"

#include <QAccessible>
#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QStringList>
#include <QTimerEvent>
#include <algorithm>

#include "controls/cp437.h"

namespace {

constexpr int TabWidth = 8;
constexpr int RepaintInterval = 16;  // ms: one repaint per frame, however much is written
constexpr unsigned char Backspace = 8, Tab = 9, LineFeed = 10;

QString ToGlyphs(const std::string& line) {
    QString text;
    text.reserve(static_cast<qsizetype>(line.size()));
    for (const char c : line) {
        const char32_t glyph = Cp437Glyph(static_cast<std::uint8_t>(c));
        text.append(QString::fromUcs4(&glyph, 1));
    }
    return text;
}

}  // namespace

QString TShowText::ShownText() const {
    QStringList lines;
    for (const std::string& line : Lines_) lines << ToGlyphs(line);
    return lines.join(u'\n');
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
    Columns_ = std::max(1, client.width() / std::max(1, metrics.horizontalAdvance(u'x')));
    Rows_ = std::max(1, client.height() / std::max(1, metrics.height()));
    LaidOutSize_ = size();
    FontChanged_ = false;
}

// After a change of font or size: cut the lines to the new measure.
void TShowText::Relayout() {
    CalcWinSize();
    if (static_cast<int>(Lines_.size()) > Rows_) Lines_.resize(Rows_);
    for (std::string& line : Lines_)
        if (static_cast<int>(line.size()) > Columns_) line.resize(Columns_);
    CurLine_ = std::min(CurLine_, Rows_ - 1);
}

int TShowText::CurrentLength() const {
    return CurLine_ < static_cast<int>(Lines_.size()) ? static_cast<int>(Lines_[CurLine_].size())
                                                      : 0;
}

std::string& TShowText::Current() {
    if (static_cast<int>(Lines_.size()) <= CurLine_) Lines_.resize(CurLine_ + 1);
    return Lines_[CurLine_];
}

// Next row, or scroll when on the last: the top line is lost and its storage reused
// for the new empty bottom line.
void TShowText::BreakLine() {
    if (CurLine_ < Rows_ - 1) {
        ++CurLine_;
        Current();
        return;
    }
    Current();
    std::rotate(Lines_.begin(), Lines_.begin() + 1, Lines_.begin() + CurLine_ + 1);
    CurLine_ = Rows_ - 1;
    Lines_[CurLine_].clear();
}

void TShowText::Write(char c) {
    if (FontChanged_ || size() != LaidOutSize_) {
        Relayout();
        ForgetWritten();  // the checkpoints hold the old layout's lines
    }
    if (Written_.size() == MaxWritten) {
        Written_.erase(0, MaxWritten / 2);
        Checkpoints_.erase(Checkpoints_.begin(),
                           Checkpoints_.begin() + MaxWritten / 2 / CheckpointBytes);
    }
    if (Written_.size() == Checkpoints_.size() * CheckpointBytes)
        Checkpoints_.push_back({Lines_, CurLine_});
    Written_.push_back(c);
    WriteOne(c);
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
}

bool TShowText::TakeBack() {
    if (FontChanged_ || size() != LaidOutSize_) {
        Relayout();
        ForgetWritten();
    }
    if (Written_.empty()) return false;
    Written_.pop_back();
    const size_t k = Written_.size() / CheckpointBytes;
    Checkpoints_.resize(k + 1);
    Lines_ = Checkpoints_[k].Lines;
    CurLine_ = Checkpoints_[k].CurLine;
    for (size_t i = k * CheckpointBytes; i < Written_.size(); ++i) WriteOne(Written_[i]);
    if (!RepaintTimer_.isActive()) RepaintTimer_.start(RepaintInterval, this);
    return true;
}

void TShowText::ForgetWritten() {
    Written_.clear();
    Checkpoints_.clear();
}

void TShowText::WriteOne(char c) {
    const auto code = static_cast<unsigned char>(c);
    // The wrap comes before the character, also for control codes.
    if (CurrentLength() >= Columns_ || code == LineFeed) BreakLine();
    switch (code) {
        case Backspace:
            if (CurrentLength() > 0) Current().pop_back();
            break;
        case Tab:
            // At least one space. With fewer than 8 columns no line ever reaches a tab
            // stop, so the tab then ends at the end of the line instead of forever.
            do {
                WriteOne(' ');
            } while (CurrentLength() % TabWidth != 0 &&
                     !(Columns_ < TabWidth && CurrentLength() >= Columns_));
            break;
        case LineFeed:
        case 0:
            break;
        default:
            Current().push_back(c);
    }
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
    const int shown = std::min(static_cast<int>(Lines_.size()), Rows_);
    for (int i = 0; i < shown; ++i)
        painter.drawText(client.left(), client.top() + i * metrics.height() + metrics.ascent(),
                         ToGlyphs(Lines_[i]));
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
