#include "platform/Exceptions.h"
#include "platform/report/PdfSink.h"
#include "platform/report/ReportEngine.h"
#include "tests/fixtures/TemporaryFolder.h"
#include "tests/fixtures/ReportTestSupport.h"

#include <QFile>
#include "platform/report/RecordedPages.h"

#include <gtest/gtest.h>

namespace {

constexpr double kPointsPerUnit = 72.0 / 96.0;

struct PdfReport {
  RowSource rows;
  ReportEngine report;
  PdfReport(int count, PaperSize paper, QPageLayout::Orientation orientation) : rows(NumberedRows(count)) {
    report.Source = &rows;
    report.Page.Paper = paper;
    report.Page.Orientation = orientation;
    Band& detail = report.AddBand(BandKind::Detail, "Detalle");
    detail.Height = 20;
    ReportItem& code = detail.Add(ItemKind::DataText, "Codigo");
    code.DataField = "Codigo";
    code.Left = 100;
    ReportItem& name = detail.Add(ItemKind::DataText, "Nombre");
    name.DataField = "Nombre";
    name.Left = 250;
  }
};

struct PaperCase {
  PaperSize paper;
  QPageLayout::Orientation orientation;
  const char* pageSize;  // as pdfinfo gives it
  double scale;          // of the report's page on the PDF's
};

class PdfPapers : public testing::TestWithParam<PaperCase> {};

TEST_P(PdfPapers, PagesComeOutInTheirPaperWithTextWhereItWasPlaced) {
  TemporaryFolder folder;
  const QString target = folder.File("salida.pdf");
  PdfReport pdf(120, GetParam().paper, GetParam().orientation);
  PdfSink sink(target);
  const int pages = pdf.report.Run(sink);
  ASSERT_GT(pages, 1);
  const QVariantMap info = PdfInfo(target);
  EXPECT_EQ(info.value("Pages").toInt(), pages);
  EXPECT_TRUE(info.value("Page size").toString().startsWith(GetParam().pageSize)) << info.value("Page size").toString().toStdString();

  const std::vector<PdfWord> words = PdfWords(target);
  std::vector<PdfWord> firstRow;
  for (const PdfWord& word : words)
    if (word.page == 1 && (word.text == "1" || word.text == "Fila")) firstRow.push_back(word);
  ASSERT_GE(firstRow.size(), 2u);
  const double margin = MillimetresToUnits(10);
  EXPECT_NEAR(firstRow[0].x, (margin + 100) * kPointsPerUnit * GetParam().scale, 1.0);
  EXPECT_NEAR(firstRow[1].x, (margin + 250) * kPointsPerUnit * GetParam().scale, 1.0);
  EXPECT_NEAR(firstRow[0].y, margin * kPointsPerUnit * GetParam().scale, 4.0);
  int rows = 0;
  for (const PdfWord& word : words) rows += word.text == "Fila";
  EXPECT_EQ(rows, 120);
}

INSTANTIATE_TEST_SUITE_P(
    Papers, PdfPapers,
    testing::Values(PaperCase{PaperSize::A4, QPageLayout::Portrait, "595 x 842", 1.0},
                    PaperCase{PaperSize::A3, QPageLayout::Landscape, "1191 x 842", 1.0},
                    PaperCase{PaperSize::A5, QPageLayout::Portrait, "420 x 595", 1.0},
                    // Letter is printed on A4, scaled to its width.
                    PaperCase{PaperSize::Letter, QPageLayout::Portrait, "595 x 842", 794.0 / 816.0}));

TEST(PdfOutputTest, HostileTextsAndLongMemosReadBack) {
  TemporaryFolder folder;
  const QString target = folder.File("hostil.pdf");
  RowSource rows({{{"Texto", QString::fromUtf8("<b>&amp; \"comillas\" 'simples' \x01\x02\x1b fin €uro ñandú")},
                   {"Memo", QString("abcdefghij ").repeated(10000)}}});
  ReportEngine report;
  report.Source = &rows;
  Band& detail = report.AddBand(BandKind::Detail, "Detalle");
  ReportItem& text = detail.Add(ItemKind::DataText, "Texto");
  text.DataField = "Texto";
  text.Width = 600;
  ReportItem& memo = detail.Add(ItemKind::Memo, "Memo");
  memo.DataField = "Memo";
  memo.Top = 20;
  memo.Width = 600;
  PdfSink sink(target);
  const int pages = report.Run(sink);
  EXPECT_GT(pages, 10);
  QStringList firstLine;
  int memoWords = 0;
  for (const PdfWord& word : PdfWords(target)) {
    if (word.page == 1 && firstLine.size() < 7) firstLine << word.text;
    memoWords += word.text == "abcdefghij";
  }
  EXPECT_EQ(firstLine.join(' ').toStdString(), "<b>&amp; \"comillas\" 'simples' fin €uro ñandú abcdefghij");
  EXPECT_EQ(memoWords, 10000);
}

TEST(PdfOutputTest, AnUnwritableTargetRaisesAndWritesNothing) {
  TemporaryFolder folder;
  PdfReport pdf(3, PaperSize::A4, QPageLayout::Portrait);
  PdfSink sink(folder.File("no/existe/salida.pdf"));
  EXPECT_THROW(pdf.report.Run(sink), Exception);
  EXPECT_FALSE(QFile::exists(folder.File("no")));
}

TEST(PdfOutputTest, AnUnreadablePictureLeavesItsItemEmpty) {
  TemporaryFolder folder;
  QFile broken(folder.File("roto.png"));
  ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
  broken.write("\x89PNG\r\n\x1a\nbasura");
  broken.close();
  RowSource rows({{{"Foto", PngPicture(40, 20)}}});
  ReportEngine report;
  report.Source = &rows;
  Band& detail = report.AddBand(BandKind::Detail, "Detalle");
  detail.Add(ItemKind::Picture, "Roto").PictureFile = broken.fileName();
  detail.Add(ItemKind::Picture, "Falta").PictureFile = folder.File("falta.png");
  detail.Add(ItemKind::Picture, "Campo").DataField = "Foto";
  RecordedPages pages;
  ASSERT_EQ(report.Run(pages), 1);
  const PageRecord page = pages.Page(1);
  ASSERT_EQ(page.cells.size(), 1u);
  EXPECT_EQ(page.cells[0].item, "Campo");
  EXPECT_EQ(page.cells[0].picture.pixelColor(5, 5), QColor(Qt::red));
}

}  // namespace

namespace {

// A font sized in points prints at that size at any device resolution: the
// words of a line sit where they sit with the same font sized in pixels.
TEST(PdfOutputTest, AFontInPointsKeepsItsSizeOnTheDevice) {
  TemporaryFolder folder;
  std::vector<double> positions[2];
  for (int sized = 0; sized < 2; ++sized) {
    RowSource rows({{{"Texto", "uno dos tres cuatro"}}});
    ReportEngine report;
    report.Source = &rows;
    ReportItem& text = report.AddBand(BandKind::Detail, "Detalle").Add(ItemKind::DataText, "Texto");
    text.DataField = "Texto";
    text.Width = 600;
    text.Font = QFont("Arial");
    if (sized) text.Font.setPixelSize(16);
    else text.Font.setPointSize(12);
    const QString target = folder.File(QString("letra%1.pdf").arg(sized));
    PdfSink sink(target);
    report.Run(sink);
    for (const PdfWord& word : PdfWords(target)) positions[sized].push_back(word.x);
  }
  ASSERT_EQ(positions[0].size(), 4u) << "every word printed";
  ASSERT_EQ(positions[1].size(), 4u);
  for (std::size_t word = 0; word < 4; ++word) EXPECT_NEAR(positions[0][word], positions[1][word], 0.5) << word;
}

}  // namespace
