#include "mainwindow/TablePrinter.h"

#include "mainwindow/_Tablor.h"

#include <QPrinter>

namespace tablor {

TablePrinter::TablePrinter(QObject* parent)
    : QObject(parent), printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {}

TablePrinter::~TablePrinter() = default;

TablePrinter& TablePrinter::of(TForm1& form) {
    if (!form.Printer) form.Printer = new TablePrinter(&form);
    return *form.Printer;
}

void printCardPicture(TForm1& form, const QImage& picture, double dotsPerInch) {
    form.platform().printImage(TablePrinter::of(form).printer(),
                               QStringLiteral("Tablor 1.0 - Fiche"), picture, dotsPerInch);
}

} // namespace tablor
