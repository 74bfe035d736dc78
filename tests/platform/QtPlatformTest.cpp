// The desktop's own dialogs and formats as the program uses them.

#include "platform/QtPlatform.h"
#include "support/TypeText.h"

#include <QApplication>
#include <QClipboard>
#include <QDate>
#include <QLineEdit>
#include <QLocale>
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

// The clipboard gets UTF-8 bytes and gives them back as text, accents and the euro sign whole.
TEST(QtPlatform, TheClipboardReadsBackTheUtf8Text) {
    QtPlatform().setClipboardText(QStringLiteral("Été 20 €\r\n").toUtf8());
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("Été 20 €\r\n"));
}
