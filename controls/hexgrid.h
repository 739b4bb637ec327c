#pragma once
// A grid of integer cells shown as upper-case hex digits. It is both the view and the
// store of the machine's memory and registers: the core reads and writes it through
// CellStore, and the owner learns about changes through the callbacks below.
//
// Cells are numbered row-major (index = Row * ColCount + Col). The selection is a
// linear range of indices, not a rectangle. The current cell (Col, Row) carries the
// keyboard focus and is independent of the selection.

#include <QBasicTimer>
#include <QColor>
#include <QFlags>
#include <QFont>
#include <QPoint>
#include <QRect>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <vector>

#include "core/cellstore.h"

class QLineEdit;
class QMenu;
class QPainter;

// Member n is bit n of the set.
enum THexGridOption : unsigned {
    hgoVertLine = 1u << 0,           // lines between columns
    hgoHorzLine = 1u << 1,           // lines between rows
    hgoDrawFocusSelected = 1u << 2,  // stored only
    hgoRowSizing = 1u << 3,          // stored only
    hgoColSizing = 1u << 4,          // stored only
    hgoRowMoving = 1u << 5,          // stored only
    hgoColMoving = 1u << 6,          // stored only
    hgoTabs = 1u << 7,               // stored only
    hgoAlwaysShowEditor = 1u << 8,   // editor opened at once and kept open on focus loss
    hgoThumbTracking = 1u << 9,      // stored only
};
Q_DECLARE_FLAGS(THexGridOptions, THexGridOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(THexGridOptions)

enum TGridDrawStateMember : unsigned {
    gdSelected = 1u << 0,  // inside the selection
    gdFocused = 1u << 1,   // the current cell of the focused grid
    gdChanged = 1u << 2,   // the most recently changed cell
};
Q_DECLARE_FLAGS(TGridDrawState, TGridDrawStateMember)
Q_DECLARE_OPERATORS_FOR_FLAGS(TGridDrawState)

// A font together with the colour its text is drawn in.
struct TCellFont {
    QFont Font;
    QColor Color;
};

class THexGrid : public QWidget, public CellStore {
    Q_OBJECT

public:
    // Callbacks: the grid first, in-out answers by reference. OnCellChanged is the
    // CellStore one (raised after every SetContents, also for an unchanged value).
    using TSelChangedEvent = std::function<void(THexGrid* Sender, int ASelStart, int ASelEnd)>;
    using TSelectCellEvent =
        std::function<void(THexGrid* Sender, int Col, int Row, bool& CanSelect)>;
    using TGetEditLimitEvent =
        std::function<void(THexGrid* Sender, int ACol, int ARow, int& Value)>;
    // Raised after the grid has drawn the cell; Canvas is the grid's painter.
    using TDrawCellEvent = std::function<void(THexGrid* Sender, QPainter& Canvas, int Col, int Row,
                                              const QRect& Rect, TGridDrawState State)>;
    using TNotifyEvent = std::function<void(THexGrid* Sender)>;
    using TMouseEvent = std::function<void(THexGrid* Sender, Qt::MouseButton Button,
                                           Qt::KeyboardModifiers Shift, int X, int Y)>;
    using TMouseMoveEvent =
        std::function<void(THexGrid* Sender, Qt::KeyboardModifiers Shift, int X, int Y)>;
    // Setting Key to 0 consumes the key.
    using TKeyEvent = std::function<void(THexGrid* Sender, int& Key, Qt::KeyboardModifiers Shift)>;
    using TKeyPressEvent = std::function<void(THexGrid* Sender, QChar& Key)>;
    using TDescribeCellEvent = std::function<QString(const THexGrid* Sender, int Index)>;

    explicit THexGrid(QWidget* parent = nullptr);
    ~THexGrid() override;

    // --- CellStore ---
    // While the editor is open on index, GetContents answers the typed text's value once
    // that text is hex (an empty text is 0) and the stored value until then. Both raise
    // EInvalidGridOperation on a bad index.
    int GetContents(int index) const override;
    void SetContents(int index, int value) override;
    int Count() const override { return ColCount_ * RowCount_; }

    int GetCells(int ACol, int ARow) const { return GetContents(ACol + ARow * ColCount_); }
    void SetCells(int ACol, int ARow, int value) { SetContents(ACol + ARow * ColCount_, value); }

    // --- geometry (sizeHint follows these and the font) ---
    int ColCount() const { return ColCount_; }
    int RowCount() const { return RowCount_; }
    void SetColCount(int count);  // keeps contents by linear index, new cells are 0
    void SetRowCount(int count);
    int DefaultColWidth() const { return DefaultColWidth_; }
    void SetDefaultColWidth(int width);
    int DefaultRowHeight() const { return DefaultRowHeight_; }
    void SetDefaultRowHeight(int height);
    int GridLineWidth() const { return GridLineWidth_; }
    void SetGridLineWidth(int width);
    // Rectangle of a cell in widget coordinates. Columns and rows are at least the
    // default size and grow so the widest cell text fits the font.
    QRect CellRect(int ACol, int ARow) const;
    // The index of the cell under a point in widget coordinates, -1 outside every cell.
    int IndexAt(QPoint point) const {
        int col = 0, row = 0;
        return CellAt(point, col, row);
    }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

    // --- selection ---
    int SelStart() const { return SelStart_; }
    int SelEnd() const { return SelEnd_; }
    int GetSelLo() const;  // -1 without a selection
    int GetSelHi() const;
    virtual void SetSelStart(int index);  // a negative index clears the selection
    virtual void SetSelEnd(int index);

    // --- current cell; each move asks OnSelectCell and raises OnClick ---
    int Col() const { return Col_; }
    int Row() const { return Row_; }
    void SetCol(int ACol);
    void SetRow(int ARow);

    // --- change marks ---
    int ChangedCell() const { return ChangedCell_; }
    bool Modified() const { return Modified_; }
    virtual void SetModified(bool flag);  // false also removes the changed-cell mark

    // --- appearance ---
    THexGridOptions Options() const { return Options_; }
    virtual void SetOptions(THexGridOptions options);
    int DefaultLimit() const { return DefaultLimit_; }
    void SetDefaultLimit(int digits);
    QColor Color() const { return Color_; }
    void SetColor(const QColor& color);  // background of unselected cells and the editor
    // The ordinary cells use the widget's font() in FontColor. The three fonts are
    // independent: changing font() does not change FontChanged or FontSelected.
    QColor FontColor() const { return FontColor_; }
    void SetFontColor(const QColor& color);
    const TCellFont& FontChanged() const { return FontChanged_; }
    virtual void SetFontChanged(const TCellFont& font);
    const TCellFont& FontSelected() const { return FontSelected_; }
    virtual void SetFontSelected(const TCellFont& font);
    void SetPopupMenu(QMenu* menu) { PopupMenu_ = menu; }  // shown on a context-menu request
    // Width of the focus frame: 1 is a thin dotted frame, more a solid one of that width.
    int MarkWidth() const { return MarkWidth_; }
    void SetMarkWidth(int width);
    // The changed cell is also underlined, in its text colour and the mark width, so it is
    // told by shape as well as by colour.
    bool ChangedUnderline() const { return ChangedUnderline_; }
    void SetChangedUnderline(bool underlined);

    // --- what a screen reader says ---
    // A cell's label ("R3", "PC"); without one its index in two hex digits ("0A").
    QString CellName(int index) const;
    void SetCellNames(const QStringList& names) { CellNames_ = names; }
    QString CellText(int index) const;  // the value as the cell shows it
    // A screen reader's name for a cell: its label and the value shown ("R3: 0F").
    QString SpokenCell(int index) const { return CellName(index) + ": " + CellText(index); }
    // The longer account a screen reader gives of a cell on request (OnDescribeCell).
    QString CellDescription(int index) const {
        return OnDescribeCell ? OnDescribeCell(this, index) : QString();
    }
    // While quiet (a run at full speed) value changes are not announced.
    void SetQuietChanges(bool quiet) { QuietChanges_ = quiet; }

    // --- editing ---
    int EditCol() const { return EditCol_; }
    int EditRow() const { return EditRow_; }
    QLineEdit* InplaceEditor() const { return InplaceEditor_; }  // null until first opened
    int GetEditLimit() const { return GetEditLimit(EditCol_, EditRow_); }
    virtual int GetEditLimit(int ACol, int ARow) const;
    virtual void ShowEditor();  // opens on the current cell, clearing the selection
    virtual void HideEditor();  // commits and closes
    virtual void UpdateText();  // commits a modified editor text
    void SetFocus();            // the grid, or its editor when one is open

    // --- callbacks ---
    TSelChangedEvent OnSelChanged;
    TSelectCellEvent OnSelectCell;
    TGetEditLimitEvent OnGetEditLimit;
    TDrawCellEvent OnDrawCell;
    TNotifyEvent OnClick, OnDblClick, OnEnter, OnExit;
    TMouseEvent OnMouseDown, OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TKeyEvent OnKeyDown, OnKeyUp;
    TKeyPressEvent OnKeyPress;
    TDescribeCellEvent OnDescribeCell;

protected:
    virtual void DrawCell(QPainter& painter, int ACol, int ARow, const QRect& rect);
    virtual bool SelectCell(int ACol, int ARow);  // asks OnSelectCell

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class TBound { Start, End };
    void MoveSelBound(TBound bound, int index);
    void MoveCurrent(int ACol, int ARow);
    void SizeChanged();
    void InplaceEditorKeyPress(QKeyEvent* event);
    void AdvanceCurrentCell();
    void FocusEntering();
    void FocusLeaving(QFocusEvent* event);
    bool EditorShownOn(int index) const;
    int CellAt(QPoint point, int& ACol, int& ARow) const;
    int VertLineWidth() const;
    int HorzLineWidth() const;
    QSize MeasureCell() const;
    void Relayout();
    void RepaintCell(int index);

    std::vector<int> Contents_;
    std::vector<char> Dirty_;  // cells changed since the last flush of repaints
    QBasicTimer FlushTimer_;   // runs while cells wait for their repaint
    int ColCount_ = 5, RowCount_ = 5;
    int DefaultColWidth_ = 24, DefaultRowHeight_ = 15, GridLineWidth_ = 1;
    int ColWidth_ = 24, RowHeight_ = 15;  // the defaults grown to fit the font
    int SelStart_ = -1, SelEnd_ = -1;
    int Col_ = 0, Row_ = 0;
    int ChangedCell_ = -1;
    bool Modified_ = false;
    THexGridOptions Options_ = hgoVertLine | hgoHorzLine;
    int DefaultLimit_ = 2;
    QColor Color_{240, 240, 245};
    QColor FontColor_{Qt::black};
    TCellFont FontChanged_, FontSelected_;
    QMenu* PopupMenu_ = nullptr;
    int MarkWidth_ = 1;
    bool ChangedUnderline_ = false;
    int EditCol_ = -1, EditRow_ = -1;
    QLineEdit* InplaceEditor_ = nullptr;
    bool Selecting_ = false;
    QPoint PressPoint_;
    bool FocusInside_ = false;  // the grid or its editor has the focus
    QStringList CellNames_;
    bool QuietChanges_ = false;
};
