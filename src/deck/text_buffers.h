#pragma once

#include <QByteArray>
#include <QtGlobal>

// The buffers cards keep their texts in, by number (see CardSource). A buffer stays while it
// has users: the cards whose texts lie in it, and whoever made it while slicing. Used on one
// thread at a time.
namespace text_buffers {

// A new buffer with one user, the caller. Its number is never 0.
quint32 Add(const QByteArray &bytes);
const QByteArray &Buffer(quint32 id);
const char *Bytes(quint32 id);
// The count of users, to count them up quickly while many cards are made.
qint64 &Users(quint32 id);
void Retain(quint32 id);
// The buffer goes with its last user, and its number is given out again.
void Release(quint32 id);
// How many buffers are held now.
qsizetype LiveCount();

} // namespace text_buffers
