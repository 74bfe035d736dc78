#pragma once
// The messages between the help viewer and its archive reader (tablor-chm), which runs as a
// separate process so that a damaged help file can only take the reader down. Each message is
// a frame: a 32-bit little-endian length, then that many bytes, the first of which says what
// the message is. Neither end trusts the other: every frame is checked before it is used.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace chmreader {

// The viewer asks for an object by its path, or for the first file whose path ends with a
// suffix (".hhc"), case aside.
enum class RequestKind : char { Read = 'R', FindSuffix = 'F' };

// The reader's answers. Its first message says whether the file opened.
enum class ReplyKind : char {
    Opened = 'O',      // the file is a compiled help file; requests may follow
    NotHelpFile = 'N', // the file is missing or not a compiled help file; the reader has ended
    Data = 'D',        // the object's bytes
    Path = 'P',        // the path found
    Missing = 'M',     // no such object, or no path found
    Damaged = 'E',     // the object is listed but its bytes can't be read: the file is damaged
};

struct Request {
    RequestKind kind;
    std::string text; // a path or a suffix
};

struct Reply {
    ReplyKind kind;
    std::string payload; // the object's bytes, or the path found; empty otherwise
};

// Paths inside an archive are shorter than this (the archive library's own bound).
constexpr std::size_t MaxPathLength = 511;
// The largest object a help file may hold: pages and pictures are a few kilobytes.
constexpr std::size_t MaxObjectSize = 64u << 20;

// A frame holding a message of the given kind.
std::string encodeFrame(char kind, std::string_view payload);
inline std::string encodeRequest(const Request& r) {
    return encodeFrame(char(r.kind), r.text);
}
inline std::string encodeReply(const Reply& r) {
    return encodeFrame(char(r.kind), r.payload);
}

// Cuts a byte stream into frames. A frame longer than the bound, or empty, makes the stream
// malformed for good: the other end is not speaking this protocol.
class FrameReader {
public:
    explicit FrameReader(std::size_t maxFrame) : maxFrame_(maxFrame) {}

    void append(const char* bytes, std::size_t size) { buffer_.append(bytes, size); }
    enum class Status { Incomplete, Ready, Malformed };
    // The next whole frame into out (its kind byte first).
    Status next(std::string& out);
    // Bytes still waiting, for a caller that needs to know how much is left.
    std::size_t pending() const { return buffer_.size() - start_; }

private:
    std::size_t maxFrame_;
    std::string buffer_;
    std::size_t start_ = 0;
    bool malformed_ = false;
};

// The longest frames each end accepts.
constexpr std::size_t MaxRequestFrame = 1 + MaxPathLength;
constexpr std::size_t MaxReplyFrame = 1 + MaxObjectSize;

// A frame checked as a request (in the reader) or as the reply to a request of the given kind
// (in the viewer); nothing when it does not make sense there.
std::optional<Request> decodeRequest(std::string_view frame);
std::optional<Reply> decodeReply(std::string_view frame, RequestKind askedFor);
// The reader's first frame: Opened or NotHelpFile.
std::optional<Reply> decodeGreeting(std::string_view frame);

// A path or suffix the reader may be asked about: not empty, short enough, without zero bytes.
bool isAcceptablePath(std::string_view path);

} // namespace chmreader
