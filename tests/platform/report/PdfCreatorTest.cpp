#include "platform/report/PdfCreator.h"
#include "platform/report/PageRecord.h"
#include "tests/fixtures/FullDisk.h"
#include "tests/fixtures/LiveHeap.h"
#include "tests/fixtures/ReportTestSupport.h"
#include "tests/fixtures/TemporaryFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>

#include <sys/resource.h>

#include <gtest/gtest.h>

namespace {

constexpr int kPieces = 500;
// Files this test lets the program have open beyond those it has already.
constexpr rlim_t kSpareDescriptors = 48;

int OpenDescriptors() { return int(QDir(u"/proc/self/fd"_qs).entryList(QDir::System | QDir::NoDotAndDotDot).size()); }

// The limit on open files lowered while it lives.
class DescriptorLimit {
 public:
  explicit DescriptorLimit(rlim_t limit) {
    getrlimit(RLIMIT_NOFILE, &previous_);
    rlimit lowered = previous_;
    lowered.rlim_cur = limit;
    setrlimit(RLIMIT_NOFILE, &lowered);
  }
  ~DescriptorLimit() { setrlimit(RLIMIT_NOFILE, &previous_); }
  DescriptorLimit(const DescriptorLimit&) = delete;
  DescriptorLimit& operator=(const DescriptorLimit&) = delete;

 private:
  rlimit previous_{};
};

// Piece n: one A6 page holding the word "Pieza<n>".
QStringList WritePieces(const TemporaryFolder& folder, int count) {
  QStringList pieces;
  for (int n = 1; n <= count; ++n) {
    pieces << folder.File(u"ZEMPDFCreatorTemp%1.pdf"_qs.arg(n));
    QPdfWriter writer(pieces.last());
    writer.setPageSize(QPageSize(QPageSize::A6));
    QPainter painter(&writer);
    painter.drawText(QPointF(300, 300), u"Pieza%1"_qs.arg(n));
  }
  return pieces;
}

QStringList WordsByPage(const QString& file) {
  QStringList words;
  for (const PdfWord& word : PdfWords(file)) {
    if (words.size() < word.page) words.resize(word.page);
    words[word.page - 1] += word.text;
  }
  return words;
}

}  // namespace

// However many pieces, only a few files are open at once and the memory held
// does not grow with them; every readable page arrives in order, a damaged
// piece is left out with qpdf's reason.
TEST(PdfJoin, FiveHundredPiecesJoinInOrderWithFewFilesOpenAndFlatMemory) {
  TemporaryFolder folder;
  QStringList pieces = WritePieces(folder, kPieces);
  QFile damaged(pieces[kPieces / 2]);
  ASSERT_TRUE(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
  damaged.write("%PDF-1.4 roto");
  damaged.close();
  QStringList expected;
  for (int n = 1; n <= kPieces; ++n)
    if (n != kPieces / 2 + 1) expected << u"Pieza%1"_qs.arg(n);

  const QString fewer = folder.File(u"cincuenta.pdf"_qs);
  HeapPeak peakOfFifty;
  ASSERT_TRUE(PdfCreator::Join(pieces.mid(0, 50), fewer).isEmpty());
  const qint64 fifty = peakOfFifty.Growth();

  const QString target = folder.File(u"unido.pdf"_qs);
  QString error;
  qint64 all = 0;
  {
    const DescriptorLimit limit(rlim_t(OpenDescriptors()) + kSpareDescriptors);
    HeapPeak peak;
    error = PdfCreator::Join(pieces, target);
    all = peak.Growth();
  }
  EXPECT_TRUE(error.contains(QDir::toNativeSeparators(pieces[kPieces / 2]))) << error.toStdString();
  EXPECT_EQ(error.count(u'\n'), 0) << error.toStdString();
  EXPECT_EQ(PdfInfo(target).value(u"Pages"_qs).toInt(), kPieces - 1);
  // Its cross-reference table holds: qpdf reads it without repairing.
  EXPECT_EQ(PdfCreator::Join({target}, folder.File(u"otra.pdf"_qs)).toStdString(), "");
  EXPECT_EQ(WordsByPage(target).join(u' ').toStdString(), expected.join(u' ').toStdString());
  // Each piece held at once would add tens of kilobytes.
  EXPECT_LT(all - fifty, 1 << 20) << "peak growth joining 50 pieces " << fifty << ", " << kPieces << " pieces " << all;
  // Nothing of the join is left beside the pieces.
  EXPECT_EQ(QDir(folder.Path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).size(), kPieces + 3);
}

TEST(PdfJoin, AJoinThatCannotBeWrittenWholeLeavesTheFormerTargetAsItWas) {
  TemporaryFolder folder;
  const QStringList pieces = WritePieces(folder, 20);
  const QString target = folder.File(u"unido.pdf"_qs);
  QFile former(target);
  ASSERT_TRUE(former.open(QIODevice::WriteOnly) && former.write("anterior") == 8);
  former.close();
  QString error;
  {
    const FullDisk full(QFileInfo(pieces[0]).size() * 3);
    error = PdfCreator::Join(pieces, target);
  }
  EXPECT_FALSE(error.isEmpty());
  ASSERT_TRUE(former.open(QIODevice::ReadOnly));
  EXPECT_EQ(former.readAll(), "anterior");
  EXPECT_EQ(QDir(folder.Path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).size(), 21);
}

// Pages go to the PDF one at a time: ten times the pages, not ten times the memory.
TEST(PdfCreatorPages, TwoThousandPagesAreWrittenWithTheMemoryOfAFew) {
  TemporaryFolder folder;
  qint64 growth[2] = {};
  const int counts[2] = {200, 2000};
  for (int run = 0; run < 2; ++run) {
    PdfCreator pdf;
    for (int n = 1; n <= counts[run]; ++n) {
      PageRecord page;
      page.number = n;
      PageCell text;
      text.rect = QRectF(40, 40, 300, 20);
      text.text = u"Hoja %1"_qs.arg(n);
      // A picture of its own on each page, as a printed form's drawings are: 40 kB held each.
      PageCell drawing;
      drawing.kind = PageCell::Kind::Picture;
      drawing.rect = QRectF(20, 80, 100, 100);
      drawing.picture = QImage(100, 100, QImage::Format_ARGB32);
      drawing.picture.fill(QColor::fromRgb(n % 256, 0, 255 - n % 256));
      page.cells = {text, drawing};
      pdf.AddPage(page);
    }
    const QString target = folder.File(u"%1.pdf"_qs.arg(counts[run]));
    HeapPeak peak;
    ASSERT_EQ(pdf.Write(target, QSizeF(210, 297)).toStdString(), "");
    growth[run] = peak.Growth();
    EXPECT_EQ(PdfInfo(target).value(u"Pages"_qs).toInt(), counts[run]);
  }
  EXPECT_LT(growth[1] - growth[0], 8 << 20) << growth[0] << " " << growth[1];
}
