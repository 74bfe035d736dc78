// The record card's buttons run the main window's commands: add and delete records, search,
// choose the fields to copy in the copy-options dialog, print the card's picture.

#include "mainwindow/TablePrinter.h"
#include "mainwindow/_Copier.h"
#include "mainwindow/_Tablor.h"

#include <QListWidget>

namespace tablor {

CardCommands TForm1::cardCommands() {
    CardCommands c;
    c.addRecord = [this] { Ajouterligne1Click(); };
    c.deleteRecords = [this] { Supprimerligne1Click(); };
    c.search = [this] { Rechercherdanstable1Click(); };
    c.chooseFields = [this](const QStringList& names,
                            const std::vector<bool>& ticked) -> std::optional<std::vector<bool>> {
        QListWidget* list = CopyOpt->ListBox1;
        list->clear();
        list->addItems(names);
        for (int i = 0; i < list->count(); ++i)
            list->item(i)->setSelected(ticked[i]);
        if (platform_.execDialog(*CopyOpt) != QDialog::Accepted) return std::nullopt;
        std::vector<bool> chosen(list->count());
        for (int i = 0; i < list->count(); ++i)
            chosen[i] = list->item(i)->isSelected();
        return chosen;
    };
    c.print = [this](const QImage& picture, double dotsPerInch) {
        printCardPicture(*this, picture, dotsPerInch);
    };
    return c;
}

} // namespace tablor
