#include "table/DelimitedReader.h"

#include "platform/Ansi.h"
#include "platform/Errors.h"
#include "table/TableDocument.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace tablor {
namespace {

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

// The high bit of each of the eight bytes of `v` that equals `c`, exact up to the first one.
inline std::uint64_t bytesEqual(std::uint64_t v, char c) {
    constexpr std::uint64_t Ones = 0x0101010101010101u;
    const std::uint64_t x = v ^ (Ones * static_cast<unsigned char>(c));
    return (x - Ones) & ~x & (Ones << 7);
}

// The first separator or line end from p on, or end; eight bytes at a time.
const char* fieldEnd(const char* p, const char* end, char sep) {
    while (end - p >= 8) {
        std::uint64_t v;
        std::memcpy(&v, p, 8);
        if (const std::uint64_t m = bytesEqual(v, sep) | bytesEqual(v, '\n') | bytesEqual(v, '\r'))
            return p + std::countr_zero(m) / 8;
        p += 8;
    }
    while (p < end && *p != sep && *p != '\n' && *p != '\r')
        ++p;
    return p;
}

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
            p = fieldEnd(p, end, sep);
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
    bool malformed = false;               // a field not as RFC 4180 has it
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

// The second pass: every field into its cell, as one line of Windows-1252.
class Filler {
public:
    explicit Filler(DelimitedTable& t) : t_(t), grid_(*t.grid) {}

    static constexpr bool checksForm = false;

    void field(std::string_view raw, bool quoted, bool) {
        std::string_view text = raw;
        if (quoted) {
            unquote(raw);
            text = unquoted_;
        }
        if (t_.encoding == TextEncoding::Utf8 && !isAscii(text)) {
            if (converted_.size() < text.size()) converted_.resize(text.size());
            std::size_t replaced = 0;
            bool wellFormed = true;
            text = {converted_.data(),
                    ansi::decodeUtf8(text, converted_.data(), replaced, wellFormed)};
            if (!wellFormed) throw NotUtf8{};
            t_.replacedCharacters += replaced;
        }
        grid_.fillEmptyCell(col_++, row_, text);
    }
    bool record(std::size_t) {
        col_ = 0;
        ++row_;
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
    void unquote(std::string_view raw) {
        unquoted_.clear();
        bool inQuotes = true;
        for (std::size_t i = 0; i < raw.size(); ++i) {
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
    }

    DelimitedTable& t_;
    StringGrid& grid_;
    int col_ = 0, row_ = 0;
    std::string unquoted_, converted_;
};

std::string counted(std::uint64_t n, const char* one, const char* many) {
    return std::to_string(n) + ' ' + (n == 1 ? one : many);
}

} // namespace

DelimitedTable readDelimited(std::string_view bytes, std::uint64_t memoryBudget) {
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

    // The text is taken for UTF-8 while its bytes are; at the first that is not, the cells are
    // filled again from the start as Windows-1252.
    for (TextEncoding encoding : {TextEncoding::Utf8, TextEncoding::Windows1252}) {
        t.grid.reset();
        t.grid = std::make_unique<StringGrid>(int(shape.header), int(rows));
        t.encoding = encoding;
        t.replacedCharacters = t.replacedLineBreaks = 0;
        Filler filler(t);
        try {
            scanRecords(bytes, t.separator, filler);
            break;
        } catch (const NotUtf8&) {
        }
    }
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
