#pragma once
// Turns the bytes of help pages and sitemaps into text. A page says its character set in a
// <meta> tag; without one, valid UTF-8 is taken as UTF-8 and anything else as Windows-1252, the
// code page in which help files have long been written.

#include <QByteArray>
#include <QString>

namespace hhctrl {

// The largest page, style sheet, contents or index shown. Help pages are a few kilobytes; Qt
// takes seconds to lay out a megabyte of text, and the window would stand still meanwhile.
constexpr qsizetype MaxHelpTextSize = qsizetype(1) << 20;

QString decodeHelpText(const QByteArray& bytes);

// Replaces character references (&eacute;, &#233;, &#xE9;, &amp;...) by their characters.
QString decodeEntities(const QString& text);

} // namespace hhctrl
