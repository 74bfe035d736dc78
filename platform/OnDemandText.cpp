#include "platform/OnDemandText.h"

namespace tablor {

QStringList OnDemandText::formats() const {
    return {QStringLiteral("text/plain"), QStringLiteral("text/plain;charset=utf-8")};
}

bool OnDemandText::hasFormat(const QString& mimeType) const {
    return formats().contains(mimeType);
}

QVariant OnDemandText::retrieveData(const QString& mimeType, QMetaType) const {
    if (!hasFormat(mimeType)) return {};
    // Called from Qt's event loop, which no exception may cross: a text that cannot be made
    // (no memory left for it) is no text.
    try {
        return utf8_();
    } catch (...) {
        return {};
    }
}

} // namespace tablor
