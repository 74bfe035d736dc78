#pragma once
// Read-only access to a compiled help file (.chm) through chmlib: its pages, pictures and
// style sheets by path, and what its #SYSTEM block says (title, default topic, contents and
// index files).

#include <QByteArray>
#include <QString>

#include <optional>

struct chmFile;

namespace hhctrl {

class ChmArchive {
public:
    ChmArchive() = default;
    ~ChmArchive();
    ChmArchive(const ChmArchive&) = delete;
    ChmArchive& operator=(const ChmArchive&) = delete;

    // Opens the file; false when it is missing or not a readable compiled help file.
    bool open(const QString& path);
    void close();
    bool isOpen() const { return file_ != nullptr; }

    // The object at an absolute path inside the archive ("/index.html"), or nothing.
    std::optional<QByteArray> read(const QString& path) const;

    // Paths inside the archive, each beginning with "/"; empty when the file does not say.
    QString title() const { return title_; }
    QString defaultTopic() const { return defaultTopic_; }
    QString contentsFile() const { return contentsFile_; }
    QString indexFile() const { return indexFile_; }

private:
    void readSystemBlock();
    QString firstObjectWithSuffix(const char* suffix) const;

    chmFile* file_ = nullptr;
    QString title_;
    QString defaultTopic_;
    QString contentsFile_;
    QString indexFile_;
};

// "page.html", "/page.html" or "Tablor.chm::/page.html" as an absolute archive path.
QString archivePath(const QString& local);

} // namespace hhctrl
