// The Edition and Table menus: copying, records and fields, searching, sorting, and the field
// name asked by a right click on the header. The window's side of the commands whose work on the
// table lives in table/ (RecordEditing, SearchScan, SortRecords, CopyText).

#include "card/_Chercher.h"
#include "mainwindow/_Tablor.h"
#include "mainwindow/_Tri.h"
#include "platform/QtAnsi.h"
#include "table/CopyText.h"
#include "table/RecordEditing.h"
#include "table/SortRecords.h"

#include <QComboBox>

#include <algorithm>
#include <memory>

namespace tablor {

namespace {
// The longest field name the prompt takes.
constexpr int FieldNameMaxLength = 255;

// A field name is one line of the table file: a pasted line break would end it there.
QString firstLine(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text[i] == QLatin1Char('\r') || text[i] == QLatin1Char('\n')) return text.left(i);
    return text;
}
} // namespace

void TForm1::Ajouterligne1Click() {
    AppendRecord(doc_);
    UpdateStatus();
}

void TForm1::Supprimerligne1Click() {
    BusyCursor busy(platform_);
    DeleteSelectedRecords(doc_);
    UpdateStatus();
    FillCard();
    grid().setCol(0);
}

void TForm1::Ajoutercolonne1Click() {
    if (!AppendField(doc_)) {
        platform_.informationBox(QString::number(MaxFields) + QStringLiteral(" champs maximum."));
        return;
    }
    UpdateStatus();
}

void TForm1::Supprimercolonne1Click() {
    BusyCursor busy(platform_);
    DeleteSelectedFields(doc_);
    FillCard();
    UpdateStatus();
}

void TForm1::Effacerlesenregistrements1Click() {
    // The title, the status and the card stay as they are until they are next refreshed.
    BlankRecords(doc_);
}

void TForm1::StringGrid1MouseDown(Qt::MouseButton button, Qt::MouseButtons buttons,
                                  Qt::KeyboardModifiers keys, bool doubleClick, int col, int row) {
    // Only a plain right press on a field's name: any key held, another button, the second
    // press of a double click, a record cell or the header past the last field keep the grid's
    // own handling.
    if (button != Qt::RightButton || buttons != Qt::RightButton || doubleClick) return;
    if ((keys & ~Qt::KeypadModifier) != Qt::NoModifier) return;
    if (row != 0 || col < 0 || col >= grid().ColCount()) return;

    const std::optional<QString> name =
        platform_.inputQuery(QStringLiteral("Tablor"), QStringLiteral("Nom du champ :"),
                             shownText(grid().cell(col, 0)), FieldNameMaxLength);
    if (!name) return;
    RenameField(doc_, col, toAnsi(firstLine(name->left(FieldNameMaxLength))));
}

void TForm1::Rechercherdanstable1Click() {
    Find->showDialog();
}

void TForm1::trierlesenregistrements1Click() {
    QComboBox* fields = Ftri->ComboBox1;
    fields->clear();
    const int count = grid().ColCount();
    for (int c = 0; c < count; ++c)
        fields->addItem(shownText(grid().cell(c, 0)));
    // A field past the last one (fields were deleted) gives way to the first; a negative one,
    // which only a damaged file holds, leaves nothing chosen.
    const int sortField = doc_.SortField;
    fields->setCurrentIndex(sortField > count - 1 ? 0 : std::max(sortField, -1));

    if (platform_.execDialog(*Ftri) != QDialog::Accepted) return;
    const int chosen = fields->currentIndex();
    if (chosen < 0 || chosen >= count) return; // OK with nothing chosen: nothing to sort on
    SortRecords(chosen);
    doc_.SortField = chosen;
    doc_.Modified = true;
}

void TForm1::SortRecords(int col) {
    if (col < 0 || col >= grid().ColCount()) return;
    {
        BusyCursor busy(platform_);
        sortRecordsOn(grid(), col);
        // The current row kept its index; the card shows the record that is there now.
        FillCard();
    }
    grid().setRow(1);
    grid().setCol(0);
}

void TForm1::Copier1Click() {
    BusyCursor busy(platform_);
    const CopyRange range = copyRangeOf(grid());
    QString title = windowTitle();
    if (range.isSelection) title += QStringLiteral(" (sélection)");
    platform_.dropOwnClipboardText();
    // The clipboard carries UTF-8, so accents paste right into any program. The text reads a
    // snapshot of the range, which costs nothing while the table stays as it is: a big one is
    // written only when a program asks for it, so the table's text never sits beside the table.
    const auto text = std::make_shared<const CopiedText>(
        (title + QStringLiteral("\r\n")).toUtf8().toStdString(), grid().snapshot(range.cells));
    const auto utf8 = [text] {
        QByteArray bytes(qsizetype(text->size()), Qt::Uninitialized);
        text->write(bytes.data());
        return bytes;
    };
    if (copiedOnDemand(grid(), range.cells))
        platform_.setClipboardTextOnDemand(utf8);
    else
        platform_.setClipboardText(utf8());
}

} // namespace tablor
