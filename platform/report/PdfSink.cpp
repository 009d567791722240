#include "platform/report/PdfSink.h"

#include "platform/Exceptions.h"
#include "platform/report/PagePainter.h"
#include "platform/report/PageRecord.h"

#include <QPdfWriter>

#include <algorithm>

namespace {

QPageSize::PageSizeId pdfPaper(PaperSize paper) {
  switch (paper) {
    case PaperSize::A3: return QPageSize::A3;
    case PaperSize::A5: return QPageSize::A5;
    default: return QPageSize::A4;
  }
}

}  // namespace

PdfSink::PdfSink(const QString& fileName) : file_(fileName) {}

PdfSink::~PdfSink() {
  if (painter_.isActive()) painter_.end();
  file_.cancelWriting();
}

void PdfSink::Begin(const PageSetup& setup) {
  if (!file_.open(QIODevice::WriteOnly)) throw PdfWriteError(file_.errorString());
  writer_ = std::make_unique<QPdfWriter>(&file_);
  writer_->setResolution(kPdfResolution);
  writer_->setPageLayout(QPageLayout(QPageSize(pdfPaper(setup.Paper)), setup.Orientation, QMarginsF(0, 0, 0, 0)));
  PageSetup pdfPage = setup;
  pdfPage.Paper = setup.Paper == PaperSize::Letter ? PaperSize::A4 : setup.Paper;
  const QSizeF room = pdfPage.Size();
  const QSizeF page = setup.Size();
  scale_ = kPdfScale * std::min({1.0, room.width() / page.width(), room.height() / page.height()});
  if (!painter_.begin(writer_.get())) throw PdfWriteError(file_.errorString());
}

void PdfSink::AddPage(const PageRecord& page) {
  if (!firstPage_ && !writer_->newPage()) throw PdfWriteError(file_.errorString());
  firstPage_ = false;
  painter_.save();
  painter_.scale(scale_, scale_);
  PaintPage(painter_, page);
  painter_.restore();
}

void PdfSink::End() {
  painter_.end();
  writer_.reset();
  // The save file does not fail its commit when the last bytes cannot be flushed.
  if (!file_.flush() || file_.error() != QFileDevice::NoError || !file_.commit())
    throw PdfWriteError(file_.errorString());
}
