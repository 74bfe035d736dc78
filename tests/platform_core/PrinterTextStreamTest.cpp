#include "platform_core/FakeCanvas.h"

#include <gtest/gtest.h>

namespace tablor::test {
namespace {

using Pages = std::vector<std::vector<std::string>>;

TEST(PrinterTextStream, LinesAdvanceByTextHeightPlusTwoAndEmptyLinesByCharacterHeight) {
    FakeCanvas canvas;
    PrinterTextStream out(canvas);
    out.write("ab\r\n\r\ncd");
    out.write(" e\r\n");
    out.flush();
    EXPECT_EQ(canvas.drawn, (std::vector<Drawn>{{0, 0, 0, "ab"}, {0, 0, 42, "cd e"}}));
}

TEST(PrinterTextStream, LongLinesBreakBetweenCharactersAndGoOnAtTheStartOfTheNextLine) {
    FakeCanvas canvas; // ten characters to a line
    PrinterTextStream out(canvas);
    out.write("abcdefghijklmnopqrstuvwxy\r\n");
    out.write("z\r\n");
    out.flush();
    EXPECT_EQ(canvas.drawn, (std::vector<Drawn>{{0, 0, 0, "abcdefghij"},
                                                {0, 0, 22, "klmnopqrst"},
                                                {0, 0, 44, "uvwxy"},
                                                {0, 0, 66, "z"}}));

    // A long cell is measured in proportion to its length, not to its length times its lines.
    FakeCanvas big;
    PrinterTextStream bigOut(big);
    bigOut.write(std::string(100000, 'a'));
    bigOut.flush();
    EXPECT_EQ(big.drawn.size(), 10000u);
    EXPECT_LT(big.measured, 100 * 100000);
}

TEST(PrinterTextStream, TabsMoveToStopsEightAverageCharactersApart) {
    FakeCanvas canvas;
    PrinterTextStream out(canvas);
    out.write("a\tbcdef\n");     // stop at 80: two characters fit there, the rest breaks
    out.write("abcdefghi\tx\n"); // past the last stop on the line: x starts the next line
    out.flush();
    EXPECT_EQ(canvas.drawn, (std::vector<Drawn>{{0, 0, 0, "a"},
                                                {0, 80, 0, "bc"},
                                                {0, 0, 22, "def"},
                                                {0, 0, 44, "abcdefghi"},
                                                {0, 0, 66, "x"}}));
}

TEST(PrinterTextStream, ACharacterWiderThanThePageStillGetsALineOfItsOwn) {
    FakeCanvas canvas;
    canvas.wideWidth = 150;
    PrinterTextStream out(canvas);
    out.write("aWWb\n");
    out.flush();
    EXPECT_EQ(
        canvas.drawn,
        (std::vector<Drawn>{{0, 0, 0, "a"}, {0, 0, 22, "W"}, {0, 0, 44, "W"}, {0, 0, 66, "b"}}));
}

TEST(PrinterTextStream, ANewPageStartsWhenTheNextLineComesWithinTwiceItsHeightOfTheBottom) {
    // Lines of 22 dots on a page of 200: after the eighth line y is 176 > 200 - 44.
    FakeCanvas canvas;
    PrinterTextStream out(canvas);
    for (int i = 0; i < 10; ++i)
        out.write(std::to_string(i) + "\r\n");
    out.flush();
    EXPECT_EQ(canvas.pages(), (Pages{{"0", "1", "2", "3", "4", "5", "6", "7"}, {"8", "9"}}));
    EXPECT_EQ(canvas.drawn.back(), (Drawn{1, 0, 22, "9"}));
}

TEST(PrinterTextStream, EmptyLinesFillThePageToItsEndAndTextThenMovesToTheNextPage) {
    FakeCanvas canvas;
    canvas.height = 100;
    PrinterTextStream out(canvas);
    out.write("a\n\n\n\n"); // y: 22, 42, 62, 82; no page yet (only y > 100 breaks)
    out.write("b\n");       // 82 + 20 would cross the bottom
    out.flush();
    EXPECT_EQ(canvas.drawn, (std::vector<Drawn>{{0, 0, 0, "a"}, {1, 0, 0, "b"}}));
}

TEST(PrinterTextStream, NoBlankPageAtTheEndOrBetweenCopies) {
    FakeCanvas canvas;
    PrinterTextStream out(canvas);
    for (int copy = 0; copy < 2; ++copy) {
        for (int i = 0; i < 8; ++i)
            out.write("x\n"); // exactly one page
        if (copy == 0) out.newPage();
    }
    out.flush();
    EXPECT_EQ(canvas.page, 1);
    EXPECT_EQ(canvas.pages(),
              (Pages{std::vector<std::string>(8, "x"), std::vector<std::string>(8, "x")}));
}

TEST(PrinterTextStream, FormFeedStartsANewPageAndCarriageReturnAloneDoesNothing) {
    FakeCanvas canvas;
    PrinterTextStream out(canvas);
    out.write("a\rb\fc\n");
    out.newPage();
    out.write("d");
    out.flush();
    EXPECT_EQ(canvas.drawn, (std::vector<Drawn>{{0, 0, 0, "ab"}, {1, 0, 0, "c"}, {2, 0, 0, "d"}}));
}

} // namespace
} // namespace tablor::test
