#pragma once
// A record card on the offscreen platform over a table of its own, wired the way the main
// window wires it: every move of the grid's current cell refills the card, and the card's
// commands are recorded.

#include "card/_Fiche.h"
#include "support/ScriptedPlatform.h"
#include "support/TypeText.h"

#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <string>
#include <vector>

namespace tablor::test {

class CardFixture {
public:
    // A table of `fields` fields named F1, F2... and `records` records; cell (c, r) holds
    // "r.c" (record, field).
    explicit CardFixture(int fields = 3, int records = 4) {
        StringGrid& g = doc.StringGrid1;
        g.setColCount(fields);
        g.setRowCount(records + 1);
        for (int c = 0; c < fields; ++c) {
            g.setCell(c, 0, "F" + std::to_string(c + 1));
            for (int r = 1; r <= records; ++r)
                g.setCell(c, r, std::to_string(r) + "." + std::to_string(c));
        }
        doc.RecordCount = records;
    }

    // Creates the card (after the settings file, if any, is written).
    TFiche& make() {
        CardCommands commands;
        commands.addRecord = [this] {
            ++adds;
            StringGrid& g = doc.StringGrid1;
            g.setRowCount(g.RowCount() + 1);
            g.setCol(0);
            g.setRow(g.RowCount() - 1);
        };
        commands.deleteRecords = [this] {
            deletedSelections.push_back(doc.StringGrid1.Selection());
            deletedAtCurrent.push_back({doc.StringGrid1.Col(), doc.StringGrid1.Row()});
        };
        commands.search = [this] { ++searches; };
        commands.chooseFields = [this](const QStringList& names, const std::vector<bool>& ticked) {
            offeredNames = names;
            offeredTicks = ticked;
            return fieldChoice;
        };
        commands.print = [this](const QImage& image, double dpi) {
            printedImage = image;
            printedDpi = dpi;
        };
        card = std::make_unique<TFiche>(doc, platform, iniPath(), commands);
        doc.StringGrid1.onClick = [this] {
            ++clicks;
            card->FillCard();
        };
        return *card;
    }

    std::string iniPath() const { return dir.filePath(QStringLiteral("tablor.ini")).toStdString(); }
    std::string cell(int c, int r) const { return doc.StringGrid1.cellString(c, r); }

    QTemporaryDir dir;
    ScriptedPlatform platform;
    TableDocument doc;
    std::unique_ptr<TFiche> card;

    int adds = 0, searches = 0, clicks = 0;
    std::vector<GridRect> deletedSelections;
    std::vector<std::pair<int, int>> deletedAtCurrent;
    std::optional<std::vector<bool>> fieldChoice;
    QStringList offeredNames;
    std::vector<bool> offeredTicks;
    QImage printedImage;
    double printedDpi = 0;
};

} // namespace tablor::test
