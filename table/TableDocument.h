#pragma once
// The one table document of a run: the grid store (cells, size, widths, current cell,
// selection) and the main window's members that travel with it. Qt-free.

#include "platform/StringGrid.h"

#include <array>
#include <cstdint>
#include <string>

namespace tablor {

inline constexpr int MaxFields = 40;

// The default card layout: eight labels to a card column, columns 88 pixels apart, labels 48
// pixels apart; the edit box sits 16 pixels under its label.
inline int defaultCardLeft(int i) {
    return (i / 8) * 88 + 8;
}
inline int defaultCardTop(int i) {
    return (i % 8) * 48 + 40;
}
inline constexpr int DefaultCardWidth = 327;
inline constexpr int DefaultCardHeight = 450;

// The card layout as the record card currently shows it; the table writer takes it from here.
class CardLayoutSource {
public:
    virtual ~CardLayoutSource() = default;
    virtual int cardWidth() const = 0;
    virtual int cardHeight() const = 0;
    virtual int labelLeft(int field) const = 0;
    virtual int labelTop(int field) const = 0;
};

struct TableDocument {
    StringGrid StringGrid1{10, 2};

    std::string FileName; // exactly as given; native bytes of the path
    std::int32_t RecordCount = 1;
    std::int32_t SortField = 0;
    bool Modified = false;
    std::array<std::uint16_t, MaxFields> CopyFlags{};
    std::int32_t CardWidth = DefaultCardWidth;
    std::int32_t CardHeight = DefaultCardHeight;
    std::array<std::int32_t, MaxFields> CardLeft{};
    std::array<std::int32_t, MaxFields> CardTop{};

    TableDocument() { resetMembers(); }

    // The members as a new window starts them: not modified, sort field 0, every field ticked
    // for copying, the default card layout and size.
    void resetMembers() {
        Modified = false;
        SortField = 0;
        CopyFlags.fill(1);
        for (int i = 0; i < MaxFields; ++i) {
            CardLeft[i] = defaultCardLeft(i);
            CardTop[i] = defaultCardTop(i);
        }
        CardWidth = DefaultCardWidth;
        CardHeight = DefaultCardHeight;
    }
};

// The layout held by the document's own members: what the writer uses while no card exists.
class DocumentCardLayout : public CardLayoutSource {
public:
    explicit DocumentCardLayout(const TableDocument& d) : d_(d) {}
    int cardWidth() const override { return d_.CardWidth; }
    int cardHeight() const override { return d_.CardHeight; }
    int labelLeft(int field) const override { return d_.CardLeft[field]; }
    int labelTop(int field) const override { return d_.CardTop[field]; }

private:
    const TableDocument& d_;
};

} // namespace tablor
