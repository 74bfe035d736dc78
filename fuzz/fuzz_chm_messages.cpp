// Feeds arbitrary bytes, cut in pieces of sizes taken from the input, to both ends' reading of
// the messages between the help viewer and its archive reader: the reader's requests, and the
// viewer's greeting and replies. A frame either is refused or decodes to a message that
// encodes back to the very same bytes; a malformed stream stays malformed.

#include "chmreader/ChmMessages.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

using namespace chmreader;

namespace {

void check(bool sound, const char* what) {
    if (sound) return;
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

template <class Decode>
void readStream(std::string_view bytes, std::size_t piece, std::size_t maxFrame, Decode decode) {
    FrameReader frames(maxFrame);
    bool malformed = false;
    std::string frame;
    for (std::size_t at = 0; at < bytes.size(); at += piece) {
        const std::string_view chunk = bytes.substr(at, piece);
        frames.append(chunk.data(), chunk.size());
        for (;;) {
            const FrameReader::Status status = frames.next(frame);
            if (status == FrameReader::Status::Incomplete) break;
            if (status == FrameReader::Status::Malformed) {
                malformed = true;
                break;
            }
            check(!malformed, "a frame after the stream went bad");
            check(!frame.empty() && frame.size() <= maxFrame, "a frame out of bounds");
            decode(frame);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    static constexpr std::size_t Pieces[] = {SIZE_MAX, 1, 2, 3, 4, 5, 7, 64};
    const std::size_t piece = Pieces[data[0] % 8];
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);

    readStream(bytes, piece, MaxRequestFrame, [](const std::string& frame) {
        if (const std::optional<Request> request = decodeRequest(frame)) {
            check(isAcceptablePath(request->text), "a request for an unacceptable path");
            check(encodeRequest(*request).substr(4) == frame, "a request that reads differently");
        }
    });
    // A small bound for the replies too, so that the fuzzer reaches it.
    readStream(bytes, piece, 300, [](const std::string& frame) {
        if (const std::optional<Reply> greeting = decodeGreeting(frame))
            check(encodeReply(*greeting).substr(4) == frame, "a greeting that reads differently");
        for (const RequestKind asked : {RequestKind::Read, RequestKind::FindSuffix})
            if (const std::optional<Reply> reply = decodeReply(frame, asked)) {
                check(encodeReply(*reply).substr(4) == frame, "a reply that reads differently");
                check(reply->kind != ReplyKind::Path || isAcceptablePath(reply->payload),
                      "a path reply with an unacceptable path");
            }
    });
    return 0;
}
