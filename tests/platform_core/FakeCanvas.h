#pragma once
// A print canvas of known metrics that records what is drawn, page by page: every byte is
// `charWidth` dots wide (the letter W `wideWidth`), every text `textHeight` high.

#include "platform/PrinterTextStream.h"

#include <map>
#include <string>
#include <vector>

namespace tablor::test {

struct Drawn {
    int page, x, y;
    std::string text;
    bool operator==(const Drawn&) const = default;
};

class FakeCanvas : public PrintCanvas {
public:
    int width = 100, height = 200;
    int charWidth = 10, wideWidth = 10, textHeightDots = 20, averageWidth = 10;
    int page = 0;
    std::vector<Drawn> drawn;
    long long measured = 0; // bytes measured by textWidth, all calls together

    int pageWidth() override { return width; }
    int pageHeight() override { return height; }
    int textWidth(std::string_view text) override {
        int w = 0;
        measured += static_cast<long long>(text.size());
        for (char ch : text)
            w += ch == 'W' ? wideWidth : charWidth;
        return w;
    }
    int textHeight(std::string_view) override { return textHeightDots; }
    int fontHeight() override { return textHeightDots; }
    int averageCharWidth() override { return averageWidth; }
    void drawText(int x, int y, std::string_view text) override {
        drawn.push_back({page, x, y, std::string(text)});
    }
    void newPage() override { ++page; }

    // The texts of each page, the pieces drawn at one height joined into one line.
    std::vector<std::vector<std::string>> pages() const {
        std::vector<std::map<int, std::string>> byY(page + 1);
        for (const Drawn& d : drawn)
            byY[d.page][d.y] += d.text;
        std::vector<std::vector<std::string>> out;
        for (const auto& lines : byY) {
            out.emplace_back();
            for (const auto& [y, text] : lines)
                out.back().push_back(text);
        }
        return out;
    }
};

} // namespace tablor::test
