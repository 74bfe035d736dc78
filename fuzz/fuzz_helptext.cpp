// Feeds arbitrary bytes to what the help viewer makes of a help file's objects: the text
// decoding of pages, the contents and index parsers, character references and the #SYSTEM
// block. Nothing may crash, and the trees stay within their depth.

#include "hhctrl/HelpText.h"
#include "hhctrl/Sitemap.h"
#include "hhctrl/SystemBlock.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace hhctrl;

namespace {

std::size_t depth(const std::vector<SitemapEntry>& entries) {
    std::size_t deepest = 0;
    for (const SitemapEntry& e : entries)
        deepest = std::max(deepest, 1 + depth(e.children));
    return deepest;
}

void check(bool sound, const char* what) {
    if (sound) return;
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

bool absoluteOrEmpty(const QString& path) {
    return path.isEmpty() || path.startsWith(QLatin1Char('/'));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString text = decodeHelpText(bytes);
    check(depth(parseSitemap(text)) <= MaxSitemapDepth, "a sitemap tree deeper than allowed");
    decodeEntities(text);

    const HelpFileFacts facts = parseSystemBlock(bytes);
    check(absoluteOrEmpty(facts.contentsFile) && absoluteOrEmpty(facts.indexFile) &&
              absoluteOrEmpty(facts.defaultTopic),
          "a #SYSTEM path that is not absolute");
    return 0;
}
