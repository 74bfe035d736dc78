#pragma once
// One viewer window on one help file: the contents tree and the index on the left, the page on
// the right, and Précédent, Suivant and Accueil on its toolbar. A file that can't be opened
// shows a message in the page pane instead of the contents.

#include "hhctrl/ChmArchive.h"
#include "hhctrl/Sitemap.h"

#include <QMainWindow>

class QAction;
class QLineEdit;
class QListWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace hhctrl {

class HelpBrowser;

class ViewerWindow : public QMainWindow {
public:
    explicit ViewerWindow(const QString& helpFile);

    QString helpFile() const { return helpFile_; }
    // Shows a page of the file ("tri.html"), or its default topic when empty. The file is
    // opened at the first call; one that could not be opened or was damaged is tried again.
    void showTopic(const QString& topic);

private:
    void buildUi();
    void loadFile();
    void readContentsAndIndex();
    std::vector<SitemapEntry> readSitemap(const QString& path);
    void fillContents(const std::vector<SitemapEntry>& entries, QTreeWidgetItem* parent);
    void fillIndex(const std::vector<SitemapEntry>& entries, int depth);
    void openLocal(const QString& local);
    void showHome();
    void followPage(const QUrl& url);
    void findInIndex(const QString& text);

    QString helpFile_;
    ChmArchive archive_;
    QString home_; // the page that Accueil opens
    HelpBrowser* browser_ = nullptr;
    QTreeWidget* contents_ = nullptr;
    QLineEdit* indexKeyword_ = nullptr;
    QListWidget* index_ = nullptr;
    QAction* back_ = nullptr;
    QAction* forward_ = nullptr;
    QAction* homeAction_ = nullptr;
    bool following_ = false; // the tree is being moved to the page shown, not the reverse
};

} // namespace hhctrl
