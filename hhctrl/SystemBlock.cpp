#include "hhctrl/SystemBlock.h"

#include "hhctrl/HelpText.h"

namespace hhctrl {

namespace {

// Codes of the #SYSTEM block's records.
enum SystemCode : unsigned { ContentsFile = 0, IndexFile = 1, DefaultTopic = 2, Title = 3 };

// A #SYSTEM string: up to its terminating zero.
QString systemString(const QByteArray& data) {
    const qsizetype end = data.indexOf('\0');
    return decodeHelpText(end < 0 ? data : data.left(end)).trimmed();
}

} // namespace

QString archivePath(const QString& local) {
    QString path = local;
    const qsizetype separator = path.indexOf(QLatin1String("::"));
    if (separator >= 0) path = path.mid(separator + 2);
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (!path.startsWith(QLatin1Char('/'))) path.prepend(QLatin1Char('/'));
    return path;
}

HelpFileFacts parseSystemBlock(const QByteArray& block) {
    HelpFileFacts facts;
    const auto* bytes = reinterpret_cast<const unsigned char*>(block.constData());
    const qsizetype size = block.size();
    // A 4-byte version, then records: 16-bit code, 16-bit length, data.
    qsizetype at = 4;
    while (at + 4 <= size) {
        const unsigned code = bytes[at] | (bytes[at + 1] << 8);
        const qsizetype length = bytes[at + 2] | (bytes[at + 3] << 8);
        at += 4;
        if (at + length > size) break;
        const QByteArray data = block.mid(at, length);
        at += length;
        switch (code) {
        case ContentsFile:
            facts.contentsFile = archivePath(systemString(data));
            break;
        case IndexFile:
            facts.indexFile = archivePath(systemString(data));
            break;
        case DefaultTopic:
            facts.defaultTopic = archivePath(systemString(data));
            break;
        case Title:
            facts.title = systemString(data);
            break;
        default:
            break;
        }
    }
    return facts;
}

} // namespace hhctrl
