// The viewer module loaded the way the program loads it, on the help file built beside the
// tests: its window, contents, index, links and history, the close-all request, and the
// messages for a help file that is missing or unreadable.
#include "help/hh.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextTable>
#include <QTimer>
#include <QTreeWidget>
#include <QtEndian>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using namespace tablor;

namespace {

QString binDir() {
    return QCoreApplication::applicationDirPath();
}
QString helpFile() {
    return binDir() + QStringLiteral("/Tablor.chm");
}

QList<QWidget*> viewerWindows() {
    QList<QWidget*> found;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("HtmlHelpViewer")) found << w;
    return found;
}

QWidget* display(const QString& file) {
    return static_cast<QWidget*>(
        BoundHtmlHelpA()(nullptr, QFile::encodeName(file).constData(), HH_DISPLAY_TOPIC, 0));
}

QTextBrowser* page(QWidget* w) {
    return w->findChild<QTextBrowser*>(QStringLiteral("page"));
}
QTreeWidget* contents(QWidget* w) {
    return w->findChild<QTreeWidget*>(QStringLiteral("contents"));
}
QString pageText(QWidget* w) {
    return page(w)->document()->toPlainText();
}
QString pageName(QWidget* w) {
    return page(w)->source().path().mid(1);
}

QAction* action(QWidget* w, const QString& text) {
    for (QAction* a : w->findChildren<QAction*>())
        if (a->text() == text) return a;
    return nullptr;
}

QTreeWidgetItem* entry(QTreeWidget* tree, const QString& text) {
    const auto items = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    return items.isEmpty() ? nullptr : items.first();
}

QStringList links(QTextDocument* document) {
    QStringList hrefs;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isAnchor())
                hrefs << it.fragment().charFormat().anchorHref();
    hrefs.removeAll(QString());
    return hrefs;
}

class HelpViewer : public ::testing::Test {
protected:
    void SetUp() override {
        LoadHelpControl();
        ASSERT_NE(HtmlHelp(), nullptr) << "no viewer module beside " << binDir().toStdString();
        ASSERT_TRUE(QFile::exists(helpFile()));
    }
    void TearDown() override { CloseAllHelp(); }
};

} // namespace

TEST(HelpBinding, LooksBesideTheProgramThenInTheInstalledLibraryFolder) {
    EXPECT_EQ(HelpControlCandidates(QStringLiteral("/opt/tablor/bin/tablor")),
              QStringList({QStringLiteral("/opt/tablor/bin/libhhctrl.so"),
                           QStringLiteral("/opt/tablor/lib/tablor/libhhctrl.so")}));
    EXPECT_EQ(HelpFilePath(QStringLiteral("/opt/outils/tables")),
              QStringLiteral("/opt/outils/Tablor.chm"));
    // Installed: the help file in share/tablor, unless a copy sits beside the program.
    QTemporaryDir prefix;
    QDir(prefix.path()).mkpath(QStringLiteral("bin"));
    QDir(prefix.path()).mkpath(QStringLiteral("share/tablor"));
    EXPECT_TRUE(QFile(prefix.filePath(QStringLiteral("share/tablor/Tablor.chm")))
                    .open(QIODevice::WriteOnly));
    const QString program = prefix.filePath(QStringLiteral("bin/tablor"));
    EXPECT_EQ(HelpFilePath(program), prefix.filePath(QStringLiteral("share/tablor/Tablor.chm")));
    EXPECT_TRUE(
        QFile(prefix.filePath(QStringLiteral("bin/Tablor.chm"))).open(QIODevice::WriteOnly));
    EXPECT_EQ(HelpFilePath(program), prefix.filePath(QStringLiteral("bin/Tablor.chm")));
    EXPECT_EQ(GetHelpControlPath(), binDir() + QStringLiteral("/libhhctrl.so"));
}

TEST_F(HelpViewer, BindsBothEntryPointsAndDefaultsToTheEightBitOne) {
    EXPECT_NE(BoundHtmlHelpA(), nullptr);
    EXPECT_NE(BoundHtmlHelpW(), nullptr);
    EXPECT_EQ(HtmlHelp(), BoundHtmlHelpA());
    const HtmlHelpAFunc before = HtmlHelp();
    LoadHelpControl(); // already loaded: nothing changes
    EXPECT_EQ(HtmlHelp(), before);
}

TEST_F(HelpViewer, HelpCommandOpensOneWindowOnTheDefaultTopic) {
    ASSERT_TRUE(ShowHelpFile(binDir() + QStringLiteral("/tablor")));
    ASSERT_EQ(viewerWindows().size(), 1);
    QWidget* w = viewerWindows().first();
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Aide de Tablor"));
    EXPECT_EQ(pageName(w), QStringLiteral("index.html"));
    EXPECT_TRUE(pageText(w).contains(QStringLiteral("Bienvenue dans Tablor")));

    QTreeWidget* tree = contents(w);
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(tree->topLevelItem(0)->text(0), QStringLiteral("Bienvenue dans Tablor"));
    QTreeWidgetItem* tableMenu = entry(tree, QStringLiteral("Menu Table"));
    ASSERT_NE(tableMenu, nullptr);
    EXPECT_EQ(tableMenu->parent(), nullptr);
    ASSERT_NE(entry(tree, QStringLiteral("Trier les enregistrements")), nullptr);
    EXPECT_EQ(entry(tree, QStringLiteral("Trier les enregistrements"))->parent(), tableMenu);
    EXPECT_NE(entry(tree, QStringLiteral("Les fenêtres de Tablor")), nullptr); // accents decoded

    page(w)->setSource(QUrl(QStringLiteral("chm:/trier.html")));
    ASSERT_TRUE(ShowHelpFile(binDir() + QStringLiteral("/tablor")));
    EXPECT_EQ(viewerWindows().size(), 1);
    EXPECT_EQ(pageName(w), QStringLiteral("index.html"))
        << "asked again, it shows the default topic";
}

TEST_F(HelpViewer, AHelpWindowNeverKeepsTheProgramOpen) {
    QWidget mainWindow;
    mainWindow.show();
    ASSERT_NE(display(helpFile()), nullptr);
    bool lastClosed = false;
    const auto connection =
        QObject::connect(qApp, &QGuiApplication::lastWindowClosed, [&] { lastClosed = true; });
    // The event loop ends when the main window closes, help window or not.
    QTimer::singleShot(0, &mainWindow, [&] { mainWindow.close(); });
    QTimer giveUp;
    giveUp.setSingleShot(true);
    QObject::connect(&giveUp, &QTimer::timeout, qApp, &QCoreApplication::quit);
    giveUp.start(5000);
    QApplication::exec();
    QObject::disconnect(connection);
    EXPECT_TRUE(lastClosed);
    EXPECT_TRUE(giveUp.isActive()) << "the event loop went on after the main window closed";
}

TEST_F(HelpViewer, CloseAllClosesEveryViewerWindowAtOnce) {
    QPointer<QWidget> first = display(helpFile());
    QTemporaryDir dir;
    QPointer<QWidget> second = display(dir.filePath(QStringLiteral("Autre.chm")));
    EXPECT_EQ(viewerWindows().size(), 2);
    CloseAllHelp();
    EXPECT_TRUE(first.isNull());
    EXPECT_TRUE(second.isNull());
    EXPECT_TRUE(viewerWindows().isEmpty());
}

TEST_F(HelpViewer, EveryContentsEntryAndEveryLinkOpensARealPage) {
    QWidget* w = display(helpFile());
    QTextBrowser* browser = page(w);
    QSet<QString> visited;
    QStringList toVisit;
    for (QTreeWidgetItemIterator it(contents(w)); *it; ++it)
        if (const QString local = (*it)->data(0, Qt::UserRole).toString(); !local.isEmpty())
            toVisit << QStringLiteral("chm:/") + local;
    while (!toVisit.isEmpty()) {
        const QUrl url(toVisit.takeFirst());
        const QString name = url.path();
        if (visited.contains(name)) continue;
        visited.insert(name);
        browser->setSource(url);
        const QString text = pageText(w);
        EXPECT_FALSE(text.contains(QStringLiteral("Page introuvable"))) << name.toStdString();
        EXPECT_FALSE(text.contains(QStringLiteral("Ã")))
            << "badly decoded accents in " << name.toStdString();
        for (const QString& href : links(browser->document()))
            toVisit << url.resolved(QUrl(href)).toString();
    }
    EXPECT_GE(visited.size(), 28);
}

TEST_F(HelpViewer, LinksBackForwardHomeAndTheContentsFollowThePage) {
    QWidget* w = display(helpFile());
    QTextBrowser* browser = page(w);
    QAction* back = action(w, QStringLiteral("Précédent"));
    QAction* forward = action(w, QStringLiteral("Suivant"));
    QAction* home = action(w, QStringLiteral("Accueil"));
    ASSERT_TRUE(back && forward && home);
    EXPECT_FALSE(back->isEnabled());

    ASSERT_TRUE(links(browser->document()).contains(QStringLiteral("renommer_champ.html")));
    emit browser->anchorClicked(
        browser->source().resolved(QUrl(QStringLiteral("renommer_champ.html"))));
    EXPECT_EQ(pageName(w), QStringLiteral("renommer_champ.html"));
    EXPECT_EQ(contents(w)->currentItem()->text(0), QStringLiteral("Renommer un champ"));
    EXPECT_TRUE(back->isEnabled());

    back->trigger();
    EXPECT_EQ(pageName(w), QStringLiteral("index.html"));
    EXPECT_TRUE(forward->isEnabled());
    forward->trigger();
    EXPECT_EQ(pageName(w), QStringLiteral("renommer_champ.html"));
    home->trigger();
    EXPECT_EQ(pageName(w), QStringLiteral("index.html"));

    contents(w)->setCurrentItem(entry(contents(w), QStringLiteral("Imprimer")));
    EXPECT_EQ(pageName(w), QStringLiteral("imprimer.html"));
}

TEST_F(HelpViewer, NewcomerFindsRenameSortSearchAndPrintFromTheIndex) {
    QWidget* w = display(helpFile());
    auto* keyword = w->findChild<QLineEdit*>(QStringLiteral("indexKeyword"));
    auto* index = w->findChild<QListWidget*>(QStringLiteral("index"));
    ASSERT_TRUE(keyword && index);
    const struct {
        const char* typed;
        const char* entry;
        const char* page;
        const char* says;
    } searches[] = {
        {"renommer", "Renommer un champ", "renommer_champ.html", "clic droit sur le titre"},
        {"tri", "Trier", "trier.html", "Tri selon"},
        {"recherch", "Rechercher", "rechercher.html", "Mot clé"},
        {"imprimer", "Imprimer", "imprimer.html", "Sélection"},
    };
    for (const auto& s : searches) {
        keyword->clear();
        QTest::keyClicks(keyword, QString::fromUtf8(s.typed));
        ASSERT_NE(index->currentItem(), nullptr) << s.typed;
        EXPECT_EQ(index->currentItem()->text().trimmed(), QString::fromUtf8(s.entry));
        QTest::keyClick(keyword, Qt::Key_Return);
        EXPECT_EQ(pageName(w), QString::fromUtf8(s.page));
        EXPECT_TRUE(pageText(w).contains(QString::fromUtf8(s.says))) << s.page;
    }
}

TEST_F(HelpViewer, MissingHelpFileShowsTheViewersMessageThenLoadsOnceItIsThere) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("Tablor.chm"));
    QWidget* w = display(file);
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(pageText(w).contains(QStringLiteral("est introuvable")));
    EXPECT_TRUE(pageText(w).contains(file));
    EXPECT_EQ(contents(w)->topLevelItemCount(), 0);
    EXPECT_FALSE(action(w, QStringLiteral("Accueil"))->isEnabled());

    ASSERT_TRUE(QFile::copy(helpFile(), file));
    EXPECT_EQ(display(file), w);
    EXPECT_EQ(pageName(w), QStringLiteral("index.html"));
    EXPECT_GT(contents(w)->topLevelItemCount(), 0);
}

TEST_F(HelpViewer, UnreadableHelpFileShowsTheViewersMessage) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("Tablor.chm"));
    QFile garbage(file);
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write(QByteArray(5000, 'x'));
    garbage.close();
    QWidget* w = display(file);
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(pageText(w).contains(QStringLiteral("ne peut pas être lu")));
    EXPECT_EQ(contents(w)->topLevelItemCount(), 0);
}

// The help file with its bytes changed as a damaged copy would have them.
QByteArray damagedHelp(const std::function<void(QByteArray&)>& damage) {
    QFile file(helpFile());
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray bytes = file.readAll();
    damage(bytes);
    return bytes;
}

quint32 word(const QByteArray& bytes, qsizetype at) {
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

TEST_F(HelpViewer, ADamagedHelpFileShowsTheMessageAndTheProgramGoesOn) {
    const struct {
        const char* name;
        std::function<void(QByteArray&)> damage;
    } files[] = {
        {"cut in the middle", [](QByteArray& b) { b.truncate(b.size() / 2); }},
        {"a bit flipped in the compression window size (chmlib divides by zero)",
         [](QByteArray& b) {
             const qsizetype control = b.indexOf("LZXC");
             ASSERT_GT(control, 0);
             b[control + 12] = char(b[control + 12] ^ 2);
             ASSERT_EQ(word(b, control + 12), 0u);
         }},
        {"a directory chunk that links to itself, no #SYSTEM and no contents file (chmlib "
         "lists for ever)",
         [](QByteArray& b) {
             const qsizetype directory = b.indexOf("ITSP");
             const qsizetype chunks = directory + qsizetype(word(b, directory + 8));
             const qsizetype chunkSize = qsizetype(word(b, directory + 16));
             const qsizetype listing = b.indexOf("PMGL", chunks);
             ASSERT_GT(listing, 0);
             qToLittleEndian<qint32>(qint32((listing - chunks) / chunkSize),
                                     b.data() + listing + 16);
             b[b.indexOf("/#SYSTEM", listing) + 7] = 'N';
             b[b.indexOf(".hhc", listing) + 3] = 'x';
         }},
    };
    QTemporaryDir dir;
    for (const auto& f : files) {
        SCOPED_TRACE(f.name);
        const QString path = dir.filePath(QString::fromUtf8(f.name).left(12) + ".chm");
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(damagedHelp(f.damage));
        out.close();
        QElapsedTimer clock;
        clock.start();
        QWidget* w = display(path);
        ASSERT_NE(w, nullptr);
        EXPECT_TRUE(
            pageText(w).contains(QStringLiteral("Le fichier d'aide est endommagé ou illisible.")))
            << pageText(w).toStdString();
        EXPECT_EQ(contents(w)->topLevelItemCount(), 0);
        // One answer's wait (3 s) at most, with room for a busy machine.
        EXPECT_LT(clock.elapsed(), 8000) << "the window waited too long";
    }
    // The sound file still opens in the same process.
    QWidget* w = display(helpFile());
    EXPECT_TRUE(pageText(w).contains(QStringLiteral("Bienvenue dans Tablor")));
    EXPECT_GT(contents(w)->topLevelItemCount(), 0);
}

double luminance(const QColor& c) {
    auto channel = [](double v) {
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

double contrast(const QColor& a, const QColor& b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TEST_F(HelpViewer, EveryPageIsReadableUnderADarkPalette) {
    const QPalette before = QApplication::palette();
    QPalette dark = before;
    dark.setColor(QPalette::Window, QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::WindowText, Qt::white);
    dark.setColor(QPalette::Base, QColor(0x2a, 0x2a, 0x2a));
    dark.setColor(QPalette::AlternateBase, QColor(0x42, 0x42, 0x42));
    dark.setColor(QPalette::Text, QColor(0xe8, 0xe8, 0xe8));
    dark.setColor(QPalette::Link, QColor(0x8a, 0xb4, 0xf8));
    QApplication::setPalette(dark);
    QWidget* w = display(helpFile());
    QTextBrowser* browser = page(w);
    int fragments = 0;
    for (QTreeWidgetItemIterator it(contents(w)); *it; ++it) {
        const QString local = (*it)->data(0, Qt::UserRole).toString();
        if (local.isEmpty()) continue;
        browser->setSource(QUrl(QStringLiteral("chm:/") + local));
        QTextDocument* document = browser->document();
        const QBrush frame = document->rootFrame()->frameFormat().background();
        const QColor pageBackground =
            frame.style() != Qt::NoBrush ? frame.color() : browser->palette().color(QPalette::Base);
        for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
            QColor background = pageBackground;
            if (auto* table = qobject_cast<QTextTable*>(QTextCursor(block).currentFrame()))
                if (const QBrush cell = table->cellAt(block.position()).format().background();
                    cell.style() != Qt::NoBrush)
                    background = cell.color();
            if (const QBrush b = block.blockFormat().background(); b.style() != Qt::NoBrush)
                background = b.color();
            for (auto f = block.begin(); !f.atEnd(); ++f) {
                const QTextCharFormat format = f.fragment().charFormat();
                if (f.fragment().text().trimmed().isEmpty()) continue;
                const QColor text = format.foreground().style() != Qt::NoBrush
                                        ? format.foreground().color()
                                        : browser->palette().color(QPalette::Text);
                const QColor behind = format.background().style() != Qt::NoBrush
                                          ? format.background().color()
                                          : background;
                ++fragments;
                EXPECT_GE(contrast(text, behind), 4.5)
                    << local.toStdString() << ": " << f.fragment().text().toStdString() << " in "
                    << text.name().toStdString() << " on " << behind.name().toStdString();
            }
        }
    }
    QApplication::setPalette(before);
    EXPECT_GT(fragments, 200);
}

TEST_F(HelpViewer, APageTooLargeToLayOutQuicklyIsNotShown) {
    // data/grande_page.chm: chmcmd's build of one page of 27,000 short paragraphs (1.1 MB), its
    // default topic.
    QWidget* w = display(QStringLiteral(TABLOR_TEST_DATA "/grande_page.chm"));
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(pageText(w).contains(
        QStringLiteral("La page « grande.html » est trop grande pour être affichée.")))
        << pageText(w).left(200).toStdString();
}

TEST_F(HelpViewer, WideEntryPointAndAPageNamedAfterTheFile) {
    const std::wstring request = (helpFile() + QStringLiteral("::/trier.html")).toStdWString();
    auto* w =
        static_cast<QWidget*>(BoundHtmlHelpW()(nullptr, request.c_str(), HH_DISPLAY_TOPIC, 0));
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(pageName(w), QStringLiteral("trier.html"));
    EXPECT_EQ(display(helpFile()), w) << "the same file reuses its window";
}

TEST_F(HelpViewer, OtherCommandsAndAMissingFileNameOpenNothing) {
    EXPECT_EQ(BoundHtmlHelpA()(nullptr, nullptr, HH_DISPLAY_TOPIC, 0), nullptr);
    EXPECT_EQ(BoundHtmlHelpA()(nullptr, QFile::encodeName(helpFile()).constData(), 0x1234, 0),
              nullptr);
    EXPECT_TRUE(viewerWindows().isEmpty());
}

TEST_F(HelpViewer, AWindowTheUserClosedIsForgottenAndOpensAgain) {
    QPointer<QWidget> w = display(helpFile());
    QApplication::setActiveWindow(w);
    QTest::keyClick(contents(w), Qt::Key_Escape); // Escape closes it, as the close box would
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(w.isNull());
    QWidget* again = display(helpFile());
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(again->isVisible());
    EXPECT_EQ(viewerWindows().size(), 1);
}

TEST_F(HelpViewer, UnloadEmptiesEveryEntryPointAndTheCommandHasNothingToCall) {
    CloseAllHelp();
    UnloadHelpControl();
    EXPECT_EQ(HtmlHelp(), nullptr);
    EXPECT_EQ(BoundHtmlHelpA(), nullptr);
    EXPECT_EQ(BoundHtmlHelpW(), nullptr);
    EXPECT_FALSE(ShowHelpFile(binDir() + QStringLiteral("/tablor")));
    CloseAllHelp(); // nothing to call, nothing happens
    UnloadHelpControl();
    EXPECT_TRUE(viewerWindows().isEmpty());

    LoadHelpControl();
    EXPECT_NE(HtmlHelp(), nullptr);
    EXPECT_TRUE(ShowHelpFile(binDir() + QStringLiteral("/tablor")));
}
