#include "chmreader/ChmMessages.h"

namespace chmreader {

namespace {

constexpr std::size_t HeaderSize = 4;

std::uint32_t readLength(const char* p) {
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 | std::uint32_t(b[2]) << 16 |
           std::uint32_t(b[3]) << 24;
}

std::optional<Reply> emptyReply(ReplyKind kind, std::string_view payload) {
    if (!payload.empty()) return std::nullopt;
    return Reply{kind, {}};
}

} // namespace

std::string encodeFrame(char kind, std::string_view payload) {
    const std::size_t length = payload.size() + 1;
    std::string frame;
    frame.reserve(HeaderSize + length);
    for (int shift = 0; shift < 32; shift += 8)
        frame += char((length >> shift) & 0xFF);
    frame += kind;
    frame += payload;
    return frame;
}

FrameReader::Status FrameReader::next(std::string& out) {
    if (malformed_) return Status::Malformed;
    if (pending() < HeaderSize) return Status::Incomplete;
    const std::size_t length = readLength(buffer_.data() + start_);
    if (length == 0 || length > maxFrame_) {
        malformed_ = true;
        buffer_.clear();
        start_ = 0;
        return Status::Malformed;
    }
    if (pending() < HeaderSize + length) return Status::Incomplete;
    out.assign(buffer_, start_ + HeaderSize, length);
    start_ += HeaderSize + length;
    // Drop what was read once it is most of the buffer, so that it does not grow for ever.
    if (start_ == buffer_.size() || start_ > buffer_.size() / 2) {
        buffer_.erase(0, start_);
        start_ = 0;
    }
    return Status::Ready;
}

bool isAcceptablePath(std::string_view path) {
    return !path.empty() && path.size() <= MaxPathLength &&
           path.find('\0') == std::string_view::npos;
}

std::optional<Request> decodeRequest(std::string_view frame) {
    if (frame.empty()) return std::nullopt;
    const std::string_view text = frame.substr(1);
    if (!isAcceptablePath(text)) return std::nullopt;
    switch (RequestKind(frame[0])) {
    case RequestKind::Read:
    case RequestKind::FindSuffix:
        return Request{RequestKind(frame[0]), std::string(text)};
    }
    return std::nullopt;
}

std::optional<Reply> decodeReply(std::string_view frame, RequestKind askedFor) {
    if (frame.empty()) return std::nullopt;
    const ReplyKind kind = ReplyKind(frame[0]);
    const std::string_view payload = frame.substr(1);
    switch (kind) {
    case ReplyKind::Missing:
        return emptyReply(kind, payload);
    case ReplyKind::Damaged:
        if (askedFor != RequestKind::Read) return std::nullopt;
        return emptyReply(kind, payload);
    case ReplyKind::Data:
        if (askedFor != RequestKind::Read || payload.size() > MaxObjectSize) return std::nullopt;
        return Reply{kind, std::string(payload)};
    case ReplyKind::Path:
        if (askedFor != RequestKind::FindSuffix || !isAcceptablePath(payload)) return std::nullopt;
        return Reply{kind, std::string(payload)};
    case ReplyKind::Opened:
    case ReplyKind::NotHelpFile:
        break;
    }
    return std::nullopt;
}

std::optional<Reply> decodeGreeting(std::string_view frame) {
    if (frame.empty()) return std::nullopt;
    const ReplyKind kind = ReplyKind(frame[0]);
    if (kind != ReplyKind::Opened && kind != ReplyKind::NotHelpFile) return std::nullopt;
    return emptyReply(kind, frame.substr(1));
}

} // namespace chmreader
