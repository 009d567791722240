#include "tests/platform/report/ReportTestSupport.h"

#include <QProcess>
#include <QRegularExpression>
#include <QXmlStreamReader>

std::vector<QVariantMap> NumberedRows(int count) {
  std::vector<QVariantMap> rows;
  for (int row = 1; row <= count; ++row)
    rows.push_back({{QStringLiteral("Codigo"), row}, {QStringLiteral("Nombre"), QStringLiteral("Fila %1").arg(row)}});
  return rows;
}

QStringList TextsOf(const PageRecord& page) {
  QStringList texts;
  for (const PageCell& cell : page.cells)
    if (cell.kind == PageCell::Kind::Text) texts << cell.text;
  return texts;
}

QStringList TextsOfItem(const PageRecord& page, const QString& item) {
  QStringList texts;
  for (const PageCell& cell : page.cells)
    if (cell.kind == PageCell::Kind::Text && cell.item == item) texts << cell.text;
  return texts;
}

namespace {

QByteArray run(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  process.waitForFinished(60000);
  return process.readAllStandardOutput();
}

}  // namespace

std::vector<PdfWord> PdfWords(const QString& fileName) {
  std::vector<PdfWord> words;
  QXmlStreamReader xml(run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), fileName, QStringLiteral("-")}));
  int page = 0;
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    if (xml.name() == u"page") ++page;
    if (xml.name() != u"word") continue;
    PdfWord word;
    word.page = page;
    word.x = xml.attributes().value(QStringLiteral("xMin")).toDouble();
    word.y = xml.attributes().value(QStringLiteral("yMin")).toDouble();
    word.text = xml.readElementText();
    words.push_back(word);
  }
  return words;
}

QVariantMap PdfInfo(const QString& fileName) {
  QVariantMap info;
  const QString text = QString::fromUtf8(run(QStringLiteral("pdfinfo"), {fileName}));
  for (const QString& line : text.split(u'\n')) {
    const qsizetype colon = line.indexOf(u':');
    if (colon > 0) info.insert(line.left(colon).trimmed(), line.mid(colon + 1).trimmed());
  }
  return info;
}
