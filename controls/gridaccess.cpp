#include "controls/gridaccess.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPointer>
#include <map>

#include "controls/hexgrid.h"
#include "controls/showtext.h"

namespace {

// A read-only text over a string that is asked for anew on every call; the text has no
// caret, selection or attributes.
class TReadOnlyText : public QAccessibleTextInterface {
public:
    virtual QString WholeText() const = 0;

    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int start, int end) const override { return WholeText().mid(start, end - start); }
    int characterCount() const override { return int(WholeText().size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* start, int* end) const override {
        *start = 0;
        *end = characterCount();
        return {};
    }
};

class TGridAccessible;

class TCellAccessible final : public QAccessibleInterface,
                              public QAccessibleTableCellInterface,
                              public TReadOnlyText {
public:
    TCellAccessible(THexGrid* grid, int index) : grid_(grid), index_(index) {}

    bool isValid() const override { return grid_ && index_ < grid_->Count(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return parent() ? parent()->window() : nullptr; }
    QAccessibleInterface* parent() const override {
        return grid_ ? QAccessible::queryAccessibleInterface(grid_.data()) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    using TReadOnlyText::text;  // the text interface's text(start, end), beside the name's
    QString text(QAccessible::Text t) const override {
        if (!isValid()) return {};
        if (t == QAccessible::Name) return grid_->SpokenCell(index_);
        if (t == QAccessible::Value) return WholeText();
        if (t == QAccessible::Description) return grid_->CellDescription(index_);
        return {};
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!isValid()) return {};
        const QRect cell = grid_->CellRect(columnIndex(), rowIndex());
        return QRect(grid_->mapToGlobal(cell.topLeft()), cell.size());
    }
    QAccessible::Role role() const override { return QAccessible::Cell; }
    QAccessible::State state() const override {
        QAccessible::State s;
        if (!isValid()) return s;
        s.focusable = s.selectable = true;
        s.focused = grid_->hasFocus() && index_ == grid_->Row() * grid_->ColCount() + grid_->Col();
        s.selected = isSelected();
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TableCellInterface)
            return static_cast<QAccessibleTableCellInterface*>(this);
        if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        return nullptr;
    }

    // --- table cell ---
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return isValid() ? index_ % grid_->ColCount() : -1; }
    int rowIndex() const override { return isValid() ? index_ / grid_->ColCount() : -1; }
    bool isSelected() const override {
        return isValid() && index_ >= grid_->GetSelLo() && index_ <= grid_->GetSelHi();
    }
    QAccessibleInterface* table() const override { return parent(); }

    // --- text ---
    QString WholeText() const override { return isValid() ? grid_->CellText(index_) : QString(); }

private:
    QPointer<THexGrid> grid_;
    int index_;
};

class TGridAccessible final : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit TGridAccessible(THexGrid* grid) : QAccessibleWidget(grid, QAccessible::Table) {}
    ~TGridAccessible() override {
        for (const auto& [index, id] : cells_) QAccessible::deleteAccessibleInterface(id);
    }

    THexGrid* Grid() const { return static_cast<THexGrid*>(widget()); }

    QAccessibleInterface* Cell(int index) const {
        if (index < 0 || index >= Grid()->Count()) return nullptr;
        auto found = cells_.find(index);
        if (found == cells_.end()) {
            const QAccessible::Id id =
                QAccessible::registerAccessibleInterface(new TCellAccessible(Grid(), index));
            found = cells_.emplace(index, id).first;
        }
        return QAccessible::accessibleInterface(found->second);
    }

    int childCount() const override { return Grid()->Count(); }
    QAccessibleInterface* child(int index) const override { return Cell(index); }
    int indexOfChild(const QAccessibleInterface* child) const override {
        if (!child || child->role() != QAccessible::Cell || child->parent() != this) return -1;
        auto* cell = const_cast<QAccessibleInterface*>(child)->tableCellInterface();
        return cell->rowIndex() * Grid()->ColCount() + cell->columnIndex();
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const QPoint local = Grid()->mapFromGlobal(QPoint(x, y));
        for (int i = 0; i < Grid()->Count(); ++i) {
            if (Grid()->CellRect(i % Grid()->ColCount(), i / Grid()->ColCount()).contains(local))
                return Cell(i);
        }
        return nullptr;
    }
    QAccessibleInterface* focusChild() const override {
        if (!Grid()->hasFocus()) return nullptr;
        return Cell(Grid()->Row() * Grid()->ColCount() + Grid()->Col());
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TableInterface)
            return static_cast<QAccessibleTableInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    // --- table ---
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override {
        if (row < 0 || column < 0 || row >= rowCount() || column >= columnCount()) return nullptr;
        return Cell(row * Grid()->ColCount() + column);
    }
    int columnCount() const override { return Grid()->ColCount(); }
    int rowCount() const override { return Grid()->RowCount(); }
    // A memory row by its first address ("80"), a column by its digit ("3"); a one-column
    // grid's rows by their cells' labels.
    QString columnDescription(int column) const override {
        return Grid()->ColCount() > 1 ? QString::number(column, 16).toUpper() : QString();
    }
    QString rowDescription(int row) const override {
        const int first = row * Grid()->ColCount();
        return Grid()->ColCount() > 1 ? QString::asprintf("%02X", first) : Grid()->CellName(first);
    }
    int selectedCellCount() const override {
        return Grid()->GetSelLo() < 0 ? 0 : Grid()->GetSelHi() - Grid()->GetSelLo() + 1;
    }
    QList<QAccessibleInterface*> selectedCells() const override {
        QList<QAccessibleInterface*> cells;
        if (Grid()->GetSelLo() < 0) return cells;
        for (int i = Grid()->GetSelLo(); i <= Grid()->GetSelHi(); ++i) cells << Cell(i);
        return cells;
    }
    // The selection is a range of cells, never whole rows or columns.
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

private:
    mutable std::map<int, QAccessible::Id> cells_;
};

class TShowTextAccessible final : public QAccessibleWidget, public TReadOnlyText {
public:
    explicit TShowTextAccessible(TShowText* text)
        : QAccessibleWidget(text, QAccessible::StaticText) {}

    QString WholeText() const override { return static_cast<TShowText*>(widget())->ShownText(); }
    using TReadOnlyText::text;
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Value ? WholeText() : QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = s.multiLine = true;
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
};

const QLatin1String AnnouncerName("Announcer");

QAccessibleInterface* ControlsFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("QWidget") && object->objectName() == AnnouncerName)
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Notification);
    if (className == QLatin1String("THexGrid"))
        return new TGridAccessible(static_cast<THexGrid*>(object));
    if (className == QLatin1String("TShowText"))
        return new TShowTextAccessible(static_cast<TShowText*>(object));
    return nullptr;
}

TCellAnnouncer announcer_;

QAccessibleInterface* CellOf(THexGrid* grid, int index) {
    auto* table = dynamic_cast<TGridAccessible*>(QAccessible::queryAccessibleInterface(grid));
    return table ? table->Cell(index) : nullptr;
}

}  // namespace

void InstallControlsAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(ControlsFactory);
        return true;
    }();
    (void)installed;
}

void SetCellAnnouncer(TCellAnnouncer announcer) {
    announcer_ = std::move(announcer);
}

bool AnnouncementsHeard() {
    return announcer_ || QAccessible::isActive();
}

void Announce(QAccessibleEvent* event) {
    if (announcer_)
        announcer_(event);
    else
        QAccessible::updateAccessibility(event);
}

void AnnounceCellFocus(THexGrid* grid) {
    if (!AnnouncementsHeard() || !grid->hasFocus()) return;
    if (QAccessibleInterface* cell = CellOf(grid, grid->Row() * grid->ColCount() + grid->Col())) {
        QAccessibleEvent event(cell, QAccessible::Focus);
        Announce(&event);
    }
}

void AnnounceNotification(QWidget* owner, const QString& text) {
    if (!AnnouncementsHeard()) return;
    InstallControlsAccessibility();
    auto* announcer = owner->findChild<QWidget*>(AnnouncerName, Qt::FindDirectChildrenOnly);
    if (!announcer) {
        announcer = new QWidget(owner);
        announcer->setObjectName(AnnouncerName);
        announcer->setGeometry(0, 0, 0, 0);
    }
    announcer->setAccessibleName(text);
    QAccessibleEvent event(announcer, QAccessible::ObjectShow);
    Announce(&event);
}

void AnnounceCellText(THexGrid* grid, int index, const QString& oldText) {
    if (!AnnouncementsHeard()) return;
    if (QAccessibleInterface* cell = CellOf(grid, index)) {
        QAccessibleTextUpdateEvent event(cell, 0, oldText, grid->CellText(index));
        Announce(&event);
    }
}
