#include "platform/PainterCanvas.h"

#include "platform/Errors.h"
#include "platform/QtAnsi.h"

#include <QPrinter>

namespace tablor {

void beginPrinting(QPainter& painter, QPrinter& printer) {
    const bool toFile = printer.outputFormat() == QPrinter::PdfFormat;
    if ((toFile && printer.outputFileName().isEmpty()) || (!toFile && !printer.isValid()))
        throw TablorError("Aucune imprimante par défaut sélectionnée");
    if (!painter.begin(&printer)) {
        if (toFile)
            throw TablorError("Impossible d'écrire dans " + printer.outputFileName().toStdString());
        throw TablorError("L'imprimante " + printer.printerName().toStdString() +
                          " a refusé l'impression");
    }
}

PainterCanvas::PainterCanvas(QPrinter& printer, const QFont& font)
    : printer_(printer), metrics_(font, &printer) {
    beginPrinting(painter_, printer_);
    painter_.setFont(QFont(font, &printer_));
    metrics_ = painter_.fontMetrics();
    page_ = printer_.pageLayout().paintRectPixels(printer_.resolution());
}

PainterCanvas::~PainterCanvas() {
    if (painter_.isActive()) {
        printer_.abort();
        painter_.end();
    }
}

int PainterCanvas::textWidth(std::string_view text) {
    return metrics_.horizontalAdvance(fromAnsi(text));
}

int PainterCanvas::textHeight(std::string_view) {
    return metrics_.height();
}

void PainterCanvas::drawText(int x, int y, std::string_view text) {
    painter_.drawText(QPoint(x, y + metrics_.ascent()), fromAnsi(text));
}

void PainterCanvas::newPage() {
    if (!printer_.newPage()) throw TablorError("L'impression a été interrompue");
}

void PainterCanvas::finish() {
    if (!painter_.end()) throw TablorError("L'impression a été interrompue");
}

} // namespace tablor
