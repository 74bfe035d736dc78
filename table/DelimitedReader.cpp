#include "table/DelimitedReader.h"

#include "platform/Ansi.h"
#include "platform/Errors.h"
#include "platform/HugePages.h"
#include "table/ByteMask.h"
#include "table/TableDocument.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace tablor {
namespace {

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

// Finds the separators and line ends of a text 64 bytes at a time, as one bit per byte: each
// field end then costs a count of zeros, not a look at each of its bytes.
class FieldEnds {
public:
    FieldEnds(std::string_view s, char sep) : text_(s.data()), size_(s.size()), sep_(sep) {
        load(0);
    }

    // The first separator or line end from p on, or the end of the text. Calls go forward.
    const char* from(const char* p) {
        std::size_t at = std::size_t(p - text_);
        for (;;) {
            const std::size_t inBlock = at - block_;
            if (inBlock < 64) {
                if (const std::uint64_t m = mask_ >> inBlock)
                    return text_ + at + std::countr_zero(m);
                at = block_ + 64;
            }
            if (at >= size_) return text_ + size_;
            load(at & ~std::size_t{63});
        }
    }

private:
    void load(std::size_t block) {
        block_ = block;
        const char* p = text_ + block;
        alignas(16) char last[64];
        if (size_ - block < 64) {
            // What lies past the end reads as zeros, which no separator is.
            std::memset(last, 0, sizeof last);
            std::memcpy(last, p, size_ - block);
            p = last;
        }
        mask_ = bytesAmong(p, sep_, '\n', '\r');
    }

    const char* text_;
    std::size_t size_;
    char sep_;
    std::size_t block_ = 0;  // offset of the block in mask_
    std::uint64_t mask_ = 0; // its separators and line ends
};

// Met while filling the cells from text taken for UTF-8: it is Windows-1252.
struct NotUtf8 {};

struct UnterminatedQuote {
    std::size_t offset; // of the opening quote
};

// Walks the records of the text, field by field, without copying anything: each field is
// handed over raw (a quoted one from just after its opening quote, doubled quotes and line
// breaks still in it). The visitor's record() returns false to stop; its checksForm says whether
// it wants to know that a field is well formed (which costs a look at its bytes). A line end right
// before the end of the text starts no record; an empty line is a record of one empty field.
template <class Visitor> void scanRecords(std::string_view s, char sep, Visitor& v) {
    FieldEnds ends(s, sep);
    const char* p = s.data();
    const char* const end = p + s.size();
    while (p < end) {
        for (;;) {
            const char* start = p;
            bool quoted = false;
            if (p < end && *p == '"') {
                quoted = true;
                ++start;
                for (++p;;) {
                    const void* q = std::memchr(p, '"', std::size_t(end - p));
                    if (!q) throw UnterminatedQuote{std::size_t(start - 1 - s.data())};
                    p = static_cast<const char*>(q) + 1;
                    if (p < end && *p == '"') {
                        ++p;
                        continue;
                    }
                    break;
                }
            }
            // An unquoted field, or whatever follows a closing quote before the separator:
            // taken as it stands.
            const char* const rest = p;
            p = ends.from(p);
            const std::string_view raw(start, std::size_t(p - start));
            // Well formed as RFC 4180 has it: nothing after a closing quote, no quote in an
            // unquoted field.
            const bool wellFormed = quoted ? p == rest : !v.checksForm || raw.find('"') == raw.npos;
            v.field(raw, quoted, wellFormed);
            if (p < end && *p == sep) {
                ++p;
                continue;
            }
            break;
        }
        if (p < end) p += (*p == '\r' && p + 1 < end && p[1] == '\n') ? 2 : 1;
        if (!v.record(std::size_t(p - s.data()))) return;
    }
}

// The first pass: counts the records and the fields of each, and stops at the first record
// longer than the field names.
struct Shape {
    explicit Shape(std::size_t recordLimit = SIZE_MAX)
        : limit(recordLimit), checksForm(recordLimit != SIZE_MAX) {}
    void field(std::string_view, bool, bool wellFormed) {
        ++fields;
        malformed |= !wellFormed;
    }
    bool record(std::size_t endOffset) {
        if (records == 0) {
            header = fields;
        } else if (fields > header) {
            longRecordEnd = endOffset;
            return false;
        } else if (fields < header) {
            ragged = true;
        }
        ++records;
        fields = 0;
        return records < limit;
    }

    std::size_t limit;
    bool checksForm;
    std::size_t fields = 0, header = 0, records = 0;
    // A field not as RFC 4180 has it; when the form is not checked (the whole text), only a
    // quoted field with text after its closing quote counts.
    bool malformed = false;
    bool ragged = false;                  // a record shorter than the field names
    std::size_t longRecordEnd = SIZE_MAX; // where the first record longer than them ends
};

// The separator, from the first records read with each candidate. It must split the field
// names; then what counts is, in this order, that no record has more fields than the names,
// that every field is well formed, that every record has as many fields as the names, and the
// number of names. Among equals, semicolon, then tab, then comma. A file no candidate reads
// well is read with the one that splits the names most, and refused.
char detectSeparator(std::string_view s) {
    char best = ';';
    int bestRank = -1;
    std::size_t bestFields = 0;
    for (char sep : {';', '\t', ','}) {
        Shape shape(20);
        try {
            scanRecords(s, sep, shape);
        } catch (const UnterminatedQuote&) {
            continue;
        }
        const bool fits = shape.longRecordEnd == SIZE_MAX;
        const int rank = shape.header < 2 ? 0 : 1 + 4 * fits + 2 * !shape.malformed + !shape.ragged;
        if (rank > bestRank || (rank == bestRank && shape.header > bestFields)) {
            best = sep;
            bestRank = rank;
            bestFields = shape.header;
        }
    }
    return best;
}

// The line, counted from 1, on which the byte at `offset` lies.
std::size_t lineAt(std::string_view s, std::size_t offset) {
    std::size_t line = 1;
    for (std::size_t i = 0; i < offset && i < s.size(); ++i)
        if (s[i] == '\n' || (s[i] == '\r' && (i + 1 == s.size() || s[i + 1] != '\n'))) ++line;
    return line;
}

// The second pass: every field into its cell, as one line of Windows-1252, taken as it is or
// decoded from UTF-8 field by field.
class Filler {
public:
    Filler(DelimitedTable& t, bool decodes) : t_(t), grid_(*t.grid), decodes_(decodes) {}

    static constexpr bool checksForm = false;

    void field(std::string_view raw, bool quoted, bool) {
        std::string_view text = quoted ? unquote(raw) : raw;
        if (decodes_ && !isAscii(text)) {
            if (converted_.size() < text.size()) converted_.resize(text.size());
            std::size_t replaced = 0;
            bool wellFormed = true;
            text = {converted_.data(),
                    ansi::decodeUtf8(text, converted_.data(), replaced, wellFormed)};
            if (!wellFormed) throw NotUtf8{};
            t_.replacedCharacters += replaced;
        }
        grid_.appendCell(col_++, text);
    }
    bool record(std::size_t) {
        // A short record's missing fields are empty.
        while (col_ < grid_.ColCount())
            grid_.appendCell(col_++, {});
        col_ = 0;
        return true;
    }

private:
    static bool isAscii(std::string_view s) {
        unsigned char any = 0;
        for (char c : s)
            any |= static_cast<unsigned char>(c);
        return any < 0x80;
    }

    // The text of a quoted field: doubled quotes become one, a line break (CR LF, LF or CR)
    // becomes a blank; the closing quote ends the quoting and whatever follows it is kept.
    std::string_view unquote(std::string_view raw) {
        std::size_t plain = 0;
        while (plain < raw.size() && raw[plain] != '"' && raw[plain] != '\r' && raw[plain] != '\n')
            ++plain;
        // Most quoted fields hold neither quotes nor line breaks: their text is there already.
        if (plain + 1 == raw.size() && raw[plain] == '"') return raw.substr(0, plain);
        unquoted_.assign(raw.substr(0, plain));
        bool inQuotes = true;
        for (std::size_t i = plain; i < raw.size(); ++i) {
            const char c = raw[i];
            if (c == '"' && inQuotes) {
                if (i + 1 < raw.size() && raw[i + 1] == '"') {
                    unquoted_ += '"';
                    ++i;
                } else {
                    inQuotes = false;
                }
            } else if (c == '\r' || c == '\n') {
                if (c == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n') ++i;
                unquoted_ += ' ';
                ++t_.replacedLineBreaks;
            } else {
                unquoted_ += c;
            }
        }
        return unquoted_;
    }

    DelimitedTable& t_;
    StringGrid& grid_;
    const bool decodes_;
    int col_ = 0;
    std::string unquoted_, converted_;
};

// A text in Windows-1252 when the whole of it is well-formed UTF-8.
struct Converted {
    BigBytes bytes;
    std::size_t size = 0;
    std::size_t replaced = 0; // characters Windows-1252 lacks, now "?"
    bool wellFormed = true;
};

// Converts a megabyte at a time, so that a Windows-1252 text stops it early.
Converted fromUtf8Whole(std::string_view s) {
    Converted c{BigBytes(s.size())};
    constexpr std::size_t Piece = std::size_t{1} << 20;
    for (std::size_t i = 0; i < s.size() && c.wellFormed;) {
        // A piece ends before a byte that starts a character, never inside one.
        std::size_t cut = std::min(s.size(), i + Piece);
        while (cut < s.size() && (static_cast<unsigned char>(s[cut]) & 0xC0) == 0x80)
            ++cut;
        c.size += ansi::decodeUtf8(s.substr(i, cut - i), c.bytes.data() + c.size, c.replaced,
                                   c.wellFormed);
        i = cut;
    }
    return c;
}

std::string counted(std::uint64_t n, const char* one, const char* many) {
    return std::to_string(n) + ' ' + (n == 1 ? one : many);
}

} // namespace

DelimitedTable readDelimited(std::string_view bytes, std::uint64_t memoryBudget, BigBytes* owner) {
    DelimitedTable t;
    const bool marked = bytes.starts_with(ByteOrderMark);
    if (marked) bytes.remove_prefix(ByteOrderMark.size());
    if (bytes.empty()) throw TablorError("Fichier vide");
    t.separator = detectSeparator(bytes);

    Shape shape;
    try {
        scanRecords(bytes, t.separator, shape);
    } catch (const UnterminatedQuote& q) {
        throw TablorError("Guillemet non fermé à la ligne " +
                          std::to_string(lineAt(bytes, q.offset)));
    }
    if (shape.header > MaxFields)
        throw TablorError("Trop de champs dans ce fichier : " + std::to_string(shape.header) +
                          ", il en faut de 1 à 40");
    if (shape.longRecordEnd != SIZE_MAX)
        throw TablorError("La ligne " + std::to_string(lineAt(bytes, shape.longRecordEnd - 1)) +
                          " a plus de champs que la ligne des noms de champs");
    // The cells' words, and for the long cells their text and length: less than twice the
    // text's own bytes.
    const std::uint64_t rows = std::max<std::uint64_t>(shape.records, 2);
    const std::uint64_t need = rows * shape.header * sizeof(CellWord) + 2 * bytes.size();
    if (rows > INT32_MAX || need > memoryBudget)
        throw TablorError("Mémoire insuffisante pour ouvrir ce fichier de " +
                          std::to_string(rows - 1) + " enregistrements de " +
                          std::to_string(shape.header) + " champs");

    // The cells, each word written once, from `text` (decoded field by field when `decodes`).
    const auto fill = [&](std::string_view text, TextEncoding encoding, bool decodes) {
        t.grid.reset();
        t.grid =
            std::make_unique<StringGrid>(int(shape.header), int(rows), StringGrid::ForFilling{});
        t.encoding = encoding;
        t.replacedLineBreaks = 0;
        Filler filler(t, decodes);
        scanRecords(text, t.separator, filler);
        t.grid->finishFilling();
    };
    // A text all of whose bytes are well-formed UTF-8 is UTF-8: converted whole, it is read as
    // it stands. Otherwise it is Windows-1252, unless each of its fields is well-formed UTF-8 by
    // itself, which only text after a closing quote can bring about (a character whose bytes the
    // quote parts).
    const Converted utf8 = fromUtf8Whole(bytes);
    if (utf8.wellFormed) {
        if (owner) *owner = BigBytes();
        fill({utf8.bytes.data(), utf8.size}, TextEncoding::Utf8, false);
        t.replacedCharacters = utf8.replaced;
        return t;
    }
    if (shape.malformed) {
        try {
            t.replacedCharacters = 0;
            fill(bytes, TextEncoding::Utf8, true);
            return t;
        } catch (const NotUtf8&) {
        }
    }
    t.replacedCharacters = 0;
    fill(bytes, TextEncoding::Windows1252, false);
    return t;
}

std::string replacementNotice(const DelimitedTable& t) {
    std::string text;
    if (t.replacedCharacters > 0)
        text = counted(t.replacedCharacters, "caractère sans équivalent remplacé",
                       "caractères sans équivalent remplacés") +
               " par « ? »";
    if (t.replacedLineBreaks > 0) {
        if (!text.empty()) text += "; ";
        text +=
            counted(t.replacedLineBreaks, "saut de ligne remplacé", "sauts de ligne remplacés") +
            " par un blanc";
    }
    if (!text.empty()) text += '.';
    return text;
}

} // namespace tablor
