#include "controls/hexgrid.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>
#include <QTimerEvent>
#include <algorithm>
#include <cstdlib>

#include "controls/gridaccess.h"
#include "core/hex.h"

namespace {

constexpr int FrameWidth = 1;
constexpr int TextLeft = 3;            // the cell text's offset from the cell's left edge
constexpr int TextMinMargin = 3;       // room kept beside and above/below the digits
constexpr int DefaultPixelSize = 12;   // fits 15-pixel rows and 24-pixel columns
constexpr int MaxMeasuredDigits = 16;  // a wider limit does not widen the columns further
constexpr int RepaintInterval = 16;    // ms: changed cells are repainted at screen rate

bool IsHexChar(QChar c) {
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}

// The character a key press types, or a null character. With Ctrl, Alt or Meta held the
// key is a command, not typing, even where the platform reports its letter as text.
QChar TypedChar(const QKeyEvent* event) {
    constexpr Qt::KeyboardModifiers Commands =
        Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    const QString text = event->text();
    if (text.size() != 1 || (event->modifiers() & Commands)) return {};
    return text[0];
}

QFont Bold(QFont font) {
    font.setBold(true);
    return font;
}

}  // namespace

THexGrid::THexGrid(QWidget* parent) : QWidget(parent) {
    InstallControlsAccessibility();
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPixelSize(DefaultPixelSize);
    setFont(fixed);
    FontChanged_ = {Bold(font()), QColor(255, 96, 96)};
    FontSelected_ = {font(), palette().color(QPalette::HighlightedText)};
    Contents_.assign(Count(), 0);
    Dirty_.assign(Count(), 0);
    Relayout();
    resize(sizeHint());
}

THexGrid::~THexGrid() = default;

// ---------------------------------------------------------------- contents

int THexGrid::GetContents(int index) const {
    if (index < 0 || index >= Count())
        throw EInvalidGridOperation(OutOfBoundsMessage("THexGrid::GetContents", index, Count()));
    // A value being typed counts only once it is valid hex; until then the stored one does.
    if (EditorShownOn(index)) {
        const int typed = ParseHex(InplaceEditor_->text().toLatin1().toStdString());
        if (typed != -1) return typed;
    }
    return Contents_[index];
}

// Runs for every write of a running program: store, mark, notify; nothing else.
void THexGrid::SetContents(int index, int value) {
    if (index < 0 || index >= Count())
        throw EInvalidGridOperation(OutOfBoundsMessage("THexGrid::SetContents", index, Count()));
    const int old = Contents_[index];
    if (value != old) {
        const bool announce = !QuietChanges_ && FocusInside_ && index == Row_ * ColCount_ + Col_;
        const QString oldText = announce ? CellText(index) : QString();
        Contents_[index] = value;
        if (announce) AnnounceCellText(this, index, oldText);
        SetModified(true);
        RepaintCell(index);
        if (ChangedCell_ != index) {
            RepaintCell(ChangedCell_);
            ChangedCell_ = index;
        }
        if (EditorShownOn(index)) {
            InplaceEditor_->setText(QString::fromStdString(FormatHex(value, GetEditLimit())));
            InplaceEditor_->setModified(false);
        }
    }
    NotifyChanged(index, old, value);
}

bool THexGrid::EditorShownOn(int index) const {
    return EditCol_ >= 0 && EditRow_ * ColCount_ + EditCol_ == index && InplaceEditor_ &&
           !InplaceEditor_->isHidden();
}

// ---------------------------------------------------------------- geometry

void THexGrid::SetColCount(int count) {
    count = std::max(count, 1);
    if (count == ColCount_) return;
    HideEditor();  // commit while the edited cell still has its index
    ColCount_ = count;
    SizeChanged();
}

void THexGrid::SetRowCount(int count) {
    count = std::max(count, 1);
    if (count == RowCount_) return;
    HideEditor();
    RowCount_ = count;
    SizeChanged();
}

// Existing entries keep their linear index; new cells start at 0.
void THexGrid::SizeChanged() {
    Contents_.resize(Count(), 0);
    Dirty_.assign(Count(), 0);
    if (ChangedCell_ >= Count()) ChangedCell_ = -1;
    Col_ = std::min(Col_, ColCount_ - 1);
    Row_ = std::min(Row_, RowCount_ - 1);
    Relayout();
    updateGeometry();
    update();
    if (Options_.testFlag(hgoAlwaysShowEditor)) ShowEditor();  // the option keeps it open
}

void THexGrid::SetDefaultColWidth(int width) {
    DefaultColWidth_ = std::max(width, 1);
    Relayout();
}

void THexGrid::SetDefaultRowHeight(int height) {
    DefaultRowHeight_ = std::max(height, 1);
    Relayout();
}

void THexGrid::SetGridLineWidth(int width) {
    GridLineWidth_ = std::max(width, 0);
    Relayout();
    updateGeometry();
    update();
}

int THexGrid::VertLineWidth() const {
    return Options_.testFlag(hgoVertLine) ? GridLineWidth_ : 0;
}

int THexGrid::HorzLineWidth() const {
    return Options_.testFlag(hgoHorzLine) ? GridLineWidth_ : 0;
}

QRect THexGrid::CellRect(int ACol, int ARow) const {
    return QRect(FrameWidth + ACol * (ColWidth_ + VertLineWidth()),
                 FrameWidth + ARow * (RowHeight_ + HorzLineWidth()), ColWidth_, RowHeight_);
}

// The default cell size, grown so the widest text any cell may show fits in every font
// the grid draws with (the editor is bold). Digits have no descenders, so the height
// needed is their cap height.
QSize THexGrid::MeasureCell() const {
    int digits = 1;
    for (int r = 0; r < RowCount_; ++r)
        for (int c = 0; c < ColCount_; ++c) digits = std::max(digits, GetEditLimit(c, r));
    const QString sample(std::min(digits, MaxMeasuredDigits), u'0');
    int width = 0, height = 0;
    for (const QFont& f : {font(), Bold(font()), FontChanged_.Font, FontSelected_.Font}) {
        const QFontMetrics fm(f);
        width = std::max(width, fm.horizontalAdvance(sample));
        height = std::max(height, fm.capHeight());
    }
    return {std::max(DefaultColWidth_, width + TextLeft + TextMinMargin),
            std::max(DefaultRowHeight_, height + 2 * TextMinMargin)};
}

void THexGrid::Relayout() {
    const QSize cell = MeasureCell();
    if (cell == QSize(ColWidth_, RowHeight_)) return;
    ColWidth_ = cell.width();
    RowHeight_ = cell.height();
    if (EditCol_ >= 0 && InplaceEditor_)
        InplaceEditor_->setGeometry(CellRect(EditCol_, EditRow_).adjusted(0, 0, 1, 1));
    updateGeometry();
    update();
}

QSize THexGrid::sizeHint() const {
    const QSize cell = MeasureCell();
    return {2 * FrameWidth + ColCount_ * (cell.width() + VertLineWidth()),
            2 * FrameWidth + RowCount_ * (cell.height() + HorzLineWidth())};
}

int THexGrid::CellAt(QPoint point, int& ACol, int& ARow) const {
    const int x = point.x() - FrameWidth, y = point.y() - FrameWidth;
    if (x < 0 || y < 0) return -1;
    ACol = x / (ColWidth_ + VertLineWidth());
    ARow = y / (RowHeight_ + HorzLineWidth());
    if (ACol >= ColCount_ || ARow >= RowCount_) return -1;
    return ARow * ColCount_ + ACol;
}

// Changed cells are collected and handed to Qt once per frame, however often the owner
// runs the event loop; a program hammering one cell costs one flag test per write.
void THexGrid::RepaintCell(int index) {
    if (index < 0 || index >= Count() || Dirty_[index]) return;
    Dirty_[index] = 1;
    if (!FlushTimer_.isActive()) FlushTimer_.start(RepaintInterval, this);
}

void THexGrid::timerEvent(QTimerEvent* event) {
    if (event->timerId() != FlushTimer_.timerId()) {
        QWidget::timerEvent(event);
        return;
    }
    FlushTimer_.stop();
    for (int i = 0; i < Count(); ++i) {
        if (!Dirty_[i]) continue;
        Dirty_[i] = 0;
        update(CellRect(i % ColCount_, i / ColCount_));
    }
}

// ---------------------------------------------------------------- selection

int THexGrid::GetSelLo() const {
    return SelStart_ < 0 || SelEnd_ < 0 ? -1 : std::min(SelStart_, SelEnd_);
}

int THexGrid::GetSelHi() const {
    return SelStart_ < 0 || SelEnd_ < 0 ? -1 : std::max(SelStart_, SelEnd_);
}

void THexGrid::SetSelStart(int index) {
    MoveSelBound(TBound::Start, index);
}

void THexGrid::SetSelEnd(int index) {
    MoveSelBound(TBound::End, index);
}

// Repaints only the cells the bound crosses; clearing repaints the old range.
void THexGrid::MoveSelBound(TBound which, int index) {
    if (index < 0) index = -1;
    int& bound = which == TBound::Start ? SelStart_ : SelEnd_;
    if (bound == index) return;
    if (SelStart_ < 0 || SelEnd_ < 0) SelStart_ = SelEnd_ = index;
    int target = index;
    if (index < 0) {
        target = SelEnd_;
        bound = SelStart_;
    }
    const int first = std::max(std::min(bound, target), 0);
    const int last = std::min(std::max(bound, target), Count() - 1);
    for (int i = first; i <= last; ++i) RepaintCell(i);
    bound = index;
    if (index < 0) SelStart_ = SelEnd_ = index;
    if (OnSelChanged) OnSelChanged(this, SelStart_, SelEnd_);
}

// ---------------------------------------------------------------- current cell

bool THexGrid::SelectCell(int ACol, int ARow) {
    bool canSelect = true;
    if (OnSelectCell) OnSelectCell(this, ACol, ARow, canSelect);
    return canSelect;
}

void THexGrid::MoveCurrent(int ACol, int ARow) {
    if (!SelectCell(ACol, ARow)) return;
    RepaintCell(Row_ * ColCount_ + Col_);
    Col_ = ACol;
    Row_ = ARow;
    RepaintCell(Row_ * ColCount_ + Col_);
    AnnounceCellFocus(this);
    if (OnClick) OnClick(this);
}

void THexGrid::SetCol(int ACol) {
    if (ACol != Col_ && ACol >= 0 && ACol < ColCount_) MoveCurrent(ACol, Row_);
}

void THexGrid::SetRow(int ARow) {
    if (ARow != Row_ && ARow >= 0 && ARow < RowCount_) MoveCurrent(Col_, ARow);
}

// Row-major, from the last cell back to the first.
void THexGrid::AdvanceCurrentCell() {
    if (Col_ < ColCount_ - 1) {
        SetCol(Col_ + 1);
    } else if (Row_ < RowCount_ - 1) {
        SetCol(0);
        SetRow(Row_ + 1);
    } else {
        SetCol(0);
        SetRow(0);
    }
}

// ---------------------------------------------------------------- marks and looks

void THexGrid::SetModified(bool flag) {
    Modified_ = flag;
    if (!flag && ChangedCell_ != -1) {
        const int cell = ChangedCell_;
        ChangedCell_ = -1;
        RepaintCell(cell);
    }
}

void THexGrid::SetOptions(THexGridOptions options) {
    const bool openEditor =
        options.testFlag(hgoAlwaysShowEditor) && !Options_.testFlag(hgoAlwaysShowEditor);
    Options_ = options;
    Relayout();
    updateGeometry();
    update();
    if (openEditor) ShowEditor();
}

void THexGrid::SetDefaultLimit(int digits) {
    DefaultLimit_ = std::max(digits, 1);
    Relayout();
    update();
}

void THexGrid::SetColor(const QColor& color) {
    Color_ = color;
    update();
}

void THexGrid::SetFontColor(const QColor& color) {
    FontColor_ = color;
    update();
}

void THexGrid::SetMarkWidth(int width) {
    MarkWidth_ = std::max(1, width);
    update();
}

void THexGrid::SetChangedUnderline(bool underlined) {
    ChangedUnderline_ = underlined;
    RepaintCell(ChangedCell_);
}

void THexGrid::SetFontChanged(const TCellFont& font) {
    FontChanged_ = font;
    Relayout();
    RepaintCell(ChangedCell_);
}

void THexGrid::SetFontSelected(const TCellFont& font) {
    FontSelected_ = font;
    Relayout();
    if (GetSelLo() >= 0) update();
}

// ---------------------------------------------------------------- editor

int THexGrid::GetEditLimit(int ACol, int ARow) const {
    int value = DefaultLimit_;
    if (OnGetEditLimit) OnGetEditLimit(const_cast<THexGrid*>(this), ACol, ARow, value);
    return value;
}

void THexGrid::ShowEditor() {
    SetSelStart(-1);
    SetSelEnd(-1);
    if (!InplaceEditor_) {
        InplaceEditor_ = new QLineEdit(this);
        InplaceEditor_->setObjectName("InplaceEditor");
        InplaceEditor_->hide();
        InplaceEditor_->setFrame(false);
        InplaceEditor_->setFocusPolicy(Qt::ClickFocus);  // not reachable by Tab
        InplaceEditor_->setFont(Bold(font()));
        InplaceEditor_->setTextMargins(TextLeft - 1, 0, 0, 0);
        InplaceEditor_->installEventFilter(this);
    }
    UpdateText();
    const int limit = GetEditLimit(Col_, Row_);
    EditCol_ = Col_;
    EditRow_ = Row_;
    QPalette colours = InplaceEditor_->palette();
    colours.setColor(QPalette::Base, Color_);
    colours.setColor(QPalette::Text, FontColor_);
    InplaceEditor_->setPalette(colours);
    InplaceEditor_->setMaxLength(limit);
    InplaceEditor_->setText(
        QString::fromStdString(FormatHex(Contents_[Row_ * ColCount_ + Col_], limit)));
    InplaceEditor_->setAccessibleName(CellName(Row_ * ColCount_ + Col_));
    InplaceEditor_->setModified(false);
    InplaceEditor_->setGeometry(CellRect(Col_, Row_).adjusted(0, 0, 1, 1));
    InplaceEditor_->selectAll();
    InplaceEditor_->show();
    InplaceEditor_->setFocus();
}

void THexGrid::HideEditor() {
    UpdateText();
    EditCol_ = EditRow_ = -1;
    if (InplaceEditor_ && !InplaceEditor_->isHidden()) {
        // Take the focus back before hiding, or Qt would pass it to the next widget.
        if (window()->focusWidget() == InplaceEditor_) setFocus();
        InplaceEditor_->hide();
    }
}

void THexGrid::UpdateText() {
    if (!InplaceEditor_ || !InplaceEditor_->isModified()) return;
    InplaceEditor_->setModified(false);
    const int value = ParseHex(InplaceEditor_->text().toLatin1().toStdString());
    if (value != -1 && EditCol_ >= 0) SetCells(EditCol_, EditRow_, value);
}

void THexGrid::SetFocus() {
    setFocus();
    if (EditCol_ != -1 && InplaceEditor_) InplaceEditor_->setFocus();
}

// Enter commits and moves on, Escape discards; only hex digits and Backspace reach
// the text, so a committed text is 0 to limit hex digits.
void THexGrid::InplaceEditorKeyPress(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            HideEditor();
            AdvanceCurrentCell();
            ShowEditor();
            event->accept();
            return;
        case Qt::Key_Escape:
            InplaceEditor_->setModified(false);
            HideEditor();
            event->accept();
            return;
        default:
            break;
    }
    const QChar typed = TypedChar(event);
    if (typed.isNull() && event->text().size() == 1 && event->text()[0].isPrint()) {
        // Ctrl or Alt with a character: the editor's shortcuts see the key, its text is
        // not typed.
        QKeyEvent command(event->type(), event->key(), event->modifiers(), QString(),
                          event->isAutoRepeat(), event->count());
        QCoreApplication::sendEvent(InplaceEditor_, &command);
        event->accept();
        return;
    }
    if (!typed.isPrint()) {
        event->ignore();  // Backspace, cursor keys and shortcuts keep their usual meaning
        return;
    }
    if (IsHexChar(typed)) InplaceEditor_->insert(typed.toUpper());
    event->accept();
}

bool THexGrid::eventFilter(QObject* watched, QEvent* event) {
    if (watched != InplaceEditor_) return QWidget::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::KeyPress: {
            auto* key = static_cast<QKeyEvent*>(event);
            InplaceEditorKeyPress(key);
            return key->isAccepted();
        }
        case QEvent::FocusIn:
            FocusEntering();
            break;
        case QEvent::FocusOut:
            FocusLeaving(static_cast<QFocusEvent*>(event));
            break;
        default:
            break;
    }
    return QWidget::eventFilter(watched, event);
}

// ---------------------------------------------------------------- focus

void THexGrid::FocusEntering() {
    if (FocusInside_) return;
    FocusInside_ = true;
    if (OnEnter) OnEnter(this);
}

// The grid and its editor count as one control: focus moving between them, to a
// pop-up menu or away with the whole window is not a focus loss.
void THexGrid::FocusLeaving(QFocusEvent* event) {
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
        return;
    const QWidget* next = QApplication::focusWidget();
    if (next == this || (next && next == InplaceEditor_)) return;
    FocusInside_ = false;
    if (OnExit) OnExit(this);
    if (!Options_.testFlag(hgoAlwaysShowEditor)) HideEditor();
}

void THexGrid::focusInEvent(QFocusEvent* event) {
    FocusEntering();
    RepaintCell(Row_ * ColCount_ + Col_);
    QWidget::focusInEvent(event);
    // After the grid's own focus, which the toolkit tells once this event is handled: a
    // screen reader speaks the last of the two.
    QTimer::singleShot(0, this, [this] { AnnounceCellFocus(this); });
}

void THexGrid::focusOutEvent(QFocusEvent* event) {
    RepaintCell(Row_ * ColCount_ + Col_);
    FocusLeaving(event);
    QWidget::focusOutEvent(event);
}

// ---------------------------------------------------------------- drawing

void THexGrid::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), palette().color(QPalette::Mid));  // frame and grid lines
    painter.setClipRegion(event->region());
    const QRect area = event->rect();
    for (int r = 0; r < RowCount_; ++r) {
        for (int c = 0; c < ColCount_; ++c) {
            const QRect cell = CellRect(c, r);
            if (cell.intersects(area)) DrawCell(painter, c, r, cell);
        }
    }
}

QString THexGrid::CellName(int index) const {
    return index < CellNames_.size() ? CellNames_[index] : QString::asprintf("%02X", index);
}

QString THexGrid::CellText(int index) const {
    return QString::fromStdString(
        FormatHex(Contents_[index], GetEditLimit(index % ColCount_, index / ColCount_)));
}

void THexGrid::DrawCell(QPainter& painter, int ACol, int ARow, const QRect& rect) {
    const int index = ARow * ColCount_ + ACol;
    TGridDrawState state;
    TCellFont look{font(), FontColor_};
    QColor background = Color_;
    if (index >= GetSelLo() && index <= GetSelHi()) {
        background = palette().color(QPalette::Highlight);
        look = FontSelected_;
        state |= gdSelected;
    }
    painter.fillRect(rect, background);
    if (index == ChangedCell_) {
        look = FontChanged_;
        state |= gdChanged;
    }
    painter.setFont(look.Font);
    painter.setPen(look.Color);
    const QFontMetrics metrics(look.Font);
    const int baseline = rect.top() + (rect.height() + metrics.capHeight()) / 2;  // centred
    painter.drawText(rect.left() + TextLeft, baseline, CellText(index));
    if (ChangedUnderline_ && state.testFlag(gdChanged))
        painter.fillRect(rect.left() + 1, rect.bottom() + 1 - MarkWidth_, rect.width() - 2,
                         MarkWidth_, look.Color);
    if (hasFocus() && ACol == Col_ && ARow == Row_) {
        // Just inside the cell, in a colour that shows on both the plain and the selected
        // background; dotted when thin.
        const bool inSelection = state.testFlag(gdSelected);
        painter.setPen(
            QPen(palette().color(inSelection ? QPalette::HighlightedText : QPalette::Highlight),
                 MarkWidth_, MarkWidth_ > 1 ? Qt::SolidLine : Qt::DotLine, Qt::SquareCap,
                 Qt::MiterJoin));
        const int inset = MarkWidth_ / 2;
        painter.drawRect(rect.adjusted(inset, inset, -inset - 1, -inset - 1));
        state |= gdFocused;
    }
    if (OnDrawCell) OnDrawCell(this, painter, ACol, ARow, rect, state);
}

// ---------------------------------------------------------------- mouse

void THexGrid::mousePressEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (OnMouseDown) OnMouseDown(this, event->button(), event->modifiers(), pos.x(), pos.y());
    if (event->button() != Qt::LeftButton) {
        // The selection stays, so a context menu acts on it.
        if (EditCol_ != -1) HideEditor();
        return;
    }
    if (EditCol_ != -1) HideEditor();
    SetFocus();
    int col = 0, row = 0;
    const int index = CellAt(pos, col, row);
    if (index >= 0) {
        // A refused cell still gets selected; only the current cell stays put.
        if (SelectCell(col, row)) {
            SetCol(col);
            SetRow(row);
        }
        SetSelStart(index);
        SetSelEnd(SelStart_);
        PressPoint_ = pos;
        Selecting_ = true;
    }
    if (OnClick) OnClick(this);
}

void THexGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        mousePressEvent(event);
        return;
    }
    const QPoint pos = event->position().toPoint();
    if (OnMouseDown) OnMouseDown(this, event->button(), event->modifiers(), pos.x(), pos.y());
    ShowEditor();
    if (OnDblClick) OnDblClick(this);
}

void THexGrid::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (OnMouseMove) OnMouseMove(this, event->modifiers(), pos.x(), pos.y());
    if (!(event->buttons() & Qt::LeftButton) || !Selecting_) return;
    // The dead zone is around the press point, not the last position.
    if (std::abs(PressPoint_.x() - pos.x()) < 2 && std::abs(PressPoint_.y() - pos.y()) < 2) return;
    int col = 0, row = 0;
    const int index = CellAt(pos, col, row);
    if (index >= 0) SetSelEnd(index);
}

void THexGrid::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (OnMouseUp) OnMouseUp(this, event->button(), event->modifiers(), pos.x(), pos.y());
    if (event->button() == Qt::LeftButton) Selecting_ = false;
}

void THexGrid::contextMenuEvent(QContextMenuEvent* event) {
    if (!PopupMenu_) {
        event->ignore();
        return;
    }
    PopupMenu_->popup(event->globalPos());
    event->accept();
}

// ---------------------------------------------------------------- keys

void THexGrid::keyPressEvent(QKeyEvent* event) {
    int key = event->key();
    if (OnKeyDown) {
        OnKeyDown(this, key, event->modifiers());
        if (key == 0) return;
    }
    const QString text = event->text();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        ShowEditor();
        return;
    }
    if (const QChar typed = TypedChar(event); IsHexChar(typed)) {
        // The editor opens with its whole text selected, so the digit replaces it.
        ShowEditor();
        InplaceEditor_->insert(typed.toUpper());
        InplaceEditor_->setModified(true);
        return;
    }
    const bool ctrl = event->modifiers().testFlag(Qt::ControlModifier);
    int col = Col_, row = Row_;
    switch (key) {
        case Qt::Key_Left:
            --col;
            break;
        case Qt::Key_Right:
            ++col;
            break;
        case Qt::Key_Up:
            --row;
            break;
        case Qt::Key_Down:
            ++row;
            break;
        case Qt::Key_Home:
            col = 0;
            if (ctrl) row = 0;
            break;
        case Qt::Key_End:
            col = ColCount_ - 1;
            if (ctrl) row = RowCount_ - 1;
            break;
        case Qt::Key_PageUp:
            row -= RowCount_;
            break;  // every row is on the page
        case Qt::Key_PageDown:
            row += RowCount_;
            break;
        default:
            if (text.size() == 1 && OnKeyPress) {
                QChar ch = text[0];
                OnKeyPress(this, ch);
            }
            QWidget::keyPressEvent(event);
            return;
    }
    col = std::clamp(col, 0, ColCount_ - 1);
    row = std::clamp(row, 0, RowCount_ - 1);
    if (col != Col_ || row != Row_) MoveCurrent(col, row);
}

void THexGrid::keyReleaseEvent(QKeyEvent* event) {
    int key = event->key();
    if (OnKeyUp) OnKeyUp(this, key, event->modifiers());
    QWidget::keyReleaseEvent(event);
}

// ---------------------------------------------------------------- layout changes

void THexGrid::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        if (InplaceEditor_) InplaceEditor_->setFont(Bold(font()));
        Relayout();
    }
    QWidget::changeEvent(event);
}

// Handlers such as OnGetEditLimit are bound after construction; measure again now.
void THexGrid::showEvent(QShowEvent* event) {
    Relayout();
    QWidget::showEvent(event);
}

void THexGrid::resizeEvent(QResizeEvent* event) {
    Relayout();
    QWidget::resizeEvent(event);
}
