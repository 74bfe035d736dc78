#pragma once
// The #SYSTEM object of a compiled help file: what the file says about itself.

#include <QByteArray>
#include <QString>

namespace hhctrl {

struct HelpFileFacts {
    QString title;
    QString defaultTopic; // absolute archive paths, or empty when the file does not say
    QString contentsFile;
    QString indexFile;
};

HelpFileFacts parseSystemBlock(const QByteArray& block);

// "page.html", "/page.html" or "Tablor.chm::/page.html" as an absolute archive path.
QString archivePath(const QString& local);

} // namespace hhctrl
