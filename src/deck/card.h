#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QtGlobal>

#include <array>
#include <cstddef>
#include <utility>

class CardSource;

// One card of a deck. Text fields hold the stored form, byte for byte as the deck file has it
// (Shift-JIS, enclosing quotes kept, a line break as the two characters "\n").
//
// A deck of a million cards must not cost much more memory than its file, so a text read from a
// file stays where it was read: the card keeps only where it lies in the file's bytes (see
// CardSource in card_source.h, and text_buffers.h for the buffers). A text gets bytes of its own
// once it is set. The texts come and go through accessors; a text handed out is an ordinary
// QByteArray that stays valid whatever happens to the card afterwards.
class TMondaiSet {
public:
    enum Text { kMondai, kKaitou, kSankou, kRireki };

    TMondaiSet() = default;
    TMondaiSet(QByteArray mondai, QByteArray kaitou, QByteArray sankou, qint32 jikan, qint32 seikai,
               qint32 fuseikai, QByteArray rireki);
    TMondaiSet(const TMondaiSet &other);
    TMondaiSet &operator=(const TMondaiSet &other);
    ~TMondaiSet();

    // Column 1, question; column 2, answer; column 3, reference note; column 7, history, newest
    // first. Const, so that changing a copy by mistake cannot compile.
    const QByteArray Mondai() const { return GetText(kMondai); }
    const QByteArray Kaitou() const { return GetText(kKaitou); }
    const QByteArray Sankou() const { return GetText(kSankou); }
    const QByteArray Rireki() const { return GetText(kRireki); }
    void SetMondai(QByteArray text) { SetText(kMondai, std::move(text)); }
    void SetKaitou(QByteArray text) { SetText(kKaitou, std::move(text)); }
    void SetSankou(QByteArray text) { SetText(kSankou, std::move(text)); }
    void SetRireki(QByteArray text) { SetText(kRireki, std::move(text)); }

    const QByteArray GetText(Text which) const;
    void SetText(Text which, QByteArray text);
    // The text's bytes without a reference on them: valid until the card changes or goes.
    QByteArrayView View(Text which) const;
    // All four at once, in the order of Text.
    std::array<QByteArrayView, 4> Views() const;

    qint32 Jikan = 0;    // column 4, day from which the card is asked again
    qint32 Seikai = 0;   // column 5, right answers
    qint32 Fuseikai = 0; // column 6, wrong answers

    // Sets one field from an edit. Columns 1-3 and 7 separate quote-comma pairs and apply the
    // quoting rule, so that the text reads back as itself; columns 4-6 take
    // a decimal integer with an optional sign. Returns false, leaving the card unchanged, only
    // when a number column gets text that is not a 32-bit integer.
    bool SetField(int column, const QByteArray &value);

    // Cards come from a pool of large blocks (card_pool.cpp): loading a deck of a million
    // cards would otherwise spend much of its time faulting in a million small allocations.
    static void *operator new(std::size_t size);
    static void operator delete(void *card, std::size_t size) noexcept;

private:
    friend class CardSource;
    void DropTexts();

    // Declared after the numbers, so that a card takes 48 bytes.
    quint32 source_ = 0; // the CardSource the slices lie in; 0 for none
    // Per text: 0 when empty; odd, a slice of the source ((length << 32) | (offset << 1) | 1);
    // otherwise the address of a QByteArray of the card's own.
    quint64 texts_[4] = {};
};
// The deck reader ends a quoted field at the first double quote directly followed by a comma;
// a space put between every such pair keeps a text whole ("a",b -> "a" ,b).
QByteArray SeparateQuoteCommas(QByteArray text);

// The bookmark marker "[しおり]" in Shift-JIS.
QByteArray SioriMark();

// Stored form -> display form and back (all Shift-JIS bytes).
QByteArray Unquote(const QByteArray &text);
QByteArray DecodeLineBreaks(const QByteArray &text);
QByteArray EncodeLineBreaks(const QByteArray &text);
inline QByteArray DisplayForm(const QByteArray &stored) {
    return DecodeLineBreaks(Unquote(stored));
}

// Strict decimal integer (optional sign, digits only, signed 32-bit range).
bool ParseInt32(QByteArrayView text, qint32 *value);

// A field read from a file may open with a quote it never closes (‹"abc› from the line
// ‹"abc,d›); the reader ends it at the next comma, which holds only while no later field of the
// line ends in a quote before a comma. Once an edit breaks that, the open field is closed around
// its text (‹""abc"›, shown as before), so the line reads back as the card. A card whose line
// reads back is left byte for byte as it is.
void KeepLineReadable(TMondaiSet &card);

void AddSioriMark(TMondaiSet &card);
// Removes the first marker; false when one was removed, true when there was none.
bool RemoveSioriMark(TMondaiSet &card);
bool HasSioriMark(const TMondaiSet &card);
