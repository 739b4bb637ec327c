#pragma once
// The execution history as a table in the trace's columns, oldest first. Rows are made
// when the view asks for them, so the model holds nothing per step; Sync brings the rows
// up to the history in one change. An optional last column explains each step with the
// values it met, found by going back from the machine as it is.

#include <QAbstractTableModel>
#include <optional>

#include "core/historystates.h"

class THistory;

// The name of a column, as the trace's header line has it.
QString TraceColumnName(int column);

class TTraceModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // The stores are the machine the history ran on, read for the explanations.
    TTraceModel(const THistory& history, const TMachineStores& stores, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The history was cleared: the rows shown so far describe another machine.
    void HistoryCleared() { cleared_ = true; }
    // Steps recorded or taken back since the last call become inserted or removed rows;
    // anything else (clearing, the oldest steps dropped) resets the model.
    void Sync();

    // Adds or removes the explanation column.
    void SetExplained(bool explained);
    bool Explained() const { return explained_; }
    // The machine or its history changed: explanations start again from the machine now.
    void ForgetStates() { states_.reset(); }

    long long StepOfRow(int row) const;
    int RowOfStep(long long step) const;  // -1 when the step is not shown

private:
    QString Explanation(long long step) const;

    const THistory& history_;
    TMachineStores stores_;
    bool explained_ = false;
    mutable std::optional<THistoryStates> states_;
    long long firstStep_;  // of row 0
    int rows_;
    bool cleared_ = false;
};
