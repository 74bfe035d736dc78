#pragma once
// A record card without a window: it keeps the card layout the way the real card would, so the
// main window and the table writer work the same with or without a card on screen.

#include "card/RecordCard.h"

#include <array>

namespace tablor {

class LayoutOnlyCard : public RecordCard {
public:
    explicit LayoutOnlyCard(const TableDocument& doc) : doc_(doc) { ResetCardLayout(); }

    void FillCard() override {}
    void ApplyCardLayout() override {
        width_ = doc_.CardWidth;
        height_ = doc_.CardHeight;
        for (int i = 0; i < doc_.StringGrid1.ColCount() && i < MaxFields; ++i) {
            left_[i] = doc_.CardLeft[i];
            top_[i] = doc_.CardTop[i];
        }
    }
    void ResetCardLayout() override {
        for (int i = 0; i < MaxFields; ++i) {
            left_[i] = defaultCardLeft(i);
            top_[i] = defaultCardTop(i);
        }
        width_ = DefaultCardWidth;
        height_ = DefaultCardHeight;
    }
    QPoint cardPosition() const override { return {100, 30}; }
    void ShowCard() override {}

    int cardWidth() const override { return width_; }
    int cardHeight() const override { return height_; }
    int labelLeft(int field) const override { return left_[field]; }
    int labelTop(int field) const override { return top_[field]; }

private:
    const TableDocument& doc_;
    int width_ = DefaultCardWidth, height_ = DefaultCardHeight;
    std::array<int, MaxFields> left_{}, top_{};
};

} // namespace tablor
