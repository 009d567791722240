#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

// Breaks a text into the lines it takes at a width: at its own line breaks,
// then between words, and inside a word longer than the width. Control
// characters are left out, so no output device is handed them. A limit of
// lines stops the work there; -1 takes them all.
QStringList WrapText(const QString& text, const QFont& font, double width, qsizetype maxLines = -1);
QString PrintableText(const QString& text);
// The font sized in report units: a size in points is taken at 96 dpi, as
// the designer meant it, and not at the resolution of the device drawn on.
QFont UnitFont(const QFont& font);
double LineHeight(const QFont& font);
