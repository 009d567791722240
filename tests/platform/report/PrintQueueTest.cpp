#include "platform/report/PrintQueue.h"
#include "tests/fixtures/PrivateCupsd.h"
#include "tests/fixtures/TemporaryFolder.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

QByteArray EveryByte() {
  QByteArray bytes;
  for (int value = 0; value < 256; ++value) bytes += char(value);
  return bytes;
}

}  // namespace

// Jobs go through a real scheduler to the printer's socket: raw bytes as they
// are, a PDF file as it is (the queue is raw), the default queue for no name.
TEST(PrintQueue, JobsReachThePrinterThroughTheSchedulerByteForByte) {
  PrivateCupsd cups(u"Prueba"_qs);
  if (!cups.Unavailable().isEmpty()) GTEST_SKIP() << cups.Unavailable().toStdString();
  TemporaryFolder folder;
  const QByteArray pdf = "%PDF-1.4\n" + EveryByte() + "\n%%EOF\n";
  QFile file(folder.File(u"pieza 1.pdf"_qs));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(pdf) == pdf.size());
  file.close();
  const struct {
    const char* printer;
    bool raw;
    QByteArray bytes;
  } cases[] = {
      {"Prueba", true, QByteArray("\f\x1b@Linea\r\n\xd1\f")},
      {"Prueba", true, EveryByte()},
      {"Prueba", false, pdf},
      {"", false, pdf},
  };
  for (const auto& job : cases) {
    SCOPED_TRACE(job.bytes.left(12).toHex().toStdString());
    const QString printer = QString::fromLatin1(job.printer);
    ASSERT_TRUE(job.raw ? PrintQueue::Default().SendRaw(printer, u"Factura ñ"_qs, job.bytes)
                        : PrintQueue::Default().SendPdf(printer, u"Factura ñ"_qs, file.fileName()));
    EXPECT_EQ(cups.NextJob(), job.bytes);
  }
}

TEST(PrintQueue, AJobThatCannotBeHandedOnIsNeverTakenAsPrinted) {
  PrivateCupsd cups(u"Prueba"_qs);
  if (!cups.Unavailable().isEmpty()) GTEST_SKIP() << cups.Unavailable().toStdString();
  EXPECT_FALSE(PrintQueue::Default().SendRaw(u"NoExiste"_qs, u"Factura"_qs, "A"));
  EXPECT_FALSE(PrintQueue::Default().SendPdf(u"Prueba"_qs, u"Factura"_qs, u"/no/existe.pdf"_qs));
  cups.Stop();
  EXPECT_FALSE(PrintQueue::Default().SendRaw(u"Prueba"_qs, u"Factura"_qs, "A"));
}
