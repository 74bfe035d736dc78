// The viewer's contents and index parser on what a damaged or hostile file may hold.
#include "hhctrl/Sitemap.h"

#include <gtest/gtest.h>

using namespace hhctrl;

namespace {

std::size_t depth(const std::vector<SitemapEntry>& entries) {
    std::size_t deepest = 0;
    for (const SitemapEntry& e : entries)
        deepest = std::max(deepest, 1 + depth(e.children));
    return deepest;
}

QString entry(int n) {
    return QStringLiteral("<li><object type=\"text/sitemap\"><param name=\"Name\" value=\"%1\">"
                          "<param name=\"Local\" value=\"p%1.html\"></object>")
        .arg(n);
}

} // namespace

TEST(Sitemap, ListsNestedBeyondTheLimitJoinTheDeepestLevel) {
    // Lists nested deep enough (a hundred thousand levels) make a tree too deep to walk or free.
    const int levels = 1000;
    QString text;
    for (int n = 0; n < levels; ++n)
        text += QStringLiteral("<ul>") + entry(n);
    const std::vector<SitemapEntry> tree = parseSitemap(text);
    EXPECT_EQ(depth(tree), MaxSitemapDepth);
    const SitemapEntry* deepest = &tree.front();
    for (std::size_t level = 1; level < MaxSitemapDepth; ++level)
        deepest = &deepest->children.front();
    EXPECT_EQ(deepest->name, QStringLiteral("%1").arg(MaxSitemapDepth - 1));
    ASSERT_EQ(deepest->children.size(), std::size_t(0));
    // The entries below the limit are all kept, in order, beside the deepest one's siblings.
    const SitemapEntry* parent = &tree.front();
    for (std::size_t level = 1; level < MaxSitemapDepth - 1; ++level)
        parent = &parent->children.front();
    ASSERT_EQ(parent->children.size(), std::size_t(levels - MaxSitemapDepth + 1));
    EXPECT_EQ(parent->children.back().local, QStringLiteral("p%1.html").arg(levels - 1));
}
