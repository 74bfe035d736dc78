#pragma once
// The Qt item model over the grid store: answers only what the view asks, never copies cells.
// Model row i is grid row i + 1 (the records); the grid's row 0 is the horizontal header.

#include "platform/StringGrid.h"

#include <QAbstractTableModel>

namespace tablor {

class StringGridModel : public QAbstractTableModel, public GridObserver {
    Q_OBJECT
public:
    explicit StringGridModel(StringGrid& grid, QObject* parent = nullptr);
    ~StringGridModel() override;

    StringGrid& grid() const { return grid_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // The cell is short enough for an edit box to hold it whole, and so to change it.
    bool editableWhole(const QModelIndex& index) const;
    // Writes the cell (edits from the in-place editor).
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

signals:
    void columnWidthChanged(int col);
    void currentMoved();
    void reset();

private:
    void gridCellChanged(int col, int row) override;
    void gridReset() override;
    void gridRowsAppended(int first) override;
    void gridColumnWidthChanged(int col) override;
    void gridCurrentChanged() override;

    StringGrid& grid_;
};

} // namespace tablor
