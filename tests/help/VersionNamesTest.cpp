// The version comparison and the two friendly-name tables, on the versions support staff quote.
#include "help/VersionNames.h"

#include <gtest/gtest.h>

using namespace tablor;

namespace {

FileVersion v(std::uint16_t a, std::uint16_t b, std::uint16_t c, std::uint16_t d) {
    return MakeFileVersion(a, b, c, d);
}

} // namespace

TEST(CompareVersions, FirstDifferingNumberDecidesAsUnsigned16Bit) {
    EXPECT_EQ(CompareVersions(v(4, 74, 9273, 0), v(4, 74, 9273, 0)), 0);
    EXPECT_EQ(CompareVersions(v(4, 74, 9273, 1), v(4, 74, 9273, 0)), 1);
    EXPECT_EQ(CompareVersions(v(4, 73, 9999, 9), v(4, 74, 0, 0)), -1);
    EXPECT_EQ(CompareVersions(v(5, 0, 0, 0), v(4, 99, 9999, 9999)), 1);
    EXPECT_EQ(CompareVersions(v(65535, 0, 0, 0), v(1, 0, 0, 0)), 1);
    EXPECT_EQ(CompareVersions(v(1, 2, 3, 40000), v(1, 2, 3, 39999)), 1);
}

TEST(HelpControlFriendlyName, ThresholdsAndTheirEdges) {
    EXPECT_EQ(HelpControlFriendlyName(v(4, 74, 9273, 0)), QStringLiteral("1.33"));
    EXPECT_EQ(HelpControlFriendlyName(v(4, 74, 9273, 1)), QStringLiteral("> 1.33"));
    EXPECT_EQ(HelpControlFriendlyName(v(5, 0, 0, 0)), QStringLiteral("> 1.33"));
    EXPECT_EQ(HelpControlFriendlyName(v(4, 74, 9272, 65535)), QStringLiteral("1.32"));
    EXPECT_EQ(HelpControlFriendlyName(v(4, 74, 8702, 0)), QStringLiteral("1.3"));
    EXPECT_EQ(HelpControlFriendlyName(v(4, 73, 8474, 5)), QStringLiteral("1.21a"));
    EXPECT_EQ(HelpControlFriendlyName(v(4, 72, 7290, 0)), QStringLiteral("1.0"));
    EXPECT_EQ(HelpControlFriendlyName(v(4, 72, 7289, 0)), QStringLiteral("< 1.0"));
    EXPECT_EQ(HelpControlFriendlyName(v(1, 0, 0, 0)), QStringLiteral("< 1.0"));
}

TEST(HelpControlFriendlyName, EmptyWithoutVersionEvenThoughZerosWouldRankLowest) {
    EXPECT_EQ(HelpControlFriendlyName(FileVersion{}), QString());
    EXPECT_EQ(BrowserFriendlyName(FileVersion{}), QString());
}

TEST(BrowserFriendlyName, ThresholdsAndTheirEdges) {
    EXPECT_EQ(BrowserFriendlyName(v(6, 0, 2600, 0)),
              QStringLiteral("Internet Explorer 6 (Windows XP)"));
    EXPECT_EQ(BrowserFriendlyName(v(6, 0, 2600, 1)), QStringLiteral("> Internet Explorer 6"));
    EXPECT_EQ(BrowserFriendlyName(v(6, 0, 2479, 6)),
              QStringLiteral("Internet Explorer 6 Public Preview (Beta) Refresh"));
    EXPECT_EQ(BrowserFriendlyName(v(6, 0, 2479, 5)),
              QStringLiteral("Internet Explorer 6 Public Preview (Beta)"));
    EXPECT_EQ(BrowserFriendlyName(v(5, 50, 4522, 1800)),
              QStringLiteral("Internet Explorer 5.5 Service Pack 1"));
    EXPECT_EQ(BrowserFriendlyName(v(5, 50, 4030, 2400)),
              QStringLiteral("Internet Explorer 5.5 & Internet Tools Beta"));
    EXPECT_EQ(BrowserFriendlyName(v(5, 0, 2919, 6307)), QStringLiteral("Internet Explorer 5.01"));
    EXPECT_EQ(BrowserFriendlyName(v(5, 0, 2919, 6306)),
              QStringLiteral("Internet Explorer 5.01 (Windows 2000 RC2, build 5.00.2128)"));
    EXPECT_EQ(BrowserFriendlyName(v(4, 40, 308, 0)),
              QStringLiteral("Internet Explorer 1.0 (Plus!)"));
    EXPECT_EQ(BrowserFriendlyName(v(4, 40, 307, 0)),
              QStringLiteral("< Internet Explorer 1.0 (Plus!)"));
}

TEST(AdjustBrowserVersion, OldBuildNumberMovesIntoTheReleasePlace) {
    const FileVersion adjusted = AdjustBrowserVersion(v(4, 70, 0, 1158));
    EXPECT_EQ(adjusted.text, QStringLiteral("4.70.1158.0"));
    EXPECT_EQ(adjusted.release, 1158);
    EXPECT_EQ(adjusted.build, 0);
    EXPECT_EQ(BrowserFriendlyName(adjusted), QStringLiteral("Internet Explorer 3.0 (OSR2)"));

    EXPECT_EQ(AdjustBrowserVersion(v(4, 40, 0, 308)).text, QStringLiteral("4.40.308.0"));
}

TEST(AdjustBrowserVersion, LeavesNewerOrAlreadyPlacedVersionsAlone) {
    // Minor 71 is past the era: 4.71.0.1712 ranks between 4.70.1300.0 and 4.71.544.0.
    const FileVersion notAdjusted = AdjustBrowserVersion(v(4, 71, 0, 1712));
    EXPECT_EQ(notAdjusted.text, QStringLiteral("4.71.0.1712"));
    EXPECT_EQ(BrowserFriendlyName(notAdjusted), QStringLiteral("Internet Explorer 3.02"));

    EXPECT_EQ(AdjustBrowserVersion(v(4, 70, 1155, 7)).text, QStringLiteral("4.70.1155.7"));
    EXPECT_EQ(AdjustBrowserVersion(v(5, 0, 0, 2014)).text, QStringLiteral("5.0.0.2014"));
    EXPECT_EQ(AdjustBrowserVersion(FileVersion{}).text, QString());
}
