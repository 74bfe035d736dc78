#pragma once
// Plain text on the clipboard that is written only when a program asks for it, in UTF-8 under
// both names Qt and the other programs look for.

#include <QByteArray>
#include <QMimeData>

#include <functional>

namespace tablor {

class OnDemandText : public QMimeData {
public:
    explicit OnDemandText(std::function<QByteArray()> utf8) : utf8_(std::move(utf8)) {}
    QStringList formats() const override;
    bool hasFormat(const QString& mimeType) const override;

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override;

private:
    std::function<QByteArray()> utf8_;
};

} // namespace tablor
