#include "hhctrl/HelpBrowser.h"

#include "hhctrl/ChmArchive.h"
#include "hhctrl/HelpText.h"

#include <QDesktopServices>

namespace hhctrl {

namespace {

const QString Scheme = QStringLiteral("chm");

// A page of the viewer's own: a heading and paragraphs (separated by empty lines in text).
QString messagePage(const QString& title, const QString& text) {
    QString html = QStringLiteral("<html><body><h2>%1</h2>").arg(title.toHtmlEscaped());
    for (const QString& paragraph : text.split(QStringLiteral("\n\n")))
        html += QStringLiteral("<p>%1</p>").arg(paragraph.toHtmlEscaped());
    return html + QStringLiteral("</body></html>");
}

} // namespace

HelpBrowser::HelpBrowser(const ChmArchive& archive, QWidget* parent)
    : QTextBrowser(parent), archive_(archive) {
    setOpenLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) { followLink(url); });
}

QUrl HelpBrowser::pageUrl(const QString& local) {
    QUrl url;
    url.setScheme(Scheme);
    const qsizetype hash = local.indexOf(QLatin1Char('#'));
    url.setPath(archivePath(hash < 0 ? local : local.left(hash)));
    if (hash >= 0) url.setFragment(local.mid(hash + 1));
    return url;
}

void HelpBrowser::showMessage(const QString& title, const QString& text) {
    setHtml(messagePage(title, text));
}

void HelpBrowser::followLink(const QUrl& url) {
    if (url.scheme() == Scheme) {
        setSource(url);
    } else if (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https") ||
               url.scheme() == QLatin1String("mailto")) {
        QDesktopServices::openUrl(url);
    }
}

QVariant HelpBrowser::loadResource(int type, const QUrl& name) {
    const QUrl url = name.isRelative() ? page_.resolved(name) : name;
    // Nothing outside the help file is read: a page can't reach the computer's files.
    if (url.scheme() != Scheme) return {};
    const QString path = url.path(QUrl::FullyDecoded);
    const std::optional<QByteArray> data = archive_.read(path);
    if (type == QTextDocument::HtmlResource) {
        page_ = url;
        if (!data)
            return messagePage(QStringLiteral("Page introuvable"),
                               QStringLiteral("La page « %1 » n'existe pas dans ce fichier d'aide.")
                                   .arg(path.mid(1)));
        return decodeHelpText(*data);
    }
    if (!data) return {};
    if (type == QTextDocument::StyleSheetResource) return decodeHelpText(*data);
    return *data;
}

} // namespace hhctrl
