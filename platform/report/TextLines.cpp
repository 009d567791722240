#include "platform/report/TextLines.h"

#include "platform/report/PageSetup.h"

#include <QFontMetricsF>

#include <algorithm>

QString PrintableText(const QString& text) {
  QString printable;
  printable.reserve(text.size());
  for (QChar character : text) {
    if (character == u'\n' || character == u'\t') printable += character;
    else if (character == u'\r') continue;
    else if (character.category() == QChar::Other_Control) continue;
    else printable += character;
  }
  return printable;
}

QFont UnitFont(const QFont& font) {
  if (font.pixelSize() > 0) return font;
  QFont sized = font;
  sized.setPixelSize(std::max(1, qRound(font.pointSizeF() * kReportDpi / 72.0)));
  return sized;
}

double LineHeight(const QFont& font) { return QFontMetricsF(UnitFont(font)).height(); }

namespace {

// Appends the pieces of one paragraph; a word wider than the line is cut by characters.
void wrapParagraph(const QString& paragraph, const QFontMetricsF& metrics, double width, qsizetype maxLines,
                   QStringList& lines) {
  QString line;
  qsizetype position = 0;
  while (position < paragraph.size()) {
    if (maxLines >= 0 && lines.size() >= maxLines) return;
    qsizetype end = paragraph.indexOf(u' ', position);
    if (end < 0) end = paragraph.size();
    QString word = paragraph.mid(position, end - position);
    position = end + 1;
    const QString candidate = line.isEmpty() ? word : line + u' ' + word;
    if (metrics.horizontalAdvance(candidate) <= width) {
      line = candidate;
      continue;
    }
    if (!line.isEmpty()) {
      lines << line;
      line.clear();
    }
    qsizetype start = 0;
    double advance = 0;
    for (qsizetype index = 0; index < word.size(); ++index) {
      const double character = metrics.horizontalAdvance(word.at(index));
      if (advance + character > width && index > start) {
        lines << word.mid(start, index - start);
        start = index;
        advance = 0;
      }
      advance += character;
    }
    line = word.mid(start);
  }
  lines << line;
}

}  // namespace

QStringList WrapText(const QString& text, const QFont& font, double width, qsizetype maxLines) {
  QStringList lines;
  if (text.isEmpty() || maxLines == 0) return lines;
  const QFontMetricsF metrics(UnitFont(font));
  const QStringList paragraphs = PrintableText(text).split(u'\n');
  for (const QString& paragraph : paragraphs) {
    if (maxLines >= 0 && lines.size() >= maxLines) break;
    wrapParagraph(QString(paragraph).replace(u'\t', u' '), metrics, width, maxLines, lines);
  }
  if (maxLines >= 0 && lines.size() > maxLines) lines.resize(maxLines);
  return lines;
}
