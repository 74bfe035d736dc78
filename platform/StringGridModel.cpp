#include "platform/StringGridModel.h"

#include "platform/QtAnsi.h"

namespace tablor {

StringGridModel::StringGridModel(StringGrid& grid, QObject* parent)
    : QAbstractTableModel(parent), grid_(grid) {
    grid_.setObserver(this);
}

StringGridModel::~StringGridModel() {
    grid_.setObserver(nullptr);
}

int StringGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : grid_.RowCount() - 1;
}

int StringGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : grid_.ColCount();
}

QVariant StringGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
    return shownText(grid_.cell(index.column(), index.row() + 1));
}

QVariant StringGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    if (section < 0 || section >= grid_.ColCount()) return {};
    return shownText(grid_.cell(section, 0));
}

bool StringGridModel::editableWhole(const QModelIndex& index) const {
    return index.isValid() && shownWhole(grid_.cell(index.column(), index.row() + 1));
}

Qt::ItemFlags StringGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

bool StringGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole) return false;
    grid_.setCell(index.column(), index.row() + 1, toAnsi(value.toString()));
    return true;
}

void StringGridModel::gridCellChanged(int col, int row) {
    if (row == 0) {
        emit headerDataChanged(Qt::Horizontal, col, col);
    } else {
        const QModelIndex i = index(row - 1, col);
        emit dataChanged(i, i, {Qt::DisplayRole, Qt::EditRole});
    }
}

void StringGridModel::gridReset() {
    // The store has already changed; a reset makes the view ask everything anew.
    beginResetModel();
    endResetModel();
    emit reset();
}

void StringGridModel::gridRowsAppended(int first) {
    // The store has the rows already; the view only learns where they are.
    beginInsertRows({}, first - 1, grid_.RowCount() - 2);
    endInsertRows();
    emit reset();
}

void StringGridModel::gridColumnWidthChanged(int col) {
    emit columnWidthChanged(col);
}

void StringGridModel::gridCurrentChanged() {
    emit currentMoved();
}

} // namespace tablor
