#include "platform/Cp1252.h"
#include "platform/Exceptions.h"
#include "platform/TextFile.h"
#include "platform/report/PageExport.h"
#include "platform/report/RecordedPages.h"
#include "platform/report/ReportEngine.h"
#include "tests/fixtures/FullDisk.h"
#include "tests/fixtures/ReportTestSupport.h"
#include "tests/fixtures/TemporaryFolder.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

const QString kHostil = QString::fromUtf8("Ana & \"Luis\" <S.A.> Peña € Ω\x01z");

// Codes right-aligned in 8 columns, names from column 12, a page header on
// each of the pages and a summary memo that wraps.
struct Listado {
  RowSource rows{NumberedRows(120)};
  ReportEngine report;
  RecordedPages pages;
  Listado() {
    rows.Rows()[0]["Nombre"] = kHostil;
    report.Source = &rows;
    Band& header = report.AddBand(BandKind::PageHeader, "Cabecera");
    header.Add(ItemKind::Label, "Titulo").Caption = "CLIENTES";
    Band& detail = report.AddBand(BandKind::Detail, "Detalle");
    ReportItem& code = detail.Add(ItemKind::DataText, "Codigo");
    code.DataField = "Codigo";
    code.Width = 64;
    code.Alignment = Qt::AlignRight | Qt::AlignTop;
    ReportItem& name = detail.Add(ItemKind::DataText, "Nombre");
    name.DataField = "Nombre";
    name.Left = 96;
    name.Width = 400;
    ReportItem& note = report.AddBand(BandKind::Summary, "Resumen").Add(ItemKind::Memo, "Nota");
    note.Caption = QStringList(30, "nota").join(' ');
    note.Width = 100;
    report.Run(pages);
  }
};

QStringList LinesOf(const QByteArray& bytes) {
  QStringList lines = Cp1252::decode(bytes).split("\r\n");
  EXPECT_EQ(lines.takeLast(), QString()) << "every line ends with CR LF";
  return lines;
}

class PageExportTest : public testing::Test {
 protected:
  QByteArray Export(ExportFormat format) {
    const QString file = folder.File("salida");
    ExportPages(listado.pages, format, file, "Clientes & <cía>");
    return TextFile::ReadBytes(file);
  }
  TemporaryFolder folder;
  Listado listado;
};

TEST_F(PageExportTest, TextKeepsTheColumnsOfThePage) {
  ASSERT_GT(listado.pages.PageCount(), 1);
  const QStringList lines = LinesOf(Export(ExportFormat::Text));
  EXPECT_EQ(lines.count("CLIENTES"), listado.pages.PageCount());
  EXPECT_EQ(lines.at(1).toStdString(), "       1    Ana & \"Luis\" <S.A.> Peña € ?z");
  EXPECT_EQ(lines.at(2).toStdString(), "       2    Fila 2");
  EXPECT_TRUE(lines.contains("     120    Fila 120"));
  EXPECT_GT(lines.filter("nota").size(), 1) << "the memo keeps its wrapped lines";
  EXPECT_EQ(lines.join(' ').count("nota"), 30);
}

TEST_F(PageExportTest, CsvGivesALinePerBandWithItsValuesQuoted) {
  const QStringList lines = LinesOf(Export(ExportFormat::Csv));
  EXPECT_EQ(lines.at(0).toStdString(), "\"CLIENTES\"");
  EXPECT_EQ(lines.at(1).toStdString(), "\"1\",\"Ana & \"\"Luis\"\" <S.A.> Peña € ?z\"");
  EXPECT_EQ(lines.at(2).toStdString(), "\"2\",\"Fila 2\"");
  EXPECT_EQ(lines.filter("\"Fila ").size() + 1, 120);
  EXPECT_EQ(lines.last(), '"' + QStringList(30, "nota").join(' ') + '"') << "the memo is one value";
}

// A page header and a numbered footer on each page, and a memo that runs
// over many pages between its record's other values.
TEST(PageExportCsv, ABandRunOnOverPagesIsOneRow) {
  const QString largo = QStringList(1500, "palabra").join(' ');
  RowSource rows{{{{"Codigo", "A"}, {"Nota", "corta"}, {"Marca", "*"}, {"Importe", 1.5}},
                  {{"Codigo", "B"}, {"Nota", largo}, {"Marca", ""}, {"Importe", 2.25}},
                  {{"Codigo", "C"}, {"Nota", "otra"}, {"Marca", "*"}, {"Importe", 4.0}}}};
  ReportEngine report;
  report.Source = &rows;
  report.AddBand(BandKind::PageHeader, "Cabecera").Add(ItemKind::Label, "Titulo").Caption = "LISTADO";
  Band& detail = report.AddBand(BandKind::Detail, "Detalle");
  const auto column = [&detail](ItemKind kind, const char* field, double left) -> ReportItem& {
    ReportItem& item = detail.Add(kind, field);
    item.DataField = field;
    item.Left = left;
    item.Width = 100;
    return item;
  };
  column(ItemKind::DataText, "Codigo", 0);
  column(ItemKind::Memo, "Nota", 120);
  column(ItemKind::DataText, "Marca", 240);
  column(ItemKind::DataText, "Importe", 360);
  Band& summary = report.AddBand(BandKind::Summary, "Totales");
  ReportItem& sum = summary.Add(ItemKind::Sum, "SumaImporte");
  sum.DataField = "Importe";
  sum.Left = 360;
  sum.Width = 100;
  ReportItem& page = report.AddBand(BandKind::PageFooter, "Pie").Add(ItemKind::PageNumber, "Pagina");
  page.Caption = "Página ";
  RecordedPages pages;
  report.Run(pages);
  ASSERT_GE(pages.PageCount(), 3);
  TemporaryFolder folder;
  const QString file = folder.File("salida.csv");
  ExportPages(pages, ExportFormat::Csv, file);

  // The memo's record does not fit under the first and starts the second page.
  std::vector<QStringList> expected = {
      {"LISTADO"}, {"A", "corta", "*", "1,5"}, {"Página 1"}, {"LISTADO"}, {"B", largo, "", "2,25"}};
  for (int number = 2; number < pages.PageCount(); ++number) {
    expected.push_back({"Página " + QString::number(number)});
    expected.push_back({"LISTADO"});
  }
  expected.push_back({"C", "otra", "*", "4"});
  expected.push_back({"7,75"});
  expected.push_back({"Página " + QString::number(pages.PageCount())});
  const std::vector<QStringList> read = CsvRows(file);
  ASSERT_EQ(read.size(), expected.size());
  for (std::size_t row = 0; row < read.size(); ++row) EXPECT_EQ(read[row], expected[row]) << row;
}

// An item switched off for some records, and sums switched off for some
// columns, leave an empty value in their column; a memo's line breaks, in
// any of their forms, stay inside its value. Every row has a field per
// column.
TEST(PageExportCsv, SwitchedOffItemsKeepTheirColumnsAndMemosTheirLineBreaks) {
  RowSource rows{{{{"Codigo", "A"}, {"Nota", "uno\r\ndos"}, {"Importe", 1.5}},
                  {{"Codigo", "B"}, {"Nota", "tres\nx, \"y\"\r\r"}, {"Importe", -2.0}},
                  {{"Codigo", "C"}, {"Nota", ""}, {"Importe", 3.0}}}};
  ReportEngine report;
  report.Source = &rows;
  Band& detail = report.AddBand(BandKind::Detail, "Detalle");
  Band& summary = report.AddBand(BandKind::Summary, "Totales");
  const auto item = [](Band& band, ItemKind kind, const QString& name, double left) -> ReportItem& {
    ReportItem& added = band.Add(kind, name);
    added.DataField = name;
    added.Left = left;
    added.Width = 100;
    return added;
  };
  item(detail, ItemKind::DataText, "Codigo", 0);
  item(detail, ItemKind::Memo, "Nota", 120);
  ReportItem& warning = item(detail, ItemKind::Label, "Aviso", 240);
  warning.Caption = "negativo";
  item(detail, ItemKind::DataText, "Importe", 360).AutoStretch = true;
  detail.BeforePrint = [&](Band&, bool&) { warning.Enabled = rows.Value("Importe").toDouble() < 0; };
  item(summary, ItemKind::Label, "Total", 0).Caption = "Total";
  item(summary, ItemKind::Sum, "Nota", 120).Enabled = false;
  item(summary, ItemKind::Sum, "Aviso", 240).Enabled = false;
  item(summary, ItemKind::Sum, "Importe", 360);
  RecordedPages pages;
  report.Run(pages);
  TemporaryFolder folder;
  const QString file = folder.File("columnas.csv");
  ExportPages(pages, ExportFormat::Csv, file);
  const std::vector<QStringList> expected = {{"A", "uno\r\ndos", "", "1,5"},
                                             {"B", "tres\r\nx, \"y\"\r\n\r\n", "negativo", "-2"},
                                             {"C", "", "", "3"},
                                             {"Total", "", "", "2,5"}};
  EXPECT_EQ(CsvRows(file), expected);
}

// Rows whose narrow columns wrap, even inside a word, and whose values are
// sometimes empty read back from the CSV as the data holds them, a field per
// column; the file is read by Python's csv module.
TEST(PageExportCsv, ReadsBackIntoTheRowsWithEmptyAndWrappedValues) {
  const std::vector<QVariantMap> datos = {
      {{"Codigo", "ADMIN"}, {"Nombre", "Administrador"}, {"Clave", ""}, {"Nota", "sin clave"}},
      {{"Codigo", "ANA"}, {"Nombre", ""}, {"Clave", "x  y,\"z\""}, {"Nota", ""}},
      {{"Codigo", ""}, {"Nombre", "José Pérez de la Constantinopolitana"}, {"Clave", "Peña"}, {"Nota", "€"}},
  };
  RowSource rows{datos};
  ReportEngine report;
  report.Source = &rows;
  Band& detail = report.AddBand(BandKind::Detail, "Detalle");
  double left = 0;
  for (const char* campo : {"Codigo", "Nombre", "Clave", "Nota"}) {
    ReportItem& item = detail.Add(ItemKind::DataText, campo);
    item.DataField = campo;
    item.Left = left;
    item.Width = 40;
    item.AutoStretch = true;
    left += 60;
  }
  RecordedPages pages;
  report.Run(pages);
  TemporaryFolder folder;
  const QString file = folder.File("salida.csv");
  ExportPages(pages, ExportFormat::Csv, file);

  const std::vector<QStringList> leidas = CsvRows(file);
  ASSERT_EQ(leidas.size(), datos.size());
  for (std::size_t fila = 0; fila < leidas.size(); ++fila) {
    QStringList esperados;
    for (const char* campo : {"Codigo", "Nombre", "Clave", "Nota"}) esperados << datos[fila].value(campo).toString();
    EXPECT_EQ(leidas[fila], esperados) << fila;
  }
}

TEST_F(PageExportTest, HtmlIsATableWithItsTextsEscaped) {
  const QByteArray bytes = Export(ExportFormat::Html);
  const QStringList lines = LinesOf(bytes);
  EXPECT_EQ(lines.at(1).toStdString(), "<html><head><meta charset=\"windows-1252\"><title>Clientes &amp; &lt;cía&gt;</title></head>"
                         "<body><table>");
  EXPECT_EQ(lines.at(2).toStdString(), "<tr><td>CLIENTES</td></tr>");
  EXPECT_EQ(lines.at(3).toStdString(), "<tr><td>1</td><td>Ana &amp; &quot;Luis&quot; &lt;S.A.&gt; Peña € &#937;z</td></tr>");
  EXPECT_EQ(lines.last().toStdString(), "</table></body></html>");
  EXPECT_TRUE(bytes.contains("Pe\xF1" "a \x80")) << "Windows-1252 bytes";
}

TEST_F(PageExportTest, AFullDiskRaisesAndLeavesTheTargetAsItWas) {
  const QString target = folder.File("salida.csv");
  TextFile::WriteBytes(target, "anterior");
  for (const ExportFormat format : {ExportFormat::Text, ExportFormat::Csv, ExportFormat::Html}) {
    {
      const FullDisk full(256);
      EXPECT_THROW(ExportPages(listado.pages, format, target), Exception);
    }
    EXPECT_EQ(TextFile::ReadBytes(target), "anterior");
    EXPECT_EQ(QDir(folder.Path()).entryList(QDir::Files | QDir::Hidden), QStringList({"salida.csv"}));
  }
  EXPECT_THROW(ExportPages(listado.pages, ExportFormat::Csv, folder.File("no/existe.csv")), Exception);
}

}  // namespace
