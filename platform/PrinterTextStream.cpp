#include "platform/PrinterTextStream.h"

#include <algorithm>

namespace tablor {

void PrinterTextStream::write(std::string_view text) {
    for (const char ch : text) {
        switch (ch) {
        case '\n':
            flush();
            endLine();
            break;
        case '\r':
            break;
        case '\f':
            flush();
            breakPage();
            break;
        case '\t': {
            flush();
            const int stop = std::max(1, 8 * canvas_.averageCharWidth());
            x_ = (x_ / stop + 1) * stop;
            break;
        }
        default:
            run_.push_back(ch);
        }
    }
}

void PrinterTextStream::newPage() {
    flush();
    breakPage();
}

void PrinterTextStream::flush() {
    if (run_.empty()) return;
    drawRun(run_);
    run_.clear();
}

// Draws as much of the text as the rest of the line holds, then goes on with the rest at the
// start of the next line, as often as needed.
void PrinterTextStream::drawRun(std::string_view text) {
    while (!text.empty()) {
        const int room = canvas_.pageWidth() - x_;
        // The longest head that fits (widths grow with the number of characters). Heads twice
        // as long each time are tried first, so a long text costs in proportion to the line
        // drawn and not to all the text still to come.
        std::size_t lo = 0, hi = text.size();
        std::size_t probe = std::max(1, room / std::max(1, canvas_.averageCharWidth()));
        while (probe < text.size() && canvas_.textWidth(text.substr(0, probe)) <= room) {
            lo = probe;
            probe *= 2;
        }
        if (probe < text.size())
            hi = probe;
        else if (canvas_.textWidth(text) <= room)
            lo = hi;
        while (lo + 1 < hi) {
            const std::size_t mid = lo + (hi - lo) / 2;
            if (canvas_.textWidth(text.substr(0, mid)) <= room)
                lo = mid;
            else
                hi = mid;
        }
        // A character wider than the whole page still gets a line of its own, so the text
        // always moves on.
        if (lo == 0 && x_ == 0) lo = 1;
        if (lo > 0) drawPart(text.substr(0, lo));
        text.remove_prefix(lo);
        if (!text.empty()) endLine();
    }
}

void PrinterTextStream::drawPart(std::string_view part) {
    const int height = canvas_.textHeight(part);
    // Text that would cross the bottom of the page (after empty lines, which take the page
    // to its very end) goes to the top of the next page rather than being cut off.
    if (y_ > 0 && y_ + height > canvas_.pageHeight()) {
        y_ = 0;
        if (pageUsed_) {
            pageOwed_ = true;
            pageUsed_ = false;
        }
    }
    if (pageOwed_) {
        canvas_.newPage();
        pageOwed_ = false;
    }
    canvas_.drawText(x_, y_, part);
    pageUsed_ = true;
    x_ += canvas_.textWidth(part);
    lineText_ = std::max(lineText_, height);
}

void PrinterTextStream::endLine() {
    const bool holdsText = lineText_ >= 0;
    const int height = holdsText ? lineText_ + 2 : canvas_.fontHeight();
    x_ = 0;
    y_ += height;
    lineText_ = -1;
    if (y_ > canvas_.pageHeight() - (holdsText ? 2 * height : 0)) breakPage();
}

// The page is only started when something is drawn on it, so a job never holds a blank page:
// not after a last line that filled the page, nor between copies when one ended a page.
void PrinterTextStream::breakPage() {
    x_ = 0;
    y_ = 0;
    lineText_ = -1;
    if (pageUsed_) {
        pageOwed_ = true;
        pageUsed_ = false;
    }
}

} // namespace tablor
