#pragma once
// The viewer's end of the archive reader (tablor-chm): starts it on one help file, asks it for
// objects and waits for each answer for a bounded time. A reader that crashes, overruns its
// limits, takes too long or answers nonsense is stopped at once; the file is then damaged.

#include "chmreader/ChmMessages.h"

#include <chrono>
#include <optional>
#include <string>

#include <sys/types.h>

namespace hhctrl {

class ChmReaderProcess {
public:
    ChmReaderProcess() = default;
    ~ChmReaderProcess();
    ChmReaderProcess(const ChmReaderProcess&) = delete;
    ChmReaderProcess& operator=(const ChmReaderProcess&) = delete;

    enum class Start { Opened, NotHelpFile, Failed, NoProgram };
    // Runs the reader program on a help file and waits for its greeting.
    Start start(const std::string& program, const std::string& file);
    // One request and its answer; nothing when the reader failed (it is then stopped).
    std::optional<chmreader::Reply> ask(const chmreader::Request& request);
    // Ends the reader, if one runs.
    void stop();
    bool running() const { return pid_ > 0; }

    // The longest wait for one answer: long enough for any sound file, short enough that a
    // stuck reader does not freeze the window for long.
    static constexpr std::chrono::milliseconds AnswerTime{3000};

private:
    std::optional<std::string> receive(std::chrono::steady_clock::time_point deadline);
    bool sendAll(const std::string& bytes, std::chrono::steady_clock::time_point deadline);

    pid_t pid_ = -1;
    int socket_ = -1;
    chmreader::FrameReader frames_{chmreader::MaxReplyFrame};
};

// The reader program beside the file that holds this viewer module.
std::string readerProgramPath();

} // namespace hhctrl
