#include "platform/Exceptions.h"
#include "platform/report/Printer.h"
#include "platform/report/PrinterSink.h"
#include "platform/report/ReportEngine.h"
#include "tests/fixtures/PrivateCupsd.h"
#include "tests/fixtures/ReportTestSupport.h"
#include "tests/fixtures/TemporaryFolder.h"

#include <QFile>

#include <gtest/gtest.h>

// The system's printers as the print layer finds them, and a report printed
// on one reaching the scheduler's queue; a scheduler that is gone makes the
// job fail, never taken as printed.
TEST(SystemPrinter, AReportReachesTheSchedulersQueueAndAJobItCannotTakeRaises) {
  PrivateCupsd cups(u"Prueba"_qs);
  if (!cups.Unavailable().isEmpty()) GTEST_SKIP() << cups.Unavailable().toStdString();
  Printer& printers = Printer::Default();
  ASSERT_EQ(printers.Printers(), QStringList{u"Prueba"_qs});
  EXPECT_EQ(printers.DefaultPrinter(), u"Prueba"_qs);

  NamesListing listing(140);
  listing.report.PrinterSettings.PrinterIndex = PrinterIndex(u"Prueba"_qs);
  listing.report.PrinterSettings.FirstPage = 2;
  listing.report.PrinterSettings.LastPage = 3;
  PrinterSink sink(listing.report.PrinterSettings, listing.report.Title);
  ASSERT_EQ(listing.report.Run(sink), 3);
  TemporaryFolder folder;
  QFile job(folder.File(u"trabajo.pdf"_qs));
  ASSERT_TRUE(job.open(QIODevice::WriteOnly));
  job.write(cups.NextJob());
  job.close();
  EXPECT_EQ(PdfInfo(job.fileName()).value(u"Pages"_qs).toInt(), 2);
  // Rows of 49 a page: the second page starts at row 50, the third ends the report.
  QStringList numbers;
  for (const PdfWord& word : PdfWords(job.fileName()))
    if (word.text != u"Fila"_qs) numbers << word.text;
  ASSERT_EQ(numbers.size(), 140 - 49);
  EXPECT_EQ(numbers.first(), u"50"_qs);
  EXPECT_EQ(numbers.last(), u"140"_qs);

  cups.Stop();
  NamesListing again(140);
  PrinterSink gone(again.report.PrinterSettings, again.report.Title);
  EXPECT_THROW(again.report.Run(gone), Exception);
}
