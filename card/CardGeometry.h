#pragma once
// Where the record card puts its pairs of label and edit box. Qt-free.

namespace tablor::card {

inline constexpr int Pairs = 40;
inline constexpr int BandHeight = 30; // the toolbar band along the top of the card
inline constexpr int EditBelowLabel = 16;
inline constexpr int LabelHeight = 13;
inline constexpr int EditHeight = 21;

// The positions the card starts with: four columns of ten pairs.
inline int designLeft(int pair) {
    return (pair / 10) * 136 + 8;
}
inline int designTop(int pair) {
    return (pair % 10) * 48 + 40;
}

// A dragged label comes to rest on the 8-pixel grid, rounded toward zero (13 gives 8, -13 -8).
inline int snapToGrid(int v) {
    return (v / 8) * 8;
}

} // namespace tablor::card
