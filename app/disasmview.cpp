#include "app/disasmview.h"

#include <QListWidget>
#include <QScrollBar>

#include "core/execute.h"
#include "gui/listfocus.h"

namespace {

// A line whose name for screen readers says when it holds a breakpoint.
class TDisasmItem final : public QListWidgetItem {
public:
    TDisasmItem(const QString& text, std::function<bool(int)> hasBreakpoint)
        : QListWidgetItem(text), hasBreakpoint_(std::move(hasBreakpoint)) {}
    QVariant data(int role) const override {
        if (role != Qt::AccessibleTextRole) return QListWidgetItem::data(role);
        const QString name = text();
        return listWidget() && hasBreakpoint_(listWidget()->row(this)) ? name + ", breakpoint"
                                                                       : name;
    }

private:
    std::function<bool(int)> hasBreakpoint_;
};

}  // namespace

TDisasmView::TDisasmView(QListWidget& list, std::function<bool(int line)> hasBreakpoint)
    : list_(list) {
    list_.clear();
    for (int i = 0; i < TDisasmList::LineCount; ++i)
        list_.addItem(new TDisasmItem(QString::fromStdString(model_.Line(i)), hasBreakpoint));
}

bool TDisasmView::MemoryChanged(const CellStore& memory, int index, int oldValue, int newValue,
                                int pc, bool executing) {
    const auto change =
        model_.MemoryChanged(memory, index, oldValue, newValue, pc, executing, TopLine(), Frozen());
    if (!change.Handled) return false;
    dirty_.set(change.Line);
    if (Frozen()) {
        stale_.set(change.Line);
        memory_ = &memory;
    }
    if (change.Reselect) {
        selectPending_ = true;
        selectLine_ = change.Line;
    }
    SetTopLine(change.TopLine);
    if (!Frozen()) Apply();
    return change.MarkModified;
}

// While frozen, only the last PC matters, unless it changes the alignment of the lines,
// which the memory changes that follow must see at once.
void TDisasmView::PcChanged(const CellStore& memory, int index, int newValue) {
    if (index == PcIndex && Frozen() && (newValue & 1) == model_.Alignment()) {
        pendingPc_ = newValue;
        memory_ = &memory;
        return;
    }
    pendingPc_ = -1;
    FollowPc(memory, index, newValue);
    if (!Frozen()) Apply();
}

void TDisasmView::FollowPc(const CellStore& memory, int index, int newValue) {
    const auto change = model_.PcChanged(memory, index, newValue);
    if (!change.Handled) return;
    if (change.Rebuilt) {
        dirty_.set();
        stale_.reset();
    }
    selectPending_ = true;
    selectLine_ = change.SelectLine;
    topLine_ = change.TopLine;
}

void TDisasmView::Freeze() {
    ++frozen_;
}

void TDisasmView::Thaw() {
    if (frozen_ > 0 && --frozen_ == 0) Apply();
}

int TDisasmView::TopLine() const {
    return topLine_ >= 0 ? topLine_ : list_.verticalScrollBar()->value();
}

void TDisasmView::SetTopLine(int line) {
    if (line < 0) return;
    topLine_ = line;
    if (!Frozen()) Apply();
}

void TDisasmView::Apply() {
    if (pendingPc_ >= 0) {
        const int pc = pendingPc_;
        pendingPc_ = -1;
        FollowPc(*memory_, PcIndex, pc);
    }
    if (dirty_.any()) {
        for (int i = 0; i < TDisasmList::LineCount; ++i) {
            if (!dirty_[i]) continue;
            if (stale_[i]) model_.RewriteLine(*memory_, i);
            list_.item(i)->setText(QString::fromStdString(model_.Line(i)));
        }
        dirty_.reset();
        stale_.reset();
    }
    if (selectPending_) {
        selectPending_ = false;
        SelectRow(list_, selectLine_);
    }
    if (topLine_ >= 0) {
        list_.verticalScrollBar()->setValue(topLine_);  // clamped to the last page
        topLine_ = -1;
    }
}
