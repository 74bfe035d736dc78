#pragma once
// The about window's design geometry (client pixels at 96 dpi) and the rule that keeps every
// text whole under the fonts of this machine: when a text would run past the window's right
// side or into what lies below it, the whole window grows by one factor, pictures and lines
// with it, while the texts keep their size. Qt-free.

#include <span>

namespace tablor::about {

struct Rect {
    int left = 0, top = 0, width = 0, height = 0;
    bool operator==(const Rect&) const = default;
};

inline constexpr int ClientWidth = 294;
inline constexpr int ClientHeight = 268;
// Room kept free between a text and the window's right side.
inline constexpr int RightMargin = 4;

inline constexpr Rect Button1{208, 223, 74, 26};
inline constexpr Rect Image1{0, 0, 294, 77};
inline constexpr Rect FImage{23, 95, 34, 34};
// The engraved separator: two horizontal lines, black over white, one row apart.
inline constexpr Rect Line1{86, 158, 196, 10};
inline constexpr Rect Line2{86, 159, 196, 10};
// Labels size themselves to their text; only their corner is designed.
inline constexpr Rect Label1{88, 96, 0, 0};
inline constexpr Rect Label2{88, 120, 0, 0};
inline constexpr Rect Label3{88, 136, 0, 0};
inline constexpr Rect lblPhysMem{86, 173, 0, 0};
inline constexpr Rect lblPhysRes{86, 193, 0, 0};

// One label as measured: its design corner, its text's size in pixels, and the design row that
// its text must stay above (the top of whatever comes next below it).
struct MeasuredText {
    int left = 0, top = 0;
    int width = 0, height = 0;
    int limitTop = 0;
};

// The smallest factor, at least 1, at which every text fits, but never more than `maxScale`
// (the window must still fit on the screen).
double fitScale(std::span<const MeasuredText> texts, double maxScale);

// A design coordinate or length at the given factor.
int scaled(int value, double scale);
Rect scaled(const Rect& r, double scale);

} // namespace tablor::about
