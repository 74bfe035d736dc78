// The record card's benchmark: seconds per record while the card, shown, follows the grid
// through up to 10,000 records, one press of its "next" button at a time, each step drawn.
//
//   tablor_card_bench FILE

#include "card/_Fiche.h"
#include "platform/QtPlatform.h"
#include "table/TableFile.h"

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iostream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: tablor_card_bench FILE\n";
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt's notes about the offscreen platform would mix with the figure.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    QApplication app(argc, argv);
    try {
        tablor::TableDocument doc;
        tablor::LoadTable(doc, argv[1]);
        tablor::QtPlatform platform;
        tablor::TFiche card(doc, platform, "/nonexistent/tablor.ini", {});
        doc.StringGrid1.onClick = [&card] { card.FillCard(); };
        card.show();
        QApplication::processEvents();

        const int steps = std::min(10000, doc.StringGrid1.RowCount() - 2);
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < steps; ++i) {
            card.tlbtnSuivantClick();
            QApplication::processEvents();
        }
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (card.shownRecord() != steps + 1) throw std::runtime_error("the card did not follow");
        std::printf("%.9f\n", seconds / std::max(steps, 1));
    } catch (const std::exception& e) {
        std::cerr << "tablor_card_bench: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
