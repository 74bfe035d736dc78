#include "hhctrl/ViewerWindow.h"

#include "hhctrl/HelpBrowser.h"
#include "hhctrl/HelpText.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace hhctrl {

namespace {

constexpr int LocalRole = Qt::UserRole;

// The page part of an address, to match a page with its entry whatever the anchor.
QString pageKey(const QUrl& url) {
    return url.path(QUrl::FullyDecoded).toLower();
}

} // namespace

ViewerWindow::ViewerWindow(const QString& helpFile) : helpFile_(helpFile) {
    setObjectName(QStringLiteral("HtmlHelpViewer"));
    // A help window never keeps the program running once its own windows are closed.
    setAttribute(Qt::WA_QuitOnClose, false);
    setAttribute(Qt::WA_DeleteOnClose, true);
    buildUi();
    resize(860, 620);
}

void ViewerWindow::buildUi() {
    auto* toolbar = addToolBar(QStringLiteral("Navigation"));
    toolbar->setObjectName(QStringLiteral("navigation"));
    toolbar->setMovable(false);
    toolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    back_ = toolbar->addAction(style()->standardIcon(QStyle::SP_ArrowBack),
                               QStringLiteral("Précédent"));
    back_->setShortcut(QKeySequence::Back);
    back_->setToolTip(QStringLiteral("Revenir à la page précédente"));
    forward_ = toolbar->addAction(style()->standardIcon(QStyle::SP_ArrowForward),
                                  QStringLiteral("Suivant"));
    forward_->setShortcut(QKeySequence::Forward);
    forward_->setToolTip(QStringLiteral("Aller à la page suivante"));
    homeAction_ = toolbar->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon),
                                     QStringLiteral("Accueil"));
    homeAction_->setToolTip(QStringLiteral("Revenir à la page d'accueil de l'aide"));
    // Escape closes the help, as it does a dialog.
    auto* closeAction = new QAction(QStringLiteral("Fermer"), this);
    closeAction->setShortcut(QKeySequence(Qt::Key_Escape));
    closeAction->setShortcutContext(Qt::WindowShortcut);
    connect(closeAction, &QAction::triggered, this, &QWidget::close);
    addAction(closeAction);

    auto* splitter = new QSplitter(this);
    auto* tabs = new QTabWidget(splitter);

    contents_ = new QTreeWidget(tabs);
    contents_->setObjectName(QStringLiteral("contents"));
    contents_->setHeaderHidden(true);
    contents_->setAccessibleName(QStringLiteral("Sommaire"));
    tabs->addTab(contents_, QStringLiteral("Sommaire"));

    auto* indexPage = new QWidget(tabs);
    auto* indexLayout = new QVBoxLayout(indexPage);
    auto* indexLabel = new QLabel(QStringLiteral("&Mot clé à rechercher :"), indexPage);
    indexKeyword_ = new QLineEdit(indexPage);
    indexKeyword_->setObjectName(QStringLiteral("indexKeyword"));
    indexLabel->setBuddy(indexKeyword_);
    index_ = new QListWidget(indexPage);
    index_->setObjectName(QStringLiteral("index"));
    index_->setAccessibleName(QStringLiteral("Index"));
    indexLayout->addWidget(indexLabel);
    indexLayout->addWidget(indexKeyword_);
    indexLayout->addWidget(index_);
    tabs->addTab(indexPage, QStringLiteral("Index"));

    browser_ = new HelpBrowser(archive_, splitter);
    browser_->setObjectName(QStringLiteral("page"));
    browser_->setAccessibleName(QStringLiteral("Page d'aide"));
    splitter->addWidget(tabs);
    splitter->addWidget(browser_);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({260, 600});
    setCentralWidget(splitter);

    back_->setEnabled(false);
    forward_->setEnabled(false);
    connect(back_, &QAction::triggered, browser_, &QTextBrowser::backward);
    connect(forward_, &QAction::triggered, browser_, &QTextBrowser::forward);
    connect(homeAction_, &QAction::triggered, this, [this] { showHome(); });
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::sourceChanged, this,
            [this](const QUrl& url) { followPage(url); });
    connect(contents_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (following_ || !item) return;
        openLocal(item->data(0, LocalRole).toString());
    });
    connect(contents_, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item) { openLocal(item->data(0, LocalRole).toString()); });
    connect(indexKeyword_, &QLineEdit::textEdited, this,
            [this](const QString& text) { findInIndex(text); });
    connect(indexKeyword_, &QLineEdit::returnPressed, this, [this] {
        if (QListWidgetItem* item = index_->currentItem())
            openLocal(item->data(LocalRole).toString());
    });
    connect(index_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { openLocal(item->data(LocalRole).toString()); });
}

void ViewerWindow::loadFile() {
    contents_->clear();
    index_->clear();
    home_.clear();
    if (archive_.open(helpFile_) == ChmArchive::State::Open) readContentsAndIndex();
    if (!archive_.isOpen()) {
        contents_->clear();
        index_->clear();
        setWindowTitle(QStringLiteral("Aide"));
        homeAction_->setEnabled(false);
        browser_->showUnavailable(helpFile_);
    }
}

void ViewerWindow::readContentsAndIndex() {
    homeAction_->setEnabled(true);
    setWindowTitle(archive_.title().isEmpty() ? QStringLiteral("Aide") : archive_.title());

    following_ = true;
    fillContents(readSitemap(archive_.contentsFile()), nullptr);
    contents_->expandAll(); // the whole help at a glance: it is short
    following_ = false;
    fillIndex(readSitemap(archive_.indexFile()), 0);

    home_ = archive_.defaultTopic();
    for (QTreeWidgetItemIterator it(contents_); home_.isEmpty() && *it; ++it)
        home_ = (*it)->data(0, LocalRole).toString();
}

std::vector<SitemapEntry> ViewerWindow::readSitemap(const QString& path) {
    const std::optional<QByteArray> bytes = archive_.read(path);
    if (!bytes || bytes->size() > MaxHelpTextSize) return {};
    return parseSitemap(decodeHelpText(*bytes));
}

void ViewerWindow::fillContents(const std::vector<SitemapEntry>& entries, QTreeWidgetItem* parent) {
    for (const SitemapEntry& entry : entries) {
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(contents_);
        item->setText(0, entry.name);
        item->setData(0, LocalRole, entry.local);
        fillContents(entry.children, item);
    }
}

void ViewerWindow::fillIndex(const std::vector<SitemapEntry>& entries, int depth) {
    for (const SitemapEntry& entry : entries) {
        auto* item = new QListWidgetItem(QString(depth * 4, QLatin1Char(' ')) + entry.name, index_);
        item->setData(LocalRole, entry.local);
        fillIndex(entry.children, depth + 1);
    }
}

void ViewerWindow::showTopic(const QString& topic) {
    if (!archive_.isOpen()) loadFile();
    if (!archive_.isOpen()) return;
    if (topic.isEmpty())
        showHome();
    else
        openLocal(topic);
}

void ViewerWindow::showHome() {
    if (home_.isEmpty())
        browser_->showMessage(QStringLiteral("Aide"),
                              QStringLiteral("Ce fichier d'aide n'a pas de page d'accueil."));
    else
        openLocal(home_);
}

void ViewerWindow::openLocal(const QString& local) {
    if (local.isEmpty() || !archive_.isOpen()) return;
    browser_->setSource(HelpBrowser::pageUrl(local));
}

void ViewerWindow::followPage(const QUrl& url) {
    // Selects the contents entry of the page now shown, unless the current one is already it.
    const QString key = pageKey(url);
    if (QTreeWidgetItem* current = contents_->currentItem();
        current && pageKey(HelpBrowser::pageUrl(current->data(0, LocalRole).toString())) == key)
        return;
    for (QTreeWidgetItemIterator it(contents_); *it; ++it) {
        if (pageKey(HelpBrowser::pageUrl((*it)->data(0, LocalRole).toString())) == key) {
            following_ = true;
            contents_->setCurrentItem(*it);
            contents_->scrollToItem(*it);
            following_ = false;
            return;
        }
    }
}

void ViewerWindow::findInIndex(const QString& text) {
    const QString wanted = text.trimmed();
    if (wanted.isEmpty()) return;
    for (int row = 0; row < index_->count(); ++row) {
        QListWidgetItem* item = index_->item(row);
        if (item->text().trimmed().startsWith(wanted, Qt::CaseInsensitive)) {
            index_->setCurrentItem(item);
            index_->scrollToItem(item, QAbstractItemView::PositionAtTop);
            return;
        }
    }
}

} // namespace hhctrl
