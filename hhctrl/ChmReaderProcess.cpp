#include "hhctrl/ChmReaderProcess.h"

#include <array>
#include <cerrno>
#include <csignal>

#include <dlfcn.h>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace hhctrl {

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* ProgramName = "tablor-chm";

// Milliseconds left before the deadline, for poll().
int millisecondsLeft(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count() <= 0 ? 0 : int(left.count());
}

// Waits until the socket is ready for the given events; false at the deadline or on error.
bool waitFor(int fd, short events, Clock::time_point deadline) {
    for (;;) {
        pollfd p{fd, events, 0};
        const int ready = poll(&p, 1, millisecondsLeft(deadline));
        if (ready < 0 && errno == EINTR) continue;
        return ready > 0;
    }
}

// The reader gets its end of the socket as standard input and output, a quiet standard error,
// default signal handling and no blocked signals, whatever the program has set for itself.
pid_t spawnReader(const std::string& program, const std::string& file, int readerEnd, int& error) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, readerEnd, STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, readerEnd, STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    // Nothing else the program has open goes with it: its tables are none of the reader's business.
    posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    std::array<char*, 3> argv{const_cast<char*>(ProgramName), const_cast<char*>(file.c_str()),
                              nullptr};
    pid_t pid = -1;
    error = posix_spawn(&pid, program.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    return error == 0 ? pid : -1;
}

} // namespace

ChmReaderProcess::~ChmReaderProcess() {
    stop();
}

ChmReaderProcess::Start ChmReaderProcess::start(const std::string& program,
                                                const std::string& file) {
    stop();
    int ends[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) return Start::Failed;
    int error = 0;
    pid_ = spawnReader(program, file, ends[1], error);
    close(ends[1]);
    if (pid_ <= 0) {
        close(ends[0]);
        pid_ = -1;
        return error == ENOENT || error == EACCES ? Start::NoProgram : Start::Failed;
    }
    socket_ = ends[0];
    fcntl(socket_, F_SETFL, fcntl(socket_, F_GETFL) | O_NONBLOCK);
    frames_ = chmreader::FrameReader(chmreader::MaxReplyFrame);

    const std::optional<std::string> frame = receive(Clock::now() + AnswerTime);
    const std::optional<chmreader::Reply> greeting =
        frame ? chmreader::decodeGreeting(*frame) : std::nullopt;
    if (!greeting) {
        stop();
        return Start::Failed;
    }
    if (greeting->kind == chmreader::ReplyKind::NotHelpFile) {
        stop();
        return Start::NotHelpFile;
    }
    return Start::Opened;
}

std::optional<chmreader::Reply> ChmReaderProcess::ask(const chmreader::Request& request) {
    if (!running()) return std::nullopt;
    const Clock::time_point deadline = Clock::now() + AnswerTime;
    std::optional<chmreader::Reply> reply;
    if (sendAll(chmreader::encodeRequest(request), deadline))
        if (const std::optional<std::string> frame = receive(deadline))
            reply = chmreader::decodeReply(*frame, request.kind);
    if (!reply) stop();
    return reply;
}

bool ChmReaderProcess::sendAll(const std::string& bytes, Clock::time_point deadline) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        // MSG_NOSIGNAL: a reader that has died must not take the program down with SIGPIPE.
        const ssize_t sent = send(socket_, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (sent > 0) {
            done += std::size_t(sent);
        } else if (sent < 0 && errno == EINTR) {
            continue;
        } else if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (!waitFor(socket_, POLLOUT, deadline)) return false;
        } else {
            return false;
        }
    }
    return true;
}

std::optional<std::string> ChmReaderProcess::receive(Clock::time_point deadline) {
    std::string frame;
    std::array<char, 65536> buffer;
    for (;;) {
        switch (frames_.next(frame)) {
        case chmreader::FrameReader::Status::Ready:
            return frame;
        case chmreader::FrameReader::Status::Malformed:
            return std::nullopt;
        case chmreader::FrameReader::Status::Incomplete:
            break;
        }
        const ssize_t got = recv(socket_, buffer.data(), buffer.size(), 0);
        if (got > 0) {
            frames_.append(buffer.data(), std::size_t(got));
        } else if (got < 0 && errno == EINTR) {
            continue;
        } else if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (!waitFor(socket_, POLLIN, deadline)) return std::nullopt;
        } else {
            return std::nullopt; // the reader ended: crashed, or killed by its limits
        }
    }
}

void ChmReaderProcess::stop() {
    if (socket_ >= 0) close(socket_);
    socket_ = -1;
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        while (waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
    pid_ = -1;
}

std::string readerProgramPath() {
    Dl_info info{};
    if (!dladdr(reinterpret_cast<const void*>(&readerProgramPath), &info) || !info.dli_fname)
        return {};
    std::string path = info.dli_fname;
    return path.substr(0, path.rfind('/') + 1) + ProgramName;
}

} // namespace hhctrl
