#include "platform/report/PageRecord.h"
#include "platform/report/PdfSink.h"
#include "platform/report/ReportEngine.h"
#include "platform/report/Workbook.h"
#include "tests/fixtures/ReportTestSupport.h"
#include "tests/fixtures/TemporaryFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

#include <gtest/gtest.h>

namespace {

constexpr int kRows = 100000;

// Rows made as they are read, so the test itself holds none.
class CountedRows : public ReportSource {
 public:
  void First() override { read_ = 0; }
  void Next() override { ++read_; }
  bool Eof() const override { return read_ >= kRows; }
  QVariant Value(const QString& field) const override {
    return field == u"Codigo" ? QVariant(read_ + 1) : QVariant(QString("Fila %1").arg(read_ + 1));
  }
  int Read() const { return read_; }

 private:
  int read_ = 0;
};

// The bytes this program has written to files of the folder that have no
// name (yet): what a writer keeps on disk instead of in memory.
qint64 BytesOnDiskIn(const QString& folder) {
  qint64 bytes = 0;
  const QString prefix = QFileInfo(folder).canonicalFilePath() + u'/';
  for (const QFileInfo& link : QDir("/proc/self/fd").entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot)) {
    if (!link.symLinkTarget().startsWith(prefix) || !link.symLinkTarget().endsWith(" (deleted)")) continue;
    struct stat status {};
    if (::stat(QFile::encodeName(link.filePath()).constData(), &status) == 0) bytes += status.st_size;
  }
  return bytes;
}

// Hands the pages on to the PDF and notes, at each, how far the report has
// read and what the file holds on disk.
class WatchedPdf : public PageSink {
 public:
  WatchedPdf(const QString& target, const CountedRows& rows) : pdf_(target), rows_(rows), folder_(QFileInfo(target).path()) {}
  void Begin(const PageSetup& setup) override { pdf_.Begin(setup); }
  void AddPage(const PageRecord& page) override {
    pdf_.AddPage(page);
    lastRowOnPage = page.cells.empty() ? lastRowOnPage : page.cells.back().text.mid(5).toInt();
    maxRowsAhead = std::max(maxRowsAhead, rows_.Read() - lastRowOnPage);
    if (page.number == 1000) bytesAtPage1000 = BytesOnDiskIn(folder_);
  }
  void End() override { pdf_.End(); }

  int lastRowOnPage = 0;
  int maxRowsAhead = 0;
  qint64 bytesAtPage1000 = 0;

 private:
  PdfSink pdf_;
  const CountedRows& rows_;
  QString folder_;
};

TEST(FlatMemory, AHundredThousandRowsGoToThePdfAPageAtATime) {
  TemporaryFolder folder;
  CountedRows rows;
  ReportEngine report;
  report.Source = &rows;
  Band& detail = report.AddBand(BandKind::Detail, "Detalle");
  detail.Height = 20;
  detail.Add(ItemKind::DataText, "Nombre").DataField = "Nombre";
  const QString target = folder.File("grande.pdf");
  WatchedPdf sink(target, rows);
  const int pages = report.Run(sink);
  ASSERT_GT(pages, 1000);
  EXPECT_EQ(sink.lastRowOnPage, kRows);
  const int rowsPerPage = (kRows + pages - 1) / pages;
  EXPECT_LE(sink.maxRowsAhead, rowsPerPage + 1) << "no more than the page being laid out is held";
  const qint64 whole = QFileInfo(target).size();
  EXPECT_GT(sink.bytesAtPage1000, whole * 1000 / pages * 8 / 10) << "the pages made are on disk, not in memory";
}

TEST(FlatMemory, AHundredThousandRowsGoToTheWorkbookAsTheyAreWritten) {
  TemporaryFolder folder;
  const QString target = folder.File("grande.xlsx");
  qint64 atHalf = 0;
  {
    Workbook book(target);
    book.SetColumn(0, {true, true, 10});
    for (int row = 0; row < kRows; ++row) {
      book.Write(row, 0, QString::number(row + 1));
      book.Write(row, 1, QString("Fila %1").arg(row + 1));
      if (row == kRows / 2) atHalf = BytesOnDiskIn(folder.Path());
    }
    const qint64 atEnd = BytesOnDiskIn(folder.Path());
    EXPECT_GT(atHalf, 40LL * kRows / 2) << "the rows written are on disk, not in memory";
    EXPECT_GT(atEnd, atHalf * 19 / 10);
    book.Save();
  }
  EXPECT_GT(QFileInfo(target).size(), 0);
}

}  // namespace
