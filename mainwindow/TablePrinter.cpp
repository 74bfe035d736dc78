#include "mainwindow/TablePrinter.h"

#include <QPrinter>

namespace tablor {

TablePrinter::TablePrinter() : printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {}

TablePrinter::~TablePrinter() = default;

} // namespace tablor
