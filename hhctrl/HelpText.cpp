#include "hhctrl/HelpText.h"

#include "platform/Ansi.h"

#include <QHash>
#include <QRegularExpression>
#include <QStringDecoder>

namespace hhctrl {

namespace {

enum class Charset { Unknown, Utf8, Windows1252 };

// The charset a page declares in its first kilobyte, if any.
Charset declaredCharset(const QByteArray& bytes) {
    const QByteArray head = bytes.left(1024).toLower();
    const qsizetype at = head.indexOf("charset=");
    if (at < 0) return Charset::Unknown;
    qsizetype from = at + 8;
    while (from < head.size() && (head[from] == '"' || head[from] == '\'' || head[from] == ' '))
        ++from;
    const QByteArray name = head.mid(from, 12);
    if (name.startsWith("utf-8") || name.startsWith("utf8")) return Charset::Utf8;
    if (name.startsWith("windows-1252") || name.startsWith("iso-8859-1") ||
        name.startsWith("latin1") || name.startsWith("cp1252") || name.startsWith("us-ascii"))
        return Charset::Windows1252;
    return Charset::Unknown;
}

QString fromWindows1252(const QByteArray& bytes) {
    return QString::fromStdString(
        tablor::ansi::toUtf8(std::string_view(bytes.constData(), size_t(bytes.size()))));
}

const QHash<QString, char32_t>& namedEntities() {
    static const QHash<QString, char32_t> names = {
        {"amp", '&'},      {"lt", '<'},        {"gt", '>'},       {"quot", '"'},
        {"apos", '\''},    {"nbsp", 0xA0},     {"laquo", 0xAB},   {"raquo", 0xBB},
        {"copy", 0xA9},    {"deg", 0xB0},      {"agrave", 0xE0},  {"acirc", 0xE2},
        {"auml", 0xE4},    {"ccedil", 0xE7},   {"egrave", 0xE8},  {"eacute", 0xE9},
        {"ecirc", 0xEA},   {"euml", 0xEB},     {"icirc", 0xEE},   {"iuml", 0xEF},
        {"ocirc", 0xF4},   {"ouml", 0xF6},     {"ugrave", 0xF9},  {"ucirc", 0xFB},
        {"uuml", 0xFC},    {"yuml", 0xFF},     {"Agrave", 0xC0},  {"Acirc", 0xC2},
        {"Ccedil", 0xC7},  {"Egrave", 0xC8},   {"Eacute", 0xC9},  {"Ecirc", 0xCA},
        {"Euml", 0xCB},    {"Icirc", 0xCE},    {"Iuml", 0xCF},    {"Ocirc", 0xD4},
        {"Ugrave", 0xD9},  {"Ucirc", 0xDB},    {"Uuml", 0xDC},    {"oelig", 0x153},
        {"OElig", 0x152},  {"hellip", 0x2026}, {"rsquo", 0x2019}, {"lsquo", 0x2018},
        {"ndash", 0x2013}, {"mdash", 0x2014},  {"euro", 0x20AC},  {"middot", 0xB7},
    };
    return names;
}

} // namespace

QString decodeHelpText(const QByteArray& bytes) {
    switch (declaredCharset(bytes)) {
    case Charset::Utf8:
        return QString::fromUtf8(bytes);
    case Charset::Windows1252:
        return fromWindows1252(bytes);
    case Charset::Unknown:
        break;
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    return utf8.hasError() ? fromWindows1252(bytes) : text;
}

QString decodeEntities(const QString& text) {
    if (!text.contains(QLatin1Char('&'))) return text;
    static const QRegularExpression reference(
        QStringLiteral("&(#x[0-9a-fA-F]{1,6}|#[0-9]{1,7}|[A-Za-z]{2,8});"));
    QString out;
    qsizetype last = 0;
    for (auto it = reference.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const QString name = m.captured(1);
        char32_t cp = 0;
        bool ok = false;
        if (name.startsWith(QLatin1String("#x")) || name.startsWith(QLatin1String("#X")))
            cp = name.mid(2).toUInt(&ok, 16);
        else if (name.startsWith(QLatin1Char('#')))
            cp = name.mid(1).toUInt(&ok, 10);
        else if (const auto found = namedEntities().constFind(name);
                 found != namedEntities().cend()) {
            cp = *found;
            ok = true;
        }
        if (!ok || cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) continue;
        out += QStringView(text).mid(last, m.capturedStart() - last);
        out += QString::fromUcs4(&cp, 1);
        last = m.capturedEnd();
    }
    out += QStringView(text).mid(last);
    return out;
}

} // namespace hhctrl
