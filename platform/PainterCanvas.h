#pragma once
// A print job drawn on a QPrinter through QPainter: the canvas of the printer's text stream.

#include "platform/Platform.h"

#include <QFontMetrics>
#include <QPainter>

class QPrinter;

namespace tablor {

class PainterCanvas : public PrintJob {
public:
    // Starts the job; throws TablorError when the printer refuses it.
    PainterCanvas(QPrinter& printer, const QFont& font);
    // A job left unfinished (an error came first) is abandoned.
    ~PainterCanvas() override;

    int pageWidth() override { return page_.width(); }
    int pageHeight() override { return page_.height(); }
    int textWidth(std::string_view text) override;
    int textHeight(std::string_view text) override;
    int fontHeight() override { return metrics_.height(); }
    int averageCharWidth() override { return metrics_.averageCharWidth(); }
    void drawText(int x, int y, std::string_view text) override;
    void newPage() override;
    void finish() override;

private:
    QPrinter& printer_;
    QPainter painter_;
    QFontMetrics metrics_;
    QRect page_;
};

// Begins painting on the printer, or throws TablorError with the reason the user can act on.
void beginPrinting(QPainter& painter, QPrinter& printer);

} // namespace tablor
