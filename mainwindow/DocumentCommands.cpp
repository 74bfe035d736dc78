// New, open, save, save as and quit: the commands on the table document as a whole.

#include "mainwindow/_Tablor.h"

#include "card/_Fiche.h"
#include "platform/StringGridView.h"
#include "table/TableFile.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>

namespace tablor {

namespace {
FileDialogRequest tableDialog(const QString& initialName) {
    FileDialogRequest r;
    r.initialName = initialName;
    return r;
}
} // namespace

void TForm1::Nouveau1Click() {
    if (!ConfirmSave()) return;
    StringGrid& g = grid();
    {
        StringGrid::Batch batch(g);
        g.setRowCount(2);
        g.setColCount(10);
        for (int r = 0; r < 2; ++r)
            g.clearRow(r);
    }
    titlePrefix_ = QStringLiteral("Tablor 1.0 - Fichier SANS NOM (");
    doc_.FileName.clear();
    doc_.Modified = false;
    g.setCol(0);
    g.setRow(1);
    doc_.RecordCount = 1;
    UpdateStatus();
    for (int c = 0; c < 10; ++c) {
        g.setCell(c, 0, "Colonne " + std::to_string(c + 1));
        g.setColWidth(c, StringGrid::DefaultColWidth);
    }
    FillCard();
    doc_.SortField = 0;
    doc_.CopyFlags.fill(1);
    Fiche->ResetCardLayout();
    panel(1)->setText(QStringLiteral("Table : SANS NOM"));
}

void TForm1::loadTable(const std::string& path) {
    BusyCursor busy(platform_);
    LoadTable(doc_, path);
    setTitleFor(path);
    UpdateStatus();
}

void TForm1::Ouvrir1Click() {
    if (!ConfirmSave()) return;
    const std::optional<QString> chosen = platform_.openFileName(tableDialog(lastOpenName_));
    if (!chosen) return;
    lastOpenName_ = *chosen;
    loadTable(QFile::encodeName(*chosen).toStdString());
    Fiche->ApplyCardLayout();
    FillCard();
}

void TForm1::Enregistrer1Click() {
    if (doc_.FileName.empty()) {
        Enregistrersous1Click();
        return;
    }
    BusyCursor busy(platform_);
    SaveTable(doc_, *Fiche, doc_.FileName);
    doc_.Modified = false;
}

void TForm1::Enregistrersous1Click() {
    const std::optional<QString> chosen = platform_.saveFileName(tableDialog(lastSaveName_));
    if (!chosen) return;
    lastSaveName_ = *chosen;
    doc_.FileName = QFile::encodeName(*chosen).toStdString();
    setTitleFor(doc_.FileName);
    UpdateStatus();
    Enregistrer1Click();
}

void TForm1::Quitter1Click() {
    close();
}

} // namespace tablor
