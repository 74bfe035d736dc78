#include "platform/StringGridView.h"

#include "platform/AnsiValidator.h"
#include "platform/InterfaceFont.h"
#include "platform/QtAnsi.h"
#include "platform/StringGridModel.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QStyledItemDelegate>

namespace tablor {

// The in-place editor: a single-line edit whose every change is written to the cell at once.
// Escape puts the cell's text back as it was when the editor opened. A cell longer than the
// edit holds is shown read-only, and never written back.
class CellEditorDelegate : public QStyledItemDelegate {
public:
    explicit CellEditorDelegate(StringGridView* view) : QStyledItemDelegate(view), view_(view) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex& index) const override {
        auto* edit = new QLineEdit(parent);
        edit->setFrame(false);
        AnsiValidator::applyTo(edit);
        edit->setReadOnly(!view_->gridModel()->editableWhole(index));
        edit->setProperty("originalText", index.data(Qt::EditRole));
        QPersistentModelIndex where(index);
        QObject::connect(edit, &QLineEdit::textEdited, edit, [this, where](const QString& t) {
            if (!where.isValid()) return;
            view_->model()->setData(where, t, Qt::EditRole);
            emit view_->editTextChanged();
        });
        return edit;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        auto* edit = static_cast<QLineEdit*>(editor);
        // A key that opened the editor has already typed into it: keep that text.
        if (edit->property("filled").toBool()) return;
        edit->setProperty("filled", true);
        edit->setText(index.data(Qt::EditRole).toString());
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override {
        auto* edit = static_cast<QLineEdit*>(editor);
        if (edit->isReadOnly()) return;
        model->setData(index, edit->text(), Qt::EditRole);
        emit view_->editTextChanged();
    }

    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            if (auto* edit = qobject_cast<QLineEdit*>(object); edit && !edit->isReadOnly()) {
                const QModelIndex index = view_->currentIndex();
                if (index.isValid()) {
                    view_->model()->setData(index, edit->property("originalText"), Qt::EditRole);
                    emit view_->editTextChanged();
                }
            }
        }
        return QStyledItemDelegate::eventFilter(object, event);
    }

private:
    StringGridView* view_;
};

StringGridView::StringGridView(StringGrid& grid, QWidget* parent)
    : QTableView(parent), grid_(grid), model_(new StringGridModel(grid, this)) {
    setModel(model_);
    setItemDelegate(new CellEditorDelegate(this));
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::AnyKeyPressed |
                    QAbstractItemView::EditKeyPressed);
    setTabKeyNavigation(true);
    setShowGrid(true);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);

    QHeaderView* rows = verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);

    QHeaderView* header = horizontalHeader();
    header->setSectionsMovable(true);
    header->setSectionsClickable(false);
    header->setHighlightSections(false);
    header->setDefaultSectionSize(StringGrid::DefaultColWidth);
    header->setMinimumSectionSize(1);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // Narrow padding, so a default-width column shows a name like "Colonne 10" whole.
    header->setStyleSheet(QStringLiteral("QHeaderView::section { padding: 0px 2px; }"));
    fitRowsToFont();
    header->viewport()->installEventFilter(this);
    viewport()->installEventFilter(this);
    viewport()->setMouseTracking(true);

    connect(header, &QHeaderView::sectionResized, this, [this](int logical, int, int size) {
        if (!syncing_ && logical < grid_.ColCount()) grid_.setColWidth(logical, size);
    });
    connect(header, &QHeaderView::sectionMoved, this, &StringGridView::onSectionMoved);
    connect(model_, &StringGridModel::columnWidthChanged, this, [this](int col) {
        QScopedValueRollback guard(syncing_, true);
        horizontalHeader()->resizeSection(col, grid_.colWidth(col));
    });
    connect(model_, &StringGridModel::currentMoved, this, &StringGridView::showStoreCurrent);
    connect(model_, &StringGridModel::reset, this, [this] {
        applyWidths();
        showStoreCurrent();
    });
    applyWidths();
    showStoreCurrent();
}

// Every row, the header row too, is the designed 18 pixels high, or more when the grid's font
// needs more; the header draws the field names in the grid's font.
void StringGridView::fitRowsToFont() {
    const int height = textRowHeight(fontMetrics(), StringGrid::RowHeight);
    QHeaderView* rows = verticalHeader();
    rows->setMinimumSectionSize(height);
    rows->setDefaultSectionSize(height);
    horizontalHeader()->setFont(font());
    horizontalHeader()->setFixedHeight(height);
}

void StringGridView::changeEvent(QEvent* event) {
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange) fitRowsToFont();
}

QModelIndex StringGridView::indexOf(int col, int row) const {
    return model_->index(row - 1, col);
}

void StringGridView::applyWidths() {
    QScopedValueRollback guard(syncing_, true);
    for (int c = 0; c < grid_.ColCount(); ++c)
        horizontalHeader()->resizeSection(c, grid_.colWidth(c));
}

void StringGridView::showStoreCurrent() {
    QScopedValueRollback guard(syncing_, true);
    const GridRect& sel = grid_.Selection();
    const QModelIndex current = indexOf(grid_.Col(), grid_.Row());
    selectionModel()->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
    selectionModel()->select(
        QItemSelection(indexOf(sel.Left, sel.Top), indexOf(sel.Right, sel.Bottom)),
        QItemSelectionModel::ClearAndSelect);
    scrollTo(current);
}

void StringGridView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (syncing_ || !current.isValid()) return;
    grid_.moveTo(current.column(), current.row() + 1); // fires the click notification
    pullSelection();
}

void StringGridView::selectionChanged(const QItemSelection& selected,
                                      const QItemSelection& deselected) {
    QTableView::selectionChanged(selected, deselected);
    if (!syncing_) pullSelection();
}

void StringGridView::pullSelection() {
    // The selection is one rectangle holding the current cell.
    const QModelIndex current = currentIndex();
    if (!current.isValid()) return;
    GridRect r{current.column(), current.row() + 1, current.column(), current.row() + 1};
    for (const QItemSelectionRange& range : selectionModel()->selection()) {
        if (!range.contains(current)) continue;
        r = {range.left(), range.top() + 1, range.right(), range.bottom() + 1};
    }
    grid_.setSelection(r);
}

void StringGridView::onSectionMoved(int, int oldVisual, int newVisual) {
    if (syncing_) return;
    {
        // The header's visual order goes back to the store's order; the store moves the data.
        QScopedValueRollback guard(syncing_, true);
        horizontalHeader()->moveSection(newVisual, oldVisual);
    }
    grid_.moveColumn(oldVisual, newVisual);
}

bool StringGridView::eventFilter(QObject* watched, QEvent* event) {
    const bool onHeader = watched == horizontalHeader()->viewport();
    const bool onCells = watched == viewport();
    if (onHeader || onCells) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: {
            auto* e = static_cast<QMouseEvent*>(event);
            const QPoint p = e->position().toPoint();
            int col, row;
            if (onHeader) {
                col = horizontalHeader()->logicalIndexAt(p.x());
                row = 0;
            } else {
                col = columnAt(p.x());
                const int r = rowAt(p.y());
                row = r < 0 ? -1 : r + 1;
            }
            emit mousePressed(e->button(), e->buttons(), e->modifiers(),
                              event->type() == QEvent::MouseButtonDblClick, col, row);
            break;
        }
        case QEvent::MouseMove:
            emit mouseMoved();
            break;
        default:
            break;
        }
    }
    return QTableView::eventFilter(watched, event);
}

} // namespace tablor
