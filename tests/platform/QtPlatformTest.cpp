// The desktop's own dialogs and formats as the program uses them.

#include "platform/QtPlatform.h"
#include "support/TypeText.h"

#include <QApplication>
#include <QClipboard>
#include <QDate>
#include <QLineEdit>
#include <QLocale>
#include <QMimeData>
#include <QTimer>
#include <gtest/gtest.h>

using namespace tablor;
using tablor::test::typeText;

// The field-name prompt shows what will be stored: a character Windows-1252 lacks is refused.
TEST(QtPlatform, ThePromptRefusesWhatTheCodePageLacks) {
    QtPlatform platform;
    QTimer::singleShot(0, [] {
        auto* prompt = QApplication::activeModalWidget()->findChild<QLineEdit*>();
        prompt->clear();
        typeText(prompt, QStringLiteral("Ł→Prix"));
        QTest::keyClick(prompt, Qt::Key_Return);
    });
    EXPECT_EQ(platform.inputQuery(QStringLiteral("Nom"), QStringLiteral("Champ"),
                                  QStringLiteral("Col"), 255),
              QStringLiteral("Prix"));
}

// The tests run with no locale set (C): the date takes the French short form.
TEST(QtPlatform, WithoutALocaleTheDateIsFrench) {
    ASSERT_EQ(QLocale::system().language(), QLocale::C);
    EXPECT_EQ(QtPlatform().shortDate(),
              QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")));
}

// The clipboard gets UTF-8 bytes and gives them back as text, accents and the euro sign whole,
// also when they are made only as they are asked for; bytes that cannot be made are no text.
TEST(QtPlatform, TheClipboardReadsBackTheUtf8Text) {
    const QString text = QStringLiteral("Été 20 €\r\n");
    QtPlatform().setClipboardText(text.toUtf8());
    EXPECT_EQ(QGuiApplication::clipboard()->text(), text);

    int made = 0;
    QtPlatform().setClipboardTextOnDemand([&] {
        ++made;
        return text.toUtf8();
    });
    EXPECT_EQ(made, 0);
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    EXPECT_EQ(data->formats(), (QStringList{QStringLiteral("text/plain"),
                                            QStringLiteral("text/plain;charset=utf-8")}));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), text);
    EXPECT_EQ(data->data(QStringLiteral("text/plain")), text.toUtf8());
    EXPECT_TRUE(data->data(QStringLiteral("text/html")).isEmpty());
    EXPECT_EQ(made, 2);

    QtPlatform().setClipboardTextOnDemand([]() -> QByteArray { throw std::bad_alloc(); });
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString());
}
