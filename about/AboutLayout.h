#pragma once
// The about window's design geometry (client pixels at 96 dpi) and what its texts need to stay
// whole under the fonts of this machine: a text must not run past the window's right side or into
// what lies below it. The window then grows by one factor (platform/DesignedGeometry), pictures
// and lines with it, while the texts keep their size.

#include <QPoint>
#include <QRect>
#include <QSize>

#include <span>

namespace tablor::about {

inline constexpr QSize Client{294, 268};
// Room kept free between a text and the window's right side.
inline constexpr int RightMargin = 4;

inline constexpr QRect Button1{208, 223, 74, 26};
inline constexpr QRect Image1{0, 0, 294, 77};
inline constexpr QRect FImage{23, 95, 34, 34};
// The engraved separator: two horizontal lines, black over white, one row apart.
inline constexpr QRect Line1{86, 158, 196, 10};
inline constexpr QRect Line2{86, 159, 196, 10};
// Labels size themselves to their text; only their corner is designed.
inline constexpr QPoint Label1{88, 96};
inline constexpr QPoint Label2{88, 120};
inline constexpr QPoint Label3{88, 136};
inline constexpr QPoint lblPhysMem{86, 173};
inline constexpr QPoint lblPhysRes{86, 193};

// One label as measured: its design corner, its text's size in pixels, and the design row that
// its text must stay above (the top of whatever comes next below it).
struct MeasuredText {
    int left = 0, top = 0;
    int width = 0, height = 0;
    int limitTop = 0;
};

// How many times their designed room the texts need: the factor at which every text fits.
double neededScale(std::span<const MeasuredText> texts);

} // namespace tablor::about
