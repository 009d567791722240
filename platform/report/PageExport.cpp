#include "platform/report/PageExport.h"

#include "platform/Cp1252.h"
#include "platform/Exceptions.h"
#include "platform/report/BandTexts.h"
#include "platform/report/RecordedPages.h"

#include <QRegularExpression>
#include <QSaveFile>

#include <cmath>

namespace {

constexpr double kColumnWidth = 8;  // a character of a 10-point fixed font on the report's 96 dpi
const QString kLineEnd = QStringLiteral("\r\n");

// Control characters would break the lines and rows of the file.
QString printable(const QString& text) {
  QString kept;
  kept.reserve(text.size());
  for (QChar character : text) kept += character.unicode() < 0x20 || character.unicode() == 0x7f ? u' ' : character;
  return kept;
}

QString textLine(const std::vector<PageCell>& cells, double leftEdge) {
  QString line;
  for (const PageCell& cell : cells) {
    if (cell.text.isEmpty()) continue;
    const QString text = printable(cell.text);
    const bool right = cell.alignment & Qt::AlignRight;
    const double edge = (right ? cell.rect.right() : cell.rect.left()) - leftEdge;
    qsizetype column = std::max<qsizetype>(0, std::lround(edge / kColumnWidth) - (right ? text.size() : 0));
    if (!line.isEmpty() && column <= line.size()) column = line.size() + 1;
    line += QString(column - line.size(), u' ') + text;
  }
  return line;
}

// A value's line breaks stay inside its quotes, as the file's own.
QString csvValue(const QString& value) {
  static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
  QStringList lines = value.split(lineBreak);
  for (QString& line : lines) line = printable(line);
  QString quoted = lines.join(kLineEnd);
  quoted.replace(u'"', QStringLiteral("\"\""));
  return u'"' + quoted + u'"';
}

// What the code page lacks goes as a character reference.
QByteArray htmlBytes(const QString& html) {
  QByteArray bytes;
  bytes.reserve(html.size());
  for (const char32_t code : html.toUcs4()) {
    const QString character = QString::fromUcs4(&code, 1);
    bytes += Cp1252::Holds(character) ? Cp1252::encode(character) : "&#" + QByteArray::number(quint32(code)) + ';';
  }
  return bytes;
}

QString htmlCell(const QString& value) { return QStringLiteral("<td>") + printable(value).toHtmlEscaped() + QStringLiteral("</td>"); }

class Output {
 public:
  explicit Output(const QString& fileName) : file_(fileName) {
    if (!file_.open(QIODevice::WriteOnly)) throw Exception(file_.errorString());
  }
  void Write(const QByteArray& bytes) {
    if (file_.write(bytes) != bytes.size()) throw Exception(file_.errorString());
  }
  void Commit() {
    // The save file does not fail its commit when the last bytes cannot be flushed.
    if (!file_.flush() || file_.error() != QFileDevice::NoError || !file_.commit()) throw Exception(file_.errorString());
  }

 private:
  QSaveFile file_;
};

}  // namespace

void ExportPages(const RecordedPages& pages, ExportFormat format, const QString& fileName, const QString& title) {
  Output output(fileName);
  const double leftEdge = pages.Setup().LeftEdge();
  if (format == ExportFormat::Html)
    output.Write(htmlBytes(QStringLiteral("<!DOCTYPE html>") + kLineEnd +
                           QStringLiteral("<html><head><meta charset=\"windows-1252\"><title>") +
                           printable(title).toHtmlEscaped() + QStringLiteral("</title></head><body><table>") + kLineEnd));
  ForEachBand(pages, [&](const BandTexts& band) {
    switch (format) {
      case ExportFormat::Text:
        for (const auto& line : band.lines) output.Write(Cp1252::encode(textLine(line, leftEdge) + kLineEnd));
        break;
      case ExportFormat::Csv:
        for (const QStringList& row : band.Rows()) {
          QStringList values;
          for (const QString& value : row) values << csvValue(value);
          output.Write(Cp1252::encode(values.join(u',') + kLineEnd));
        }
        break;
      case ExportFormat::Html:
        for (const QStringList& row : band.Rows()) {
          QString cells = QStringLiteral("<tr>");
          for (const QString& value : row) cells += htmlCell(value);
          output.Write(htmlBytes(cells + QStringLiteral("</tr>") + kLineEnd));
        }
        break;
    }
  });
  if (format == ExportFormat::Html) output.Write(QByteArrayLiteral("</table></body></html>\r\n"));
  output.Commit();
}
