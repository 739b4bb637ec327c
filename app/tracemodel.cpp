#include "app/tracemodel.h"

#include <QStringList>
#include <algorithm>

#include "core/history.h"
#include "core/trace.h"

QString TraceColumnName(int column) {
    static const QStringList names =
        QString::fromLatin1(TraceHeader.data(), TraceHeader.size()).trimmed().split(u'\t')
        << QString::fromLatin1(ExplanationColumnName.data(), ExplanationColumnName.size());
    return names.value(column);
}

TTraceModel::TTraceModel(const THistory& history, const TMachineStores& stores, QObject* parent)
    : QAbstractTableModel(parent),
      history_(history),
      stores_(stores),
      firstStep_(history.FirstStep()),
      rows_(static_cast<int>(history.Size())) {}

int TTraceModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int TTraceModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : TraceColumnCount + (explained_ ? 1 : 0);
}

void TTraceModel::SetExplained(bool explained) {
    if (explained == explained_) return;
    if (explained)
        beginInsertColumns({}, TraceColumnCount, TraceColumnCount);
    else
        beginRemoveColumns({}, TraceColumnCount, TraceColumnCount);
    explained_ = explained;
    ForgetStates();
    if (explained)
        endInsertColumns();
    else
        endRemoveColumns();
}

// Neighbouring rows cost a step each from the last one asked for.
QString TTraceModel::Explanation(long long step) const {
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!states_) states_.emplace(ReadMachineState(stores_), history_.LastStep() + 1);
        if (states_->Before(history_, step))
            return QString::fromStdString(states_->Explain(history_, step));
        states_.reset();  // steps taken back since: start again from the machine now
    }
    return {};
}

QVariant TTraceModel::data(const QModelIndex& index, int role) const {
    // A step taken back since the last Sync is not shown any more.
    if (!index.isValid() || index.row() >= std::min<long long>(rows_, history_.Size())) return {};
    if (role == Qt::TextAlignmentRole)
        return index.column() == static_cast<int>(TTraceColumn::Step)
                   ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                   : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    if (role != Qt::DisplayRole) return {};
    if (index.column() == TraceColumnCount) return Explanation(StepOfRow(index.row()));
    char text[MaxTraceLine];
    const char* end = FormatTraceColumn(text, history_.Entry(index.row()),
                                        static_cast<TTraceColumn>(index.column()));
    return QString::fromLatin1(text, end - text);
}

QVariant TTraceModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    return TraceColumnName(section);
}

void TTraceModel::Sync() {
    ForgetStates();
    const long long first = history_.FirstStep();
    const int rows = static_cast<int>(history_.Size());
    if (cleared_ || first != firstStep_) {
        beginResetModel();
        cleared_ = false;
        firstStep_ = first;
        rows_ = rows;
        endResetModel();
    } else if (rows > rows_) {
        beginInsertRows({}, rows_, rows - 1);
        rows_ = rows;
        endInsertRows();
    } else if (rows < rows_) {
        beginRemoveRows({}, rows, rows_ - 1);
        rows_ = rows;
        endRemoveRows();
    }
}

long long TTraceModel::StepOfRow(int row) const {
    return firstStep_ + row;
}

int TTraceModel::RowOfStep(long long step) const {
    const long long row = step - firstStep_;
    return row >= 0 && row < rows_ ? static_cast<int>(row) : -1;
}
