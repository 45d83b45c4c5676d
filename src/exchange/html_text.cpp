#include "exchange/html_text.h"

#include "deck/sjis_codec.h"

#include <QHash>

namespace exchange {

namespace {

bool IsNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// The value of attribute `name` in the inside of a tag ("img src=\"a.jpg\" alt=x").
QByteArray AttributeValue(QByteArrayView tag, QByteArrayView name) {
    const QByteArray lower = tag.toByteArray().toLower();
    qsizetype at = 0;
    while ((at = lower.indexOf(name, at)) >= 0) {
        const bool starts = at > 0 && !IsNameChar(lower[at - 1]);
        qsizetype pos = at + name.size();
        at = pos;
        while (pos < tag.size() && tag[pos] == ' ')
            ++pos;
        if (!starts || pos >= tag.size() || tag[pos] != '=')
            continue;
        ++pos;
        while (pos < tag.size() && tag[pos] == ' ')
            ++pos;
        if (pos < tag.size() && (tag[pos] == '"' || tag[pos] == '\'')) {
            const char quote = tag[pos];
            const qsizetype end = tag.indexOf(quote, pos + 1);
            return tag.sliced(pos + 1, (end < 0 ? tag.size() : end) - pos - 1).toByteArray();
        }
        qsizetype end = pos;
        while (end < tag.size() && tag[end] != ' ' && tag[end] != '/')
            ++end;
        return tag.sliced(pos, end - pos).toByteArray();
    }
    return {};
}

std::optional<char32_t> NamedEntity(QByteArrayView name) {
    static const QHash<QByteArray, char32_t> kNames = {
        {"amp", U'&'},    {"lt", U'<'},    {"gt", U'>'},     {"quot", U'"'},     {"apos", U'\''},
        {"nbsp", U' '},   {"copy", U'©'},  {"reg", U'®'},    {"times", U'×'},    {"divide", U'÷'},
        {"hellip", U'…'}, {"mdash", U'—'}, {"ndash", U'–'},  {"lsquo", U'‘'},    {"rsquo", U'’'},
        {"ldquo", U'“'},  {"rdquo", U'”'}, {"middot", U'·'}, {"deg", U'°'},      {"plusmn", U'±'},
        {"yen", U'¥'},    {"laquo", U'«'}, {"raquo", U'»'},  {"shy", U'\u00AD'}, {"larr", U'←'},
        {"rarr", U'→'},   {"uarr", U'↑'},  {"darr", U'↓'}};
    const auto it = kNames.constFind(name.toByteArray());
    if (it == kNames.constEnd())
        return std::nullopt;
    return *it;
}

std::optional<char32_t> NumericEntity(QByteArrayView digits) {
    bool ok = false;
    const bool hex = digits.startsWith('x') || digits.startsWith('X');
    const qulonglong value =
        (hex ? digits.sliced(1) : digits).toByteArray().toULongLong(&ok, hex ? 16 : 10);
    if (!ok || value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return std::nullopt;
    return char32_t(value);
}

// The character a reference starting at `pos` (on '&') stands for, and its length.
std::optional<char32_t> Entity(QByteArrayView html, qsizetype pos, qsizetype *length) {
    const qsizetype semicolon = html.indexOf(';', pos + 1);
    if (semicolon < 0 || semicolon - pos > 12)
        return std::nullopt;
    const QByteArrayView body = html.sliced(pos + 1, semicolon - pos - 1);
    *length = semicolon - pos + 1;
    if (body.startsWith('#'))
        return NumericEntity(body.sliced(1));
    return NamedEntity(body);
}

class Reducer {
public:
    explicit Reducer(QString *unencodable) : unencodable_(unencodable) {}

    void Text(QByteArrayView text) {
        if (text.isEmpty())
            return;
        FlushBreak();
        out_.append(text);
    }
    void Character(char32_t c) {
        const sjis::Encoded encoded = sjis::FromDisplay(QString::fromUcs4(&c, 1));
        Text(encoded.bytes);
        if (unencodable_ && !encoded.unencodable.isEmpty() &&
            !unencodable_->contains(encoded.unencodable))
            unencodable_->append(encoded.unencodable);
    }
    void Break() {
        FlushBreak();
        out_.append('\n');
    }
    // A block starts or ends: a break before whatever text comes next.
    void BlockEdge() { pendingBreak_ = !out_.isEmpty(); }
    void Tag(QByteArrayView tag) {
        const bool closing = tag.startsWith('/');
        qsizetype end = closing ? 1 : 0;
        while (end < tag.size() && IsNameChar(tag[end]))
            ++end;
        const QByteArray name =
            tag.sliced(closing ? 1 : 0, end - (closing ? 1 : 0)).toByteArray().toLower();
        if (name == "br")
            Break();
        else if (name == "div" || name == "p" || name == "li" || name == "tr")
            BlockEdge();
        else if (!closing && (name == "img" || name == "audio" || name == "video" ||
                              name == "source" || name == "embed"))
            Text(AttributeValue(tag, "src"));
    }
    QByteArray Take() { return std::move(out_); }

private:
    void FlushBreak() {
        if (pendingBreak_)
            out_.append('\n');
        pendingBreak_ = false;
    }

    QByteArray out_;
    bool pendingBreak_ = false;
    QString *unencodable_;
};

} // namespace

QByteArray HtmlToText(QByteArrayView html, QString *unencodable) {
    Reducer reducer(unencodable);
    qsizetype pos = 0;
    qsizetype runStart = 0;
    while (pos < html.size()) {
        const char c = html[pos];
        if (c == '<') {
            const qsizetype end = html.indexOf('>', pos + 1);
            const bool isTag = end > pos + 1 && (IsNameChar(html[pos + 1]) ||
                                                 html[pos + 1] == '/' || html[pos + 1] == '!');
            if (!isTag) {
                ++pos;
                continue;
            }
            reducer.Text(html.sliced(runStart, pos - runStart));
            reducer.Tag(html.sliced(pos + 1, end - pos - 1));
            pos = runStart = end + 1;
            continue;
        }
        qsizetype length = 0;
        if (c == '&') {
            if (const auto character = Entity(html, pos, &length)) {
                reducer.Text(html.sliced(runStart, pos - runStart));
                reducer.Character(*character);
                pos = runStart = pos + length;
                continue;
            }
        }
        ++pos;
    }
    reducer.Text(html.sliced(runStart, pos - runStart));
    return reducer.Take();
}

QByteArray TextToHtml(QByteArrayView text) {
    QByteArray out;
    out.reserve(text.size() + text.size() / 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        switch (c) {
        case '&':
            out.append("&amp;");
            break;
        case '<':
            out.append("&lt;");
            break;
        case '>':
            out.append("&gt;");
            break;
        case '\r':
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            out.append("<br>");
            break;
        case '\n':
            out.append("<br>");
            break;
        default:
            out.append(c);
        }
    }
    return out;
}

} // namespace exchange
