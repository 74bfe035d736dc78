#include "chmreader/ChmServer.h"

#include "chmreader/ChmMessages.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <chm_lib.h>
#include <sys/resource.h>
#include <unistd.h>

namespace chmreader {

namespace {

// Address space for the largest object, a copy of it on its way out, and chmlib's caches.
constexpr rlim_t AddressSpace = rlim_t{512} << 20;
// Processor time for one request; a request that loops ends the reader.
constexpr rlim_t SecondsPerRequest = 5;

bool sanitized() {
#if defined(__SANITIZE_ADDRESS__)
    return true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    return true;
#else
    return false;
#endif
#else
    return false;
#endif
}

void setLimit(int resource, rlim_t soft, rlim_t hard) {
    const rlimit limit{soft, hard};
    setrlimit(resource, &limit);
}

// The processor time used so far plus one request's worth; raised again at each request.
void allowOneMoreRequest() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const rlim_t used = rlim_t(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) + 1;
    rlimit limit{};
    getrlimit(RLIMIT_CPU, &limit);
    limit.rlim_cur = std::min<rlim_t>(used + SecondsPerRequest, limit.rlim_max);
    setrlimit(RLIMIT_CPU, &limit);
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t done = write(fd, bytes.data(), bytes.size());
        if (done < 0 && errno == EINTR) continue;
        if (done <= 0) return false;
        bytes.remove_prefix(std::size_t(done));
    }
    return true;
}

Reply readObject(chmFile* file, const std::string& path) {
    chmUnitInfo info{};
    if (chm_resolve_object(file, path.c_str(), &info) != CHM_RESOLVE_SUCCESS)
        return {ReplyKind::Missing, {}};
    if (info.length > MaxObjectSize) return {ReplyKind::Damaged, {}};
    std::string data(std::size_t(info.length), '\0');
    LONGUINT64 done = 0;
    while (done < info.length) {
        const LONGINT64 got =
            chm_retrieve_object(file, &info, reinterpret_cast<unsigned char*>(data.data()) + done,
                                done, LONGINT64(info.length - done));
        if (got <= 0) return {ReplyKind::Damaged, {}};
        done += LONGUINT64(got);
    }
    return {ReplyKind::Data, std::move(data)};
}

bool endsWithNoCase(std::string_view text, std::string_view suffix) {
    if (suffix.size() > text.size()) return false;
    return std::equal(suffix.begin(), suffix.end(), text.end() - std::ptrdiff_t(suffix.size()),
                      [](char a, char b) {
                          auto lower = [](char c) {
                              return c >= 'A' && c <= 'Z' ? char(c + 32) : c;
                          };
                          return lower(a) == lower(b);
                      });
}

struct SuffixSearch {
    std::string_view suffix;
    std::string found;
};

int matchSuffix(chmFile*, chmUnitInfo* info, void* context) {
    auto* search = static_cast<SuffixSearch*>(context);
    const std::string_view path(info->path, strnlen(info->path, sizeof info->path));
    if (!endsWithNoCase(path, search->suffix)) return CHM_ENUMERATOR_CONTINUE;
    search->found = path;
    return CHM_ENUMERATOR_SUCCESS;
}

Reply findSuffix(chmFile* file, const std::string& suffix) {
    SuffixSearch search{suffix, {}};
    chm_enumerate(file, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, matchSuffix, &search);
    if (!isAcceptablePath(search.found)) return {ReplyKind::Missing, {}};
    return {ReplyKind::Path, std::move(search.found)};
}

Reply answer(chmFile* file, const Request& request) {
    switch (request.kind) {
    case RequestKind::Read:
        return readObject(file, request.text);
    case RequestKind::FindSuffix:
        return findSuffix(file, request.text);
    }
    return {ReplyKind::Missing, {}};
}

} // namespace

void limitResources() {
    setLimit(RLIMIT_CORE, 0, 0);
    setLimit(RLIMIT_FSIZE, 0, 0);
    // The sanitizers reserve terabytes of address space for their own books.
    if (!sanitized()) setLimit(RLIMIT_AS, AddressSpace, AddressSpace);
    allowOneMoreRequest(); // opening the file counts as one
}

int serve(chmFile* file, int in, int out) {
    if (!writeAll(out, encodeReply({file ? ReplyKind::Opened : ReplyKind::NotHelpFile, {}})))
        return 1;
    if (!file) return 0;
    FrameReader frames(MaxRequestFrame);
    char buffer[4096];
    for (;;) {
        std::string frame;
        const FrameReader::Status status = frames.next(frame);
        if (status == FrameReader::Status::Malformed) return 1;
        if (status == FrameReader::Status::Ready) {
            const std::optional<Request> request = decodeRequest(frame);
            if (!request) return 1;
            allowOneMoreRequest();
            if (!writeAll(out, encodeReply(answer(file, *request)))) return 1;
            continue;
        }
        const ssize_t got = read(in, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return 0; // the viewer has gone
        frames.append(buffer, std::size_t(got));
    }
}

} // namespace chmreader
