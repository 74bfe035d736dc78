#include "hhctrl/Sitemap.h"

#include "hhctrl/HelpText.h"

#include <QHash>

namespace hhctrl {

namespace {

struct Tag {
    QString name;                       // lower case, with a leading "/" for an end tag
    QHash<QString, QString> attributes; // names in lower case, values decoded
};

bool isSpace(QChar c) {
    return c.isSpace();
}

// Reads the tag starting at text[at] == '<'; moves at past its '>'.
Tag readTag(const QString& text, qsizetype& at) {
    Tag tag;
    const qsizetype size = text.size();
    ++at;
    if (at < size && text[at] == QLatin1Char('/')) {
        tag.name = QStringLiteral("/");
        ++at;
    }
    while (at < size && (text[at].isLetterOrNumber() || text[at] == QLatin1Char('!')))
        tag.name += text[at++].toLower();
    for (;;) {
        while (at < size && isSpace(text[at]))
            ++at;
        if (at >= size) return tag;
        if (text[at] == QLatin1Char('>')) {
            ++at;
            return tag;
        }
        QString name;
        while (at < size && !isSpace(text[at]) && text[at] != QLatin1Char('=') &&
               text[at] != QLatin1Char('>'))
            name += text[at++].toLower();
        while (at < size && isSpace(text[at]))
            ++at;
        QString value;
        if (at < size && text[at] == QLatin1Char('=')) {
            ++at;
            while (at < size && isSpace(text[at]))
                ++at;
            if (at < size && (text[at] == QLatin1Char('"') || text[at] == QLatin1Char('\''))) {
                const QChar quote = text[at++];
                const qsizetype end = text.indexOf(quote, at);
                const qsizetype stop = end < 0 ? size : end;
                value = text.mid(at, stop - at);
                at = end < 0 ? size : end + 1;
            } else {
                while (at < size && !isSpace(text[at]) && text[at] != QLatin1Char('>'))
                    value += text[at++];
            }
        }
        if (name.isEmpty()) {
            ++at; // a stray character: step over it
            continue;
        }
        tag.attributes.insert(name, decodeEntities(value));
    }
}

} // namespace

std::vector<SitemapEntry> parseSitemap(const QString& text) {
    std::vector<SitemapEntry> root;
    // The lists being filled, innermost last. Only the innermost one grows, so the pointers to
    // the outer ones stay valid.
    std::vector<std::vector<SitemapEntry>*> lists;
    SitemapEntry entry;
    bool inEntry = false;

    const qsizetype size = text.size();
    qsizetype at = 0;
    while (at < size) {
        at = text.indexOf(QLatin1Char('<'), at);
        if (at < 0) break;
        if (text.mid(at, 4) == QLatin1String("<!--")) {
            const qsizetype end = text.indexOf(QLatin1String("-->"), at + 4);
            at = end < 0 ? size : end + 3;
            continue;
        }
        const Tag tag = readTag(text, at);
        std::vector<SitemapEntry>* current = lists.empty() ? &root : lists.back();
        if (tag.name == QLatin1String("ul")) {
            // A list right after an entry holds that entry's children.
            const bool deepest = lists.size() >= MaxSitemapDepth;
            lists.push_back(lists.empty()                 ? &root
                            : current->empty() || deepest ? current
                                                          : &current->back().children);
        } else if (tag.name == QLatin1String("/ul")) {
            if (!lists.empty()) lists.pop_back();
        } else if (tag.name == QLatin1String("object")) {
            inEntry = tag.attributes.value(QStringLiteral("type"))
                          .compare(QLatin1String("text/sitemap"), Qt::CaseInsensitive) == 0;
            entry = SitemapEntry{};
        } else if (tag.name == QLatin1String("param") && inEntry) {
            const QString name = tag.attributes.value(QStringLiteral("name")).toLower();
            const QString value = tag.attributes.value(QStringLiteral("value"));
            // An index keyword may list several pages: the first one is opened.
            if (name == QLatin1String("name") && entry.name.isEmpty()) entry.name = value;
            if (name == QLatin1String("local") && entry.local.isEmpty()) entry.local = value;
        } else if (tag.name == QLatin1String("/object") && inEntry) {
            current->push_back(std::move(entry));
            entry = SitemapEntry{};
            inEntry = false;
        }
    }
    return root;
}

} // namespace hhctrl
