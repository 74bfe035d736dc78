#include "hhctrl/ChmArchive.h"

#include "hhctrl/HelpText.h"

#include <QFile>

#include <chm_lib.h>

namespace hhctrl {

namespace {

// Help files hold pages of a few kilobytes; anything larger than this is a damaged entry.
constexpr LONGUINT64 MaxObjectSize = 64u * 1024u * 1024u;

// Codes of the #SYSTEM block's records.
enum SystemCode : unsigned { ContentsFile = 0, IndexFile = 1, DefaultTopic = 2, Title = 3 };

// A #SYSTEM string: up to its terminating zero.
QString systemString(const QByteArray& data) {
    const qsizetype end = data.indexOf('\0');
    return decodeHelpText(end < 0 ? data : data.left(end)).trimmed();
}

struct SuffixSearch {
    QByteArray suffix;
    QString found;
};

int matchSuffix(chmFile*, chmUnitInfo* ui, void* context) {
    auto* search = static_cast<SuffixSearch*>(context);
    const QByteArray path(ui->path);
    if (path.toLower().endsWith(search->suffix)) {
        search->found = QString::fromUtf8(path);
        return CHM_ENUMERATOR_SUCCESS;
    }
    return CHM_ENUMERATOR_CONTINUE;
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

ChmArchive::~ChmArchive() {
    close();
}

bool ChmArchive::open(const QString& path) {
    close();
    file_ = chm_open(QFile::encodeName(path).constData());
    if (!file_) return false;
    readSystemBlock();
    if (contentsFile_.isEmpty()) contentsFile_ = firstObjectWithSuffix(".hhc");
    if (indexFile_.isEmpty()) indexFile_ = firstObjectWithSuffix(".hhk");
    return true;
}

void ChmArchive::close() {
    if (file_) chm_close(file_);
    file_ = nullptr;
    title_.clear();
    defaultTopic_.clear();
    contentsFile_.clear();
    indexFile_.clear();
}

std::optional<QByteArray> ChmArchive::read(const QString& path) const {
    if (!file_ || path.isEmpty()) return std::nullopt;
    const QByteArray name = path.toUtf8();
    chmUnitInfo info{};
    if (chm_resolve_object(file_, name.constData(), &info) != CHM_RESOLVE_SUCCESS)
        return std::nullopt;
    if (info.length > MaxObjectSize) return std::nullopt;
    QByteArray data(qsizetype(info.length), Qt::Uninitialized);
    LONGUINT64 done = 0;
    while (done < info.length) {
        const LONGINT64 got =
            chm_retrieve_object(file_, &info, reinterpret_cast<unsigned char*>(data.data()) + done,
                                done, LONGINT64(info.length - done));
        if (got <= 0) return std::nullopt;
        done += LONGUINT64(got);
    }
    return data;
}

void ChmArchive::readSystemBlock() {
    const std::optional<QByteArray> block = read(QStringLiteral("/#SYSTEM"));
    if (!block) return;
    const auto* bytes = reinterpret_cast<const unsigned char*>(block->constData());
    const qsizetype size = block->size();
    // A 4-byte version, then records: 16-bit code, 16-bit length, data.
    qsizetype at = 4;
    while (at + 4 <= size) {
        const unsigned code = bytes[at] | (bytes[at + 1] << 8);
        const qsizetype length = bytes[at + 2] | (bytes[at + 3] << 8);
        at += 4;
        if (at + length > size) break;
        const QByteArray data = block->mid(at, length);
        at += length;
        switch (code) {
        case ContentsFile:
            contentsFile_ = archivePath(systemString(data));
            break;
        case IndexFile:
            indexFile_ = archivePath(systemString(data));
            break;
        case DefaultTopic:
            defaultTopic_ = archivePath(systemString(data));
            break;
        case Title:
            title_ = systemString(data);
            break;
        default:
            break;
        }
    }
}

QString ChmArchive::firstObjectWithSuffix(const char* suffix) const {
    SuffixSearch search{QByteArray(suffix), {}};
    chm_enumerate(file_, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, matchSuffix, &search);
    return search.found;
}

} // namespace hhctrl
