#pragma once
// The printer's text stream: text written to it is laid out on the pages of a print job, line
// after line from the top-left corner of the printable area, long lines broken between
// characters, a new page when the next line would come too close to the bottom. The layout is
// ours; the canvas only measures and draws, so the rules are tested without a printer. Qt-free.

#include <string>
#include <string_view>

namespace tablor {

// A page to draw text on, in one font, measured in device dots.
class PrintCanvas {
public:
    virtual ~PrintCanvas() = default;
    // The printable area; (0, 0) is its top-left corner.
    virtual int pageWidth() = 0;
    virtual int pageHeight() = 0;
    // Measures of a Windows-1252 text in the drawing font.
    virtual int textWidth(std::string_view text) = 0;
    virtual int textHeight(std::string_view text) = 0;
    // The font's character height and average character width.
    virtual int fontHeight() = 0;
    virtual int averageCharWidth() = 0;
    // Draws the text with its top-left corner at (x, y).
    virtual void drawText(int x, int y, std::string_view text) = 0;
    // Ends the page; what follows is drawn on the next one.
    virtual void newPage() = 0;
};

class PrinterTextStream {
public:
    explicit PrinterTextStream(PrintCanvas& canvas) : canvas_(canvas) {}

    // Writes text: a line feed ends the line, a carriage return does nothing, a form feed
    // starts a new page, a tab moves to the next tab stop (eight average characters apart).
    void write(std::string_view text);
    // Ends the page at the program's request.
    void newPage();
    // Draws the text still waiting for its line end; call it before the job ends.
    void flush();

private:
    void drawRun(std::string_view text);
    void drawPart(std::string_view part);
    void endLine();
    void breakPage();

    PrintCanvas& canvas_;
    std::string run_; // text waiting to be drawn as one piece
    int x_ = 0, y_ = 0;
    int lineText_ = -1;     // height of the tallest text on the line; -1 while it holds none
    bool pageUsed_ = false; // something is drawn on the current page
    bool pageOwed_ = false; // the next drawing goes on a new page
};

} // namespace tablor
