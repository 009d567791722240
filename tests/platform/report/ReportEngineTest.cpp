#include "platform/Exceptions.h"
#include "platform/report/PdfSink.h"
#include "platform/report/RecordedPages.h"
#include "platform/report/ReportEngine.h"
#include "tests/fixtures/TemporaryFolder.h"
#include "tests/fixtures/ReportTestSupport.h"

#include <QDir>
#include <QFile>

#include <random>

#include <gtest/gtest.h>

namespace {

// A list of the usual shape: header, detail with code and name, footer with
// the page's last code and the page number.
struct Listing {
  RowSource rows;
  ReportEngine report;
  explicit Listing(int count) : rows(NumberedRows(count)) {
    report.Source = &rows;
    Band& header = report.AddBand(BandKind::PageHeader, QStringLiteral("Cabecera"));
    header.Height = 30;
    header.Add(ItemKind::Label, QStringLiteral("Titulo")).Caption = QStringLiteral("Listado de Filas");
    Band& detail = report.AddBand(BandKind::Detail, QStringLiteral("Detalle"));
    detail.Height = 20;
    detail.Add(ItemKind::DataText, QStringLiteral("Codigo")).DataField = QStringLiteral("Codigo");
    ReportItem& name = detail.Add(ItemKind::DataText, QStringLiteral("Nombre"));
    name.DataField = QStringLiteral("Nombre");
    name.Left = 120;
    Band& footer = report.AddBand(BandKind::PageFooter, QStringLiteral("Pie"));
    footer.Height = 30;
    footer.Add(ItemKind::DataText, QStringLiteral("Ultimo")).DataField = QStringLiteral("Codigo");
    ReportItem& page = footer.Add(ItemKind::PageNumber, QStringLiteral("Pagina"));
    page.Caption = QStringLiteral("Página ");
    page.Left = 500;
  }
};

class CountingSink : public PageSink {
 public:
  int begun = 0, pages = 0, ended = 0;
  void Begin(const PageSetup&) override { ++begun; }
  void AddPage(const PageRecord&) override { ++pages; }
  void End() override { ++ended; }
};

struct FirstAndLastCase {
  bool firstPageHeader;
  bool lastPageFooter;
};

class FirstAndLastPageBands : public testing::TestWithParam<FirstAndLastCase> {};

TEST_P(FirstAndLastPageBands, BreakBeforeTheFooterAndCarryHeadersAsAsked) {
  Listing listing(100);
  listing.report.FirstPageHeader = GetParam().firstPageHeader;
  listing.report.LastPageFooter = GetParam().lastPageFooter;
  RecordedPages pages;
  // Room between header and footer on A4 with 10 mm margins: 49 rows of 20.
  const int headerRoom = GetParam().firstPageHeader ? 49 : 50;
  const int expectedPages = 1 + (100 - headerRoom + 48) / 49;
  ASSERT_EQ(listing.report.Run(pages), expectedPages);
  ASSERT_EQ(pages.PageCount(), expectedPages);

  const PageRecord first = pages.Page(1);
  EXPECT_EQ(TextsOfItem(first, "Titulo").size(), GetParam().firstPageHeader ? 1 : 0);
  EXPECT_EQ(TextsOfItem(first, "Codigo").size(), headerRoom);
  // The footer shows the page's own last record, not the one that did not fit.
  EXPECT_EQ(TextsOfItem(first, "Ultimo"), QStringList{QString::number(headerRoom)});
  EXPECT_EQ(TextsOfItem(first, "Pagina"), QStringList{"Página 1"});
  const PageRecord second = pages.Page(2);
  EXPECT_EQ(TextsOfItem(second, "Titulo").size(), 1);
  EXPECT_EQ(TextsOfItem(second, "Codigo").first(), QString::number(headerRoom + 1));
  const PageRecord last = pages.Page(expectedPages);
  EXPECT_EQ(TextsOfItem(last, "Codigo").last(), "100");
  EXPECT_EQ(TextsOfItem(last, "Pagina").size(), GetParam().lastPageFooter ? 1 : 0);

  int rows = 0;
  for (int page = 1; page <= expectedPages; ++page) {
    const PageRecord record = pages.Page(page);
    rows += TextsOfItem(record, "Codigo").size();
    for (const PageCell& cell : record.cells) EXPECT_LE(cell.rect.bottom(), 1123 - 37.7) << page;
  }
  EXPECT_EQ(rows, 100);
}

INSTANTIATE_TEST_SUITE_P(Pages, FirstAndLastPageBands,
                         testing::Values(FirstAndLastCase{true, true}, FirstAndLastCase{false, true},
                                         FirstAndLastCase{true, false}, FirstAndLastCase{false, false}));

TEST(ReportEngineTest, AnEmptySourceMakesNoPageAndLeavesTheSinkUntouched) {
  Listing listing(0);
  CountingSink sink;
  EXPECT_EQ(listing.report.Run(sink), 0);
  EXPECT_EQ(sink.begun + sink.pages + sink.ended, 0);
}

TEST(ReportEngineTest, AMemoStretchesItsBandAndPushesTheNextDown) {
  Listing listing(3);
  listing.rows.Rows()[0].insert("Notas", QString("palabra ").repeated(60));
  Band& detail = *listing.report.FindBand("Detalle");
  ReportItem& memo = detail.Add(ItemKind::Memo, "Notas");
  memo.DataField = "Notas";
  memo.Left = 300;
  memo.Width = 150;
  RecordedPages pages;
  listing.report.Run(pages);
  const PageRecord page = pages.Page(1);
  std::vector<double> tops;
  int memoLines = 0;
  double lineHeight = 0;
  for (const PageCell& cell : page.cells) {
    if (cell.item == "Codigo") tops.push_back(cell.rect.top());
    if (cell.item == "Notas" && !cell.text.isEmpty()) {
      ++memoLines;
      lineHeight = cell.rect.height();
      EXPECT_LE(cell.rect.width(), 150);
    }
  }
  ASSERT_EQ(tops.size(), 3u);
  EXPECT_GT(memoLines, 3);
  EXPECT_NEAR(tops[1] - tops[0], memoLines * lineHeight, 0.01);
  EXPECT_NEAR(tops[2] - tops[1], 20, 0.01);
}

TEST(ReportEngineTest, GroupsPrintTheirHeadersFootersAndSumsAtEachBreak) {
  RowSource rows({{{"Zona", "N"}, {"Ruta", "1"}, {"Importe", 10.0}},
                  {{"Zona", "N"}, {"Ruta", "1"}, {"Importe", 5.5}},
                  {{"Zona", "N"}, {"Ruta", "2"}, {"Importe", 1.0}},
                  {{"Zona", "S"}, {"Ruta", "2"}, {"Importe", 100.0}}});
  ReportEngine report;
  report.Source = &rows;
  Band& zone = report.AddBand(BandKind::GroupHeader, "CabeceraZona");
  zone.Expression = "Zona";
  zone.Add(ItemKind::DataText, "Zona").DataField = "Zona";
  Band& route = report.AddBand(BandKind::GroupHeader, "CabeceraRuta");
  route.Expression = "Zona+Ruta";
  route.Add(ItemKind::DataText, "Ruta").DataField = "Ruta";
  report.AddBand(BandKind::Detail, "Detalle").Add(ItemKind::DataText, "Importe").DataField = "Importe";
  Band& routeEnd = report.AddBand(BandKind::GroupFooter, "PieRuta");
  route.Footer = &routeEnd;
  routeEnd.Add(ItemKind::DataText, "FinRuta").DataField = "Ruta";
  ReportItem& routeSum = routeEnd.Add(ItemKind::Sum, "SumaRuta");
  routeSum.DataField = "Importe";
  routeSum.DisplayMask = "#,##0.00";
  Band& zoneEnd = report.AddBand(BandKind::GroupFooter, "PieZona");
  zone.Footer = &zoneEnd;
  zoneEnd.Add(ItemKind::DataText, "FinZona").DataField = "Zona";
  ReportItem& zoneSum = zoneEnd.Add(ItemKind::Sum, "SumaZona");
  zoneSum.DataField = "Importe";
  zoneSum.DisplayMask = "#,##0.00";
  ReportItem& total = report.AddBand(BandKind::Summary, "Resumen").Add(ItemKind::Sum, "Total");
  total.DataField = "Importe";
  total.DisplayMask = "#,##0.00";
  RecordedPages pages;
  ASSERT_EQ(report.Run(pages), 1);
  EXPECT_EQ(TextsOf(pages.Page(1)).join(' ').toStdString(),
            "N 1 10 5,5 1 15,50 2 1 2 1,00 N 16,50 S 2 100 2 100,00 S 100,00 116,50");
}

namespace {

// The text a summary's sum prints over the amounts, with the mask given.
std::string PrintedTotal(const std::vector<double>& amounts, const QString& mask = QString()) {
  std::vector<QVariantMap> rows;
  for (const double amount : amounts) rows.push_back({{"Importe", amount}});
  RowSource source(std::move(rows));
  ReportEngine report;
  report.Source = &source;
  report.AddBand(BandKind::Detail, "Detalle").Height = 0;
  ReportItem& total = report.AddBand(BandKind::Summary, "Resumen").Add(ItemKind::Sum, "Total");
  total.DataField = "Importe";
  total.DisplayMask = mask;
  RecordedPages pages;
  report.Run(pages);
  return TextsOf(pages.Page(pages.PageCount())).join(' ').toStdString();
}

// Amounts written with three decimals, as thousandths, and the decimal text
// of their total, both worked out in integers.
struct ThousandthAmounts {
  std::vector<double> amounts;
  qint64 total = 0;
  void Add(qint64 thousandths) {
    amounts.push_back(static_cast<double>(thousandths) / 1000);
    total += thousandths;
  }
  std::string TotalText() const {
    const qint64 whole = std::abs(total) / 1000;
    QString fraction = QStringLiteral("%1").arg(std::abs(total) % 1000, 3, 10, QChar(u'0'));
    while (fraction.endsWith(u'0')) fraction.chop(1);
    return ((total < 0 ? u"-"_qs : QString()) + QString::number(whole) +
            (fraction.isEmpty() ? QString() : u","_qs + fraction))
        .toStdString();
  }
};

}  // namespace

// Amounts as a table holds them: a total without a mask shows the sum of
// the amounts, not the error of adding their binary approximations.
TEST(ReportEngineTest, SumsWithoutAMaskPrintTheTotalOfTheAmounts) {
  const std::tuple<double, double, int, const char*> repeated[] = {
      {0.01, 0.01, 1000, "10"},
      {19.99, 19.99, 3000, "59970"},
      {12.34, 12.34, 100000, "1234000"},
      {19.99, -0.01, 10000, "99900"},
      {1e308, 1e308, 2, "INF"},
  };
  for (const auto& [odd, even, count, expected] : repeated) {
    std::vector<double> amounts;
    for (int row = 0; row < count; ++row) amounts.push_back(row % 2 ? even : odd);
    EXPECT_EQ(PrintedTotal(amounts), expected) << odd << " x " << count;
  }
  // Invoices of k x 12.345 either way, cents, and both mixed, the last
  // amount of each bringing the total near zero, where the amounts' own
  // binary error shows most: each total prints as the decimal the amounts
  // add up to.
  std::mt19937 random(20240517);
  const auto sign = [&random] { return random() % 2 ? 1 : -1; };
  for (int round = 0; round < 8; ++round) {
    ThousandthAmounts multiples, cents, mixed;
    for (int row = 0; row < 3000; ++row) {
      multiples.Add(sign() * qint64(1 + random() % 999) * 12345);
      cents.Add(sign() * qint64(random() % 10'000'000) * 10);
      mixed.Add(row % 3 ? sign() * qint64(random() % 100'000) * 10 : sign() * qint64(random() % 1'000'000));
    }
    multiples.Add(-multiples.total + sign() * qint64(random() % 10) * 12345);
    cents.Add(-cents.total + sign() * qint64(random() % 10'000) * 10);
    mixed.Add(-mixed.total + sign() * qint64(random() % 100'000));
    EXPECT_EQ(PrintedTotal(multiples.amounts), multiples.TotalText()) << "multiples of 12.345, round " << round;
    EXPECT_EQ(PrintedTotal(cents.amounts), cents.TotalText()) << "cents, round " << round;
    EXPECT_EQ(PrintedTotal(mixed.amounts), mixed.TotalText()) << "two and three decimals, round " << round;
  }
  ThousandthAmounts cancelling;
  for (int row = 0; row < 3000; ++row) cancelling.Add(row % 2 ? -12345 : 12345 * 7);
  cancelling.Add(-12345 * 3 * 3000 + 49380);
  EXPECT_EQ(PrintedTotal(cancelling.amounts), "49,38");
  // A mask keeps its own rounding.
  EXPECT_EQ(PrintedTotal({1.234, 2.345, -0.5}, u"0.00"_qs), "3,08");
  EXPECT_EQ(PrintedTotal({0.1, 0.2}, u"0.000"_qs), "0,300");
}

TEST(ReportEngineTest, AGroupHeaderForcedOnANewPageStartsOneForEachGroup) {
  RowSource rows({{{"Zona", "N"}}, {{"Zona", "N"}}, {{"Zona", "S"}}, {{"Zona", "T"}}});
  ReportEngine report;
  report.Source = &rows;
  Band& zone = report.AddBand(BandKind::GroupHeader, "CabeceraZona");
  zone.Expression = "Zona";
  zone.ForceNewPage = true;
  zone.Add(ItemKind::DataText, "Zona").DataField = "Zona";
  report.AddBand(BandKind::Detail, "Detalle");
  RecordedPages pages;
  ASSERT_EQ(report.Run(pages), 3);
  EXPECT_EQ(TextsOf(pages.Page(1)), QStringList{"N"});
  EXPECT_EQ(TextsOf(pages.Page(3)), QStringList{"T"});
}

TEST(ReportEngineTest, ABandTallerThanThePageRunsOnOverPagesInOrder) {
  Listing listing(2);
  QStringList lines;
  for (int line = 1; line <= 400; ++line) lines << QStringLiteral("L%1").arg(line);
  listing.rows.Rows()[0].insert("Notas", lines.join('\n'));
  Band& detail = *listing.report.FindBand("Detalle");
  ReportItem& memo = detail.Add(ItemKind::Memo, "Notas");
  memo.DataField = "Notas";
  memo.Left = 300;
  // A shape taller than any page is cut, never waited for.
  ReportItem& frame = detail.Add(ItemKind::Shape, "Marco");
  frame.Top = 5;
  frame.Height = 5000;
  RecordedPages pages;
  const int count = listing.report.Run(pages);
  EXPECT_GE(count, 6);
  QStringList printed, codes;
  for (int page = 1; page <= count; ++page) {
    printed << TextsOfItem(pages.Page(page), "Notas");
    codes << TextsOfItem(pages.Page(page), "Codigo");
  }
  EXPECT_EQ(printed.takeLast(), QString()) << "the second row's empty memo keeps its place";
  EXPECT_EQ(printed.join(' ').toStdString(), lines.join(' ').toStdString());
  EXPECT_EQ(codes.join(' ').toStdString(), "1 2");
}

TEST(ReportEngineTest, PrintHandlersChangeBandsAndTextsAsTheyPrint) {
  Listing listing(6);
  Band& detail = *listing.report.FindBand("Detalle");
  detail.BeforePrint = [](Band& band, bool& print) {
    static int calls = 0;
    print = ++calls % 2 == 1;
    band.Height = 40;
  };
  detail.Item("Nombre")->OnPrint = [](ReportItem& item, QString& text) {
    text = text.toUpper();
    item.Tag = 1000;
  };
  listing.report.FindItem("Titulo")->Enabled = false;
  RecordedPages pages;
  listing.report.Run(pages);
  const PageRecord page = pages.Page(1);
  EXPECT_EQ(TextsOfItem(page, "Nombre"), QStringList({"FILA 1", "FILA 3", "FILA 5"}));
  EXPECT_TRUE(TextsOfItem(page, "Titulo").isEmpty());
  EXPECT_EQ(listing.report.FindItem("Nombre")->Tag, 1000);
}

TEST(ReportEngineTest, ACancelledRunLeavesThePdfTargetAsItWas) {
  TemporaryFolder folder;
  const QString target = folder.File("listado.pdf");
  {
    QFile earlier(target);
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("anterior");
  }
  Listing listing(500);
  qint64 seen = 0;
  listing.report.OnProgress = [&](qint64 records) { seen = records; };
  listing.report.Cancelled = [&] { return seen >= 120; };
  {
    PdfSink pdf(target);
    EXPECT_EQ(listing.report.Run(pdf), 2);
  }
  EXPECT_TRUE(listing.report.WasCancelled());
  EXPECT_EQ(seen, 120);
  QFile kept(target);
  ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
  EXPECT_EQ(kept.readAll(), "anterior");
}

TEST(ReportEngineTest, AFailureMidwayLeavesNoFileBehind) {
  TemporaryFolder folder;
  const QString target = folder.File("listado.pdf");
  Listing listing(200);
  listing.report.FindBand("Detalle")->BeforePrint = [](Band&, bool&) {
    static int calls = 0;
    if (++calls == 150) throw Exception("fallo");
  };
  {
    PdfSink pdf(target);
    EXPECT_THROW(listing.report.Run(pdf), Exception);
  }
  EXPECT_FALSE(QFile::exists(target));
  EXPECT_EQ(QDir(folder.Path()).entryList(QDir::Files), QStringList());
}

}  // namespace
