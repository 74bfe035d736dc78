#include "platform/InterfaceFont.h"

#include <QFontMetrics>
#include <QStringList>

#include <algorithm>

namespace tablor {

namespace {
// The height of a line of the interface font at 96 dpi, which the designed heights hold.
constexpr int DesignedLineHeight = 12;
} // namespace

QFont interfaceFont() {
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                      QStringLiteral("Arial"), QStringLiteral("Sans Serif")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    return font;
}

int textRowHeight(const QFontMetrics& metrics, int designed) {
    return designed + std::max(0, metrics.height() - DesignedLineHeight);
}

} // namespace tablor
