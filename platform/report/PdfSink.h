#pragma once

#include "platform/Exceptions.h"
#include "platform/report/PageSink.h"

#include <QPainter>
#include <QSaveFile>

#include <memory>

class QPdfWriter;

// The PDF file could not be written; the target is as it was.
class PdfWriteError : public Exception {
 public:
  using Exception::Exception;
};

// Writes the pages as vector PDF pages at 300 dpi (the report's 96-dpi unit
// times 3.125) in the paper of the report: A3, A5, or A4 for every other
// paper, whose page is scaled to fit. The file replaces the target only
// once complete; a run that does not end leaves the target as it was.
class PdfSink : public PageSink {
 public:
  explicit PdfSink(const QString& fileName);
  ~PdfSink() override;
  void Begin(const PageSetup& setup) override;
  void AddPage(const PageRecord& page) override;
  void End() override;

 private:
  QSaveFile file_;
  std::unique_ptr<QPdfWriter> writer_;
  QPainter painter_;
  double scale_ = 1;
  bool firstPage_ = true;
};

inline constexpr double kPdfScale = 3.125;
inline constexpr int kPdfResolution = 300;
