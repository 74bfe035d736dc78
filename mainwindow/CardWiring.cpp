#include "mainwindow/CardWiring.h"

#include "card/_Chercher.h"
#include "mainwindow/TablePrinter.h"
#include "mainwindow/_Copier.h"
#include "mainwindow/_Tablor.h"

#include <QFile>
#include <QListWidget>

namespace tablor {

namespace {

// Shows the copy-options dialog with the card's field names, the ticked ones selected.
std::optional<std::vector<bool>> chooseFields(TForm1& form, const QStringList& names,
                                              const std::vector<bool>& ticked) {
    TCopyOpt* dialog = form.CopyOpt;
    if (!dialog) return std::nullopt;
    QListWidget* list = dialog->ListBox1;
    list->clear();
    list->addItems(names);
    for (int i = 0; i < list->count() && i < int(ticked.size()); ++i)
        list->item(i)->setSelected(ticked[i]);
    if (form.platform().execDialog(*dialog) != QDialog::Accepted) return std::nullopt;
    std::vector<bool> chosen;
    for (int i = 0; i < list->count(); ++i)
        chosen.push_back(list->item(i)->isSelected());
    return chosen;
}

} // namespace

CardCommands cardCommandsFor(TForm1& form) {
    CardCommands c;
    c.addRecord = [&form] { form.Ajouterligne1Click(); };
    c.deleteRecords = [&form] { form.Supprimerligne1Click(); };
    c.search = [&form] { form.Rechercherdanstable1Click(); };
    c.chooseFields = [&form](const QStringList& names, const std::vector<bool>& ticked) {
        return chooseFields(form, names, ticked);
    };
    c.print = [&form](const QImage& picture, double dotsPerInch) {
        printCardPicture(form, picture, dotsPerInch);
    };
    return c;
}

TFiche* createCard(TForm1& form) {
    return new TFiche(form.document(), form.platform(),
                      QFile::encodeName(form.settingsPath()).toStdString(), cardCommandsFor(form),
                      &form);
}

TFind* createFind(TForm1& form, TFiche* card) {
    return new TFind(form.document(), form.platform(), card, &form);
}

} // namespace tablor
