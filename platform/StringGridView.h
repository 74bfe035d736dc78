#pragma once
// The grid control: a table view over the grid store with the behaviour the commands rely on.
// Field names in the header (not editable in place), rows 18 pixels high (more when the font
// needs it), range selection,
// columns resized and moved by their header (cells and width travel in the store), in-place
// editing where every keystroke reaches the store, Tab moving between cells.

#include "platform/StringGrid.h"

#include <QTableView>

namespace tablor {

class StringGridModel;

class StringGridView : public QTableView {
    Q_OBJECT
public:
    StringGridView(StringGrid& grid, QWidget* parent = nullptr);

    StringGridModel* gridModel() const { return model_; }
    // The view's index of a store cell (row >= 1).
    QModelIndex indexOf(int col, int row) const;

signals:
    // The in-place editor handed its text to the cell: at every change and when it closes.
    void editTextChanged();
    // A mouse press: the store cell under it (row 0 = header; col -1 past the last field).
    void mousePressed(Qt::MouseButton button, Qt::MouseButtons buttons, Qt::KeyboardModifiers keys,
                      bool doubleClick, int col, int row);
    // The mouse moved over the grid.
    void mouseMoved();

protected:
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void selectionChanged(const QItemSelection& selected,
                          const QItemSelection& deselected) override;

private:
    friend class CellEditorDelegate;
    void pullSelection();
    void showStoreCurrent();
    void applyWidths();
    void fitRowsToFont();
    void onSectionMoved(int logical, int oldVisual, int newVisual);

    StringGrid& grid_;
    StringGridModel* model_;
    bool syncing_ = false;
};

} // namespace tablor
