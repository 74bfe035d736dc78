#pragma once
// Read-only access to a compiled help file (.chm): its pages, pictures and style sheets by
// path, and what its #SYSTEM block says (title, default topic, contents and index files). The
// file is read by the archive reader program (tablor-chm), never in this process, so that a
// damaged file can't crash or freeze the program: it only makes the archive Damaged.

#include "hhctrl/ChmReaderProcess.h"
#include "hhctrl/SystemBlock.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace hhctrl {

class ChmArchive {
public:
    enum class State {
        Closed,
        Open,
        NotHelpFile, // missing, or not a compiled help file
        Damaged,     // the reader crashed, overran its limits, took too long or made no sense
        NoReader,    // the reader program is not beside the viewer
    };

    // Opens the file; the state says how it went.
    State open(const QString& path);
    void close();
    bool isOpen() const { return state_ == State::Open; }
    State state() const { return state_; }

    // The object at an absolute path inside the archive ("/index.html"), or nothing. A reader
    // that fails here leaves the archive Damaged: nothing more is asked of it.
    std::optional<QByteArray> read(const QString& path);

    // Paths inside the archive, each beginning with "/"; empty when the file does not say.
    QString title() const { return facts_.title; }
    QString defaultTopic() const { return facts_.defaultTopic; }
    QString contentsFile() const { return facts_.contentsFile; }
    QString indexFile() const { return facts_.indexFile; }

private:
    QString firstObjectWithSuffix(const char* suffix);
    void fail();

    ChmReaderProcess reader_;
    State state_ = State::Closed;
    HelpFileFacts facts_;
};

} // namespace hhctrl
