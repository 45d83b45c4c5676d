#include "deck/text_match.h"

#include "deck/sjis_codec.h"
#include "deck/sjis_text.h"

#include <QChar>
#include <QHash>

#include <array>
#include <cstring>

namespace textmatch {
namespace {

// The folded bytes of one double-byte character (1 or 2 bytes; 0 = keep it as it is).
struct Folded2 {
    unsigned char length = 0;
    char bytes[2] = {0, 0};
};

// Double-byte characters that fold all have lead bytes 0x81-0x83 (signs, letters, kana).
constexpr unsigned kFirstLead = 0x81;
constexpr unsigned kLastLead = 0x83;
using DoubleTable = std::array<Folded2, (kLastLead - kFirstLead + 1) * 256>;

constexpr char16_t kVoiced = 0x3099, kSemiVoiced = 0x309A;
constexpr char16_t kHalfVoiced = 0xFF9E, kHalfSemiVoiced = 0xFF9F;

// Full-width katakana and signs -> their half-width forms, from Unicode's own narrow mappings.
const QHash<char16_t, char16_t> &HalfWidthForms() {
    static const QHash<char16_t, char16_t> forms = [] {
        QHash<char16_t, char16_t> map;
        for (char16_t half = 0xFF61; half <= 0xFF9F; ++half) {
            const QString wide = QChar(half).decomposition();
            if (wide.size() == 1)
                map.insert(wide.at(0).unicode(), half);
        }
        map.insert(0x309B, kHalfVoiced); // the spacing voiced marks
        map.insert(0x309C, kHalfSemiVoiced);
        return map;
    }();
    return forms;
}

// One character as the user sees it -> the text it folds to (empty: unchanged).
QString FoldChar(char16_t u, bool kanaSame) {
    if (u == 0x3000)
        return QStringLiteral(" ");
    if (u >= 0xFF01 && u <= 0xFF5E)
        return QString(QChar(u - 0xFEE0)).toLower();
    if (kanaSame && ((u >= 0x3041 && u <= 0x3096) || u == 0x309D || u == 0x309E))
        u += 0x60; // hiragana -> katakana
    const auto &half = HalfWidthForms();
    if (const auto found = half.constFind(u); found != half.cend())
        return QString(QChar(*found));
    // ガ = カ + voiced mark -> ｶﾞ
    const QString parts = QChar(u).decomposition();
    if (parts.size() == 2 && QChar(u).decompositionTag() == QChar::Canonical) {
        const auto base = half.constFind(parts.at(0).unicode());
        const char16_t mark = parts.at(1).unicode();
        if (base != half.cend() && (mark == kVoiced || mark == kSemiVoiced))
            return QString(QChar(*base)) + QChar(mark == kVoiced ? kHalfVoiced : kHalfSemiVoiced);
    }
    return {};
}

DoubleTable BuildDoubleTable(bool kanaSame) {
    DoubleTable table{};
    for (unsigned lead = kFirstLead; lead <= kLastLead; ++lead) {
        for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
            const char pair[2] = {char(lead), char(trail)};
            const sjis::Decoded shown = sjis::ToDisplay(QByteArray(pair, 2));
            if (shown.invalidBytes || shown.text.size() != 1)
                continue;
            const QString folded = FoldChar(shown.text.at(0).unicode(), kanaSame);
            if (folded.isEmpty())
                continue;
            const sjis::Encoded bytes = sjis::FromDisplay(folded);
            if (!bytes.unencodable.isEmpty() || bytes.bytes.isEmpty() || bytes.bytes.size() > 2)
                continue;
            Folded2 &entry = table[(lead - kFirstLead) * 256 + trail];
            entry.length = static_cast<unsigned char>(bytes.bytes.size());
            std::memcpy(entry.bytes, bytes.bytes.constData(), std::size_t(bytes.bytes.size()));
        }
    }
    return table;
}

const DoubleTable &DoubleFolds(bool kanaSame) {
    static const DoubleTable same = BuildDoubleTable(true);
    static const DoubleTable distinct = BuildDoubleTable(false);
    return kanaSame ? same : distinct;
}

inline char FoldSingle(unsigned char b) {
    if (b >= 'A' && b <= 'Z')
        return char(b + ('a' - 'A'));
    if (b <= 0x03) // the index's field ends stay unique
        return '\x04';
    return char(b);
}

bool IsHalfWidthKanaLetter(unsigned char b) {
    return b >= 0xA6 && b <= 0xDD;
}
bool IsHalfWidthVoicedMark(unsigned char b) {
    return b == 0xDE || b == 0xDF;
}

// Folds `text` from display form, or, with `stored`, from stored form ("\n" escapes become
// line breaks on the way; the enclosing quotes were cut by the caller).
void AppendFolded(QByteArray &out, QByteArrayView text, bool kanaSame, bool stored) {
    const DoubleTable &doubles = DoubleFolds(kanaSame);
    const auto *p = reinterpret_cast<const unsigned char *>(text.data());
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        const unsigned char b = p[i];
        if (i + 1 < n && sjis::IsLeadByte(b) && sjis::IsTrailByte(p[i + 1])) {
            const Folded2 *entry = b >= kFirstLead && b <= kLastLead
                                       ? &doubles[(b - kFirstLead) * 256 + p[i + 1]]
                                       : nullptr;
            if (entry && entry->length)
                out.append(entry->bytes, entry->length);
            else
                out.append(reinterpret_cast<const char *>(p + i), 2);
            i += 2;
            continue;
        }
        if (stored && b == '\\' && i + 1 < n && p[i + 1] == 'n') {
            out.append('\n');
            i += 2;
            continue;
        }
        out.append(FoldSingle(b));
        ++i;
    }
}

} // namespace

void AppendFoldedStored(QByteArray &out, QByteArrayView stored, bool kanaSame) {
    if (stored.size() >= 2 && stored.front() == '"' && stored.back() == '"')
        stored = stored.sliced(1, stored.size() - 2);
    AppendFolded(out, stored, kanaSame, true);
}

QByteArray Fold(QByteArrayView display, bool kanaSame) {
    QByteArray out;
    out.reserve(display.size());
    AppendFolded(out, display, kanaSame, false);
    return out;
}

Query::Query(const QString &typed, bool kanaSame) : kanaSame_(kanaSame) {
    const sjis::Encoded encoded = sjis::FromDisplay(typed);
    encodable_ = encoded.unencodable.isEmpty();
    folded_ = Fold(encoded.bytes, kanaSame);
}

bool Query::CutsVoicedKana(QByteArrayView folded, qsizetype at) const {
    const qsizetype end = at + folded_.size();
    return end < folded.size() && IsHalfWidthKanaLetter(uchar(folded_.back())) &&
           IsHalfWidthVoicedMark(uchar(folded[end]));
}

qsizetype Query::FindIn(QByteArrayView folded, qsizetype from, qsizetype charStart) const {
    if (!CanMatch())
        return -1;
    qsizetype boundary = charStart;
    while (from <= folded.size() - folded_.size()) {
        const void *hit = memmem(folded.data() + from, std::size_t(folded.size() - from),
                                 folded_.constData(), std::size_t(folded_.size()));
        if (!hit)
            return -1;
        const qsizetype at = static_cast<const char *>(hit) - folded.data();
        while (boundary < at)
            boundary += sjis::CharLength(folded, boundary);
        if (boundary == at && !CutsVoicedKana(folded, at))
            return at;
        from = at + 1;
    }
    return -1;
}

bool Query::MatchesStored(QByteArrayView stored) const {
    if (!CanMatch())
        return false;
    QByteArray folded;
    folded.reserve(stored.size());
    AppendFoldedStored(folded, stored, kanaSame_);
    return FindIn(folded) >= 0;
}

bool Query::MatchesCard(const TMondaiSet &card, FieldSet fields) const {
    return (fields.question && MatchesStored(card.View(TMondaiSet::kMondai))) ||
           (fields.answer && MatchesStored(card.View(TMondaiSet::kKaitou))) ||
           (fields.reference && MatchesStored(card.View(TMondaiSet::kSankou)));
}

} // namespace textmatch
