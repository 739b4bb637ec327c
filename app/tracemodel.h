#pragma once
// The execution history as a table in the trace's columns, oldest first. Rows are made
// when the view asks for them, so the model holds nothing per step; Sync brings the rows
// up to the history in one change.

#include <QAbstractTableModel>

class THistory;

// The name of a column, as the trace's header line has it.
QString TraceColumnName(int column);

class TTraceModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TTraceModel(const THistory& history, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The history was cleared: the rows shown so far describe another machine.
    void HistoryCleared() { cleared_ = true; }
    // Steps recorded or taken back since the last call become inserted or removed rows;
    // anything else (clearing, the oldest steps dropped) resets the model.
    void Sync();

    long long StepOfRow(int row) const;
    int RowOfStep(long long step) const;  // -1 when the step is not shown

private:
    const THistory& history_;
    long long firstStep_;  // of row 0
    int rows_;
    bool cleared_ = false;
};
