#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace exchange {

// A field written as HTML, reduced to the text a card shows (Shift-JIS bytes in and out):
// <br> and the ends of <div> and <p> blocks become line breaks (LF); character references
// (&amp;, &lt;, &#12354;, &#x1F600; ...) are decoded; <img>, <audio>, <video> and <source> keep
// the file they name as text; every other tag is dropped. Decoded characters Shift-JIS cannot
// hold are left out and added to `unencodable`.
QByteArray HtmlToText(QByteArrayView html, QString *unencodable);

// Plain text as HTML: &, < and > escaped, line breaks (CR LF, CR, LF) as <br>.
QByteArray TextToHtml(QByteArrayView text);

} // namespace exchange
