#include "hhctrl/ChmArchive.h"

#include <QFile>

namespace hhctrl {

using chmreader::ReplyKind;
using chmreader::RequestKind;

ChmArchive::State ChmArchive::open(const QString& path) {
    close();
    switch (reader_.start(readerProgramPath(), QFile::encodeName(path).toStdString())) {
    case ChmReaderProcess::Start::Opened:
        state_ = State::Open;
        break;
    case ChmReaderProcess::Start::NotHelpFile:
        return state_ = State::NotHelpFile;
    case ChmReaderProcess::Start::NoProgram:
        return state_ = State::NoReader;
    case ChmReaderProcess::Start::Failed:
        return state_ = State::Damaged;
    }
    if (const std::optional<QByteArray> block = read(QStringLiteral("/#SYSTEM")))
        facts_ = parseSystemBlock(*block);
    if (isOpen() && facts_.contentsFile.isEmpty())
        facts_.contentsFile = firstObjectWithSuffix(".hhc");
    if (isOpen() && facts_.indexFile.isEmpty()) facts_.indexFile = firstObjectWithSuffix(".hhk");
    return state_;
}

void ChmArchive::close() {
    reader_.stop();
    state_ = State::Closed;
    facts_ = {};
}

void ChmArchive::fail() {
    reader_.stop();
    state_ = State::Damaged;
}

std::optional<QByteArray> ChmArchive::read(const QString& path) {
    const std::string name = path.toStdString();
    if (!isOpen() || !chmreader::isAcceptablePath(name)) return std::nullopt;
    const std::optional<chmreader::Reply> reply = reader_.ask({RequestKind::Read, name});
    if (!reply || reply->kind == ReplyKind::Damaged) {
        fail();
        return std::nullopt;
    }
    if (reply->kind != ReplyKind::Data) return std::nullopt;
    return QByteArray(reply->payload.data(), qsizetype(reply->payload.size()));
}

QString ChmArchive::firstObjectWithSuffix(const char* suffix) {
    const std::optional<chmreader::Reply> reply = reader_.ask({RequestKind::FindSuffix, suffix});
    if (!reply) {
        fail();
        return {};
    }
    return reply->kind == ReplyKind::Path ? QString::fromStdString(reply->payload) : QString();
}

} // namespace hhctrl
