// The record card: showing it, and what its buttons ask of the main window (add and delete
// records, search, choose the fields to copy in the copy-options dialog, print the card's
// picture).

#include "card/_Fiche.h"
#include "mainwindow/TablePrinter.h"
#include "mainwindow/_Copier.h"
#include "mainwindow/_Tablor.h"
#include "platform/ProgramName.h"

#include <QListWidget>

namespace tablor {

void TForm1::Voirenregistrement1Click() {
    Fiche->ShowCard();
}

void TForm1::Affichageparenregistrement1Click() {
    // The entry is checkable: Qt has already toggled its mark.
}

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
        platform_.printImage(tablePrinter().printer(),
                             QString::fromLatin1(ProgramName) + QStringLiteral(" - Fiche"), picture,
                             dotsPerInch);
    };
    return c;
}

} // namespace tablor
