#pragma once

#include <QTest>

namespace tablor::test {

// Types the text into the widget, one key press per character, accented letters included.
inline void typeText(QWidget* widget, const QString& text) {
    for (const QChar ch : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

} // namespace tablor::test
