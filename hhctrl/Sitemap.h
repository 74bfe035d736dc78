#pragma once
// The contents (.hhc) and index (.hhk) files of a help file: nested <UL> lists of
// <OBJECT type="text/sitemap"> entries, each naming a topic and the page it opens.

#include <QString>

#include <vector>

namespace hhctrl {

struct SitemapEntry {
    QString name;  // the text shown
    QString local; // the page it opens, relative to the archive's root; empty for a heading
    std::vector<SitemapEntry> children;
};

// Lists nested deeper than this are read as part of the deepest one: the tree stays shallow
// enough for the code that walks it, whatever the file holds.
constexpr std::size_t MaxSitemapDepth = 64;

// Parses the decoded text of a sitemap. Malformed or unbalanced lists give what could be read.
std::vector<SitemapEntry> parseSitemap(const QString& text);

} // namespace hhctrl
