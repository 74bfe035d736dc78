#pragma once
// The page pane of the viewer: a text browser whose pages, style sheets and pictures come
// from the open help file. Pages live at "chm:/path" addresses so that relative links resolve
// inside the file; links to the web go to the desktop's browser.

#include "hhctrl/ChmArchive.h"

#include <QTextBrowser>

namespace hhctrl {

class HelpBrowser : public QTextBrowser {
public:
    HelpBrowser(ChmArchive& archive, QWidget* parent);

    // The address of a page given as the help file names it ("tri.html#ordre").
    static QUrl pageUrl(const QString& local);
    // Shows a page of the program's own text (a message), outside the help file.
    void showMessage(const QString& title, const QString& text);
    // Says why the help file at that place can't be shown, from the archive's state.
    void showUnavailable(const QString& helpFile);

    QVariant loadResource(int type, const QUrl& name) override;

protected:
    void doSetSource(const QUrl& name, QTextDocument::ResourceType type) override;

private:
    void followLink(const QUrl& url);

    ChmArchive& archive_;
    QUrl page_; // the page being loaded or shown: relative pictures resolve against it
};

} // namespace hhctrl
