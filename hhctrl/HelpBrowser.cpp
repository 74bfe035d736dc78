#include "hhctrl/HelpBrowser.h"

#include "hhctrl/HelpText.h"

#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>

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

const QString DamagedText = QStringLiteral("Le fichier d'aide est endommagé ou illisible.");

} // namespace

HelpBrowser::HelpBrowser(ChmArchive& archive, QWidget* parent)
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

void HelpBrowser::showUnavailable(const QString& helpFile) {
    const QString name = QFileInfo(helpFile).fileName();
    QString text;
    switch (archive_.state()) {
    case ChmArchive::State::Damaged:
        text = DamagedText + QStringLiteral("\n\nEmplacement : %1").arg(helpFile);
        break;
    case ChmArchive::State::NoReader:
        text = QStringLiteral("Le programme qui lit les fichiers d'aide est introuvable."
                              "\n\nEmplacement attendu : %1")
                   .arg(QFile::decodeName(readerProgramPath().c_str()));
        break;
    default:
        text = QFileInfo(helpFile).isFile()
                   ? QStringLiteral("Le fichier d'aide « %1 » ne peut pas être lu : il est "
                                    "illisible ou ce n'est pas un fichier d'aide compilé (.chm)."
                                    "\n\nEmplacement : %2")
                         .arg(name, helpFile)
                   : QStringLiteral(
                         "Le fichier d'aide « %1 » est introuvable.\n\nEmplacement attendu : %2")
                         .arg(name, helpFile);
        break;
    }
    showMessage(QStringLiteral("Aide indisponible"), text);
}

void HelpBrowser::doSetSource(const QUrl& name, QTextDocument::ResourceType type) {
    QTextBrowser::doSetSource(name, type);
    // A picture or style sheet of the page may be what broke the reader.
    if (archive_.state() == ChmArchive::State::Damaged)
        showMessage(QStringLiteral("Aide indisponible"), DamagedText);
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
        if (archive_.state() == ChmArchive::State::Damaged)
            return messagePage(QStringLiteral("Aide indisponible"), DamagedText);
        if (!data)
            return messagePage(QStringLiteral("Page introuvable"),
                               QStringLiteral("La page « %1 » n'existe pas dans ce fichier d'aide.")
                                   .arg(path.mid(1)));
        if (data->size() > MaxHelpTextSize)
            return messagePage(QStringLiteral("Page trop grande"),
                               QStringLiteral("La page « %1 » est trop grande pour être affichée.")
                                   .arg(path.mid(1)));
        return decodeHelpText(*data);
    }
    if (!data) return {};
    if (type == QTextDocument::StyleSheetResource)
        return data->size() > MaxHelpTextSize ? QVariant() : QVariant(decodeHelpText(*data));
    return *data;
}

} // namespace hhctrl
