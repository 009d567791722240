#include "platform/Exceptions.h"
#include "platform/TextFile.h"
#include "platform/report/PdfSink.h"
#include "platform/report/ReportEngine.h"
#include "platform/report/Workbook.h"
#include "tests/fixtures/FullDisk.h"
#include "tests/fixtures/ReportTestSupport.h"
#include "tests/fixtures/SecondProcess.h"
#include "tests/fixtures/TemporaryFolder.h"
#include "tests/fixtures/XlsxSheet.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <memory>

namespace {

// Rows named after the program that writes them, one per line of a page.
struct MarkedReport {
  RowSource rows;
  ReportEngine report;
  MarkedReport(int count, const QString& mark) : rows(NumberedRows(count)) {
    for (auto& row : rows.Rows()) row["Nombre"] = mark + row["Codigo"].toString();
    report.Source = &rows;
    Band& detail = report.AddBand(BandKind::Detail, "Detalle");
    detail.Height = 20;
    detail.Add(ItemKind::DataText, "Nombre").DataField = "Nombre";
  }
};

void WritePdf(const QString& target, int rows, const QString& mark, const std::function<void(int page)>& onPage = {}) {
  MarkedReport marked(rows, mark);
  marked.report.OnPage = onPage;
  PdfSink sink(target);
  marked.report.Run(sink);
}

void WriteWorkbook(const QString& target, int rows, const QString& mark, const std::function<void(int row)>& onRow = {}) {
  Workbook book(target);
  book.SetColumn(0, {true, true, 10});
  for (int row = 0; row < rows; ++row) {
    book.Write(row, 0, QString::number(row + 1));
    book.Write(row, 1, mark + QString::number(row + 1));
    if (onRow) onRow(row);
  }
  book.Save();
}

void Write(const QString& kind, const QString& target, int rows, const QString& mark) {
  if (kind == u"pdf") WritePdf(target, rows, mark);
  else WriteWorkbook(target, rows, mark);
}

// Job "report-file": writes ZEM_ROWS rows marked ZEM_MARK into the PDF or
// workbook (ZEM_KIND) ZEM_TARGET once "go" arrives; reports "ready" before
// and "done" after. With ZEM_LIMIT no file of it grows past that many bytes,
// and it reports "raised <reason>" instead. With ZEM_STALL it reports
// "writing" a third of the way and waits for a line that never comes.
void reportFileJob() {
  const QString kind = qEnvironmentVariable("ZEM_KIND");
  const QString target = qEnvironmentVariable("ZEM_TARGET");
  const int rows = qEnvironmentVariableIntValue("ZEM_ROWS");
  const QString mark = qEnvironmentVariable("ZEM_MARK");
  SecondProcess::Report("ready");
  if (SecondProcess::NextLine() != u"go") return;
  if (qEnvironmentVariableIsSet("ZEM_STALL")) {
    const auto stall = [](int at, int when) {
      if (at != when) return;
      SecondProcess::Report("writing");
      SecondProcess::NextLine();
    };
    if (kind == u"pdf") WritePdf(target, rows, mark, [&](int page) { stall(page, rows / 49 / 3); });
    else WriteWorkbook(target, rows, mark, [&](int row) { stall(row, rows / 3); });
    return;
  }
  std::unique_ptr<FullDisk> full;
  if (qEnvironmentVariableIsSet("ZEM_LIMIT")) full = std::make_unique<FullDisk>(qEnvironmentVariableIntValue("ZEM_LIMIT"));
  try {
    Write(kind, target, rows, mark);
    SecondProcess::Report("done");
  } catch (const Exception& error) {
    SecondProcess::Report("raised " + error.Message());
  }
}

[[maybe_unused]] const bool registered = SecondProcess::RegisterJob("report-file", reportFileJob);

// The marks of the rows the file holds, each with how many rows carry it.
QMap<QString, int> MarksIn(const QString& kind, const QString& target) {
  QMap<QString, int> marks;
  if (kind == u"pdf") {
    for (const PdfWord& word : PdfWords(target)) ++marks[word.text.left(1)];
  } else {
    const XlsxSheet sheet = XlsxSheet::Read(target);
    EXPECT_TRUE(sheet.read);
    for (int row = 1; row <= sheet.rows; ++row) ++marks[sheet.Text("B" + QString::number(row)).left(1)];
  }
  return marks;
}

QStringList FilesIn(const TemporaryFolder& folder) {
  return QDir(folder.Path()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

class ReportFiles : public testing::TestWithParam<const char*> {
 protected:
  QString Kind() const { return QString::fromLatin1(GetParam()); }
  QString Target() const { return folder.File(Kind() == u"pdf" ? "informe.pdf" : "informe.xlsx"); }
  std::unique_ptr<SecondProcess> Start(const QString& mark, int rows, QMap<QString, QString> more = {}) {
    more.insert("ZEM_KIND", Kind());
    more.insert("ZEM_TARGET", Target());
    more.insert("ZEM_ROWS", QString::number(rows));
    more.insert("ZEM_MARK", mark);
    auto copy = std::make_unique<SecondProcess>("report-file", more);
    EXPECT_EQ(copy->ReadReport(), "ready");
    return copy;
  }
  TemporaryFolder folder;
};

TEST_P(ReportFiles, TwoProgramsSavingOnePathAtOnceLeaveOneWholeFile) {
  Write(Kind(), Target(), 10, "E");
  std::vector<std::unique_ptr<SecondProcess>> copies;
  copies.push_back(Start("A", 3000));
  copies.push_back(Start("B", 3000));
  for (auto& copy : copies) copy->Send("go");
  for (auto& copy : copies) {
    EXPECT_EQ(copy->ReadReport(), "done");
    EXPECT_EQ(copy->Finish(), 0);
  }
  const QMap<QString, int> marks = MarksIn(Kind(), Target());
  ASSERT_EQ(marks.size(), 1) << "rows of one program only";
  EXPECT_TRUE(marks.contains("A") || marks.contains("B"));
  EXPECT_EQ(marks.first(), 3000);
  if (Kind() == u"pdf") {
    const QString alone = folder.File("solo.pdf");
    WritePdf(alone, 3000, "C");
    EXPECT_EQ(PdfInfo(Target()).value("Pages"), PdfInfo(alone).value("Pages"));
    QFile::remove(alone);
  }
  EXPECT_EQ(FilesIn(folder), QStringList({QFileInfo(Target()).fileName()}));
}

TEST_P(ReportFiles, AFullDiskLeavesTheEarlierFileAndSaysWhy) {
  const QString whole = folder.File("entero");
  Write(Kind(), whole, 3000, "A");
  const int wholeSize = static_cast<int>(QFileInfo(whole).size());
  QFile::remove(whole);
  Write(Kind(), Target(), 10, "E");
  const QByteArray earlier = TextFile::ReadBytes(Target());
  // 7,000 bytes hold a whole workbook of fewer rows: none may be lost unsaid;
  // a byte short of the whole file fails only as the last bytes go out.
  for (const int limit : {100, 7000, wholeSize - 1}) {
    auto copy = Start("A", 3000, {{"ZEM_LIMIT", QString::number(limit)}});
    copy->Send("go");
    const QString report = copy->ReadReport();
    EXPECT_TRUE(report.startsWith("raised ")) << report.toStdString();
    EXPECT_GT(report.size(), QString("raised ").size()) << "with the reason";
    EXPECT_EQ(copy->Finish(), 0);
    EXPECT_EQ(TextFile::ReadBytes(Target()), earlier) << limit;
    EXPECT_EQ(FilesIn(folder), QStringList({QFileInfo(Target()).fileName()})) << "nothing half-written";
  }
}

TEST_P(ReportFiles, AKillMidWriteLeavesTheEarlierFileAndNothingHalfWritten) {
  Write(Kind(), Target(), 10, "E");
  const QByteArray earlier = TextFile::ReadBytes(Target());
  auto copy = Start("A", 3000, {{"ZEM_STALL", "1"}});
  copy->Send("go");
  ASSERT_EQ(copy->ReadReport(), "writing");
  copy->Kill();
  EXPECT_EQ(TextFile::ReadBytes(Target()), earlier);
  EXPECT_EQ(FilesIn(folder), QStringList({QFileInfo(Target()).fileName()}));
}

INSTANTIATE_TEST_SUITE_P(Files, ReportFiles, testing::Values("pdf", "xlsx"));

}  // namespace

TEST(WorkbookRows, ARowPastTheSheetsLastFailsTheSaveAndKeepsTheEarlierFile) {
  TemporaryFolder folder;
  const QString target = folder.File("informe.xlsx");
  WriteWorkbook(target, 10, "E");
  const QByteArray earlier = TextFile::ReadBytes(target);
  Workbook book(target);
  book.Write(0, 0, "primera");
  book.Write(Workbook::kMaxRows - 1, 0, "ultima");
  book.Write(Workbook::kMaxRows, 0, "sobra");
  try {
    book.Save();
    ADD_FAILURE() << "a row the sheet cannot hold was dropped unsaid";
  } catch (const Exception& error) {
    EXPECT_EQ(error.Message(), "La hoja no admite más de 1048576 filas");
  }
  EXPECT_EQ(TextFile::ReadBytes(target), earlier);
  EXPECT_EQ(FilesIn(folder), QStringList({"informe.xlsx"}));
}
