#pragma once

#include "platform/report/PageRecord.h"
#include "platform/report/ReportSource.h"

#include <QStringList>
#include <QVariantMap>

#include <vector>

// Rows in memory, walked forward as a report walks a dataset.
class RowSource : public ReportSource {
 public:
  explicit RowSource(std::vector<QVariantMap> rows = {}) : rows_(std::move(rows)) {}
  void First() override { position_ = 0; }
  void Next() override { ++position_; }
  bool Eof() const override { return position_ >= rows_.size(); }
  QVariant Value(const QString& field) const override { return Eof() ? QVariant() : rows_[position_].value(field); }
  std::vector<QVariantMap>& Rows() { return rows_; }

 private:
  std::vector<QVariantMap> rows_;
  std::size_t position_ = 0;
};

std::vector<QVariantMap> NumberedRows(int count);
// The texts of a page's text cells, top to bottom.
QStringList TextsOf(const PageRecord& page);
QStringList TextsOfItem(const PageRecord& page, const QString& item);

// A word of a PDF read back with pdftotext -bbox: page from 1, position in points.
struct PdfWord {
  int page = 0;
  double x = 0;
  double y = 0;
  QString text;
};
std::vector<PdfWord> PdfWords(const QString& fileName);
// The lines pdfinfo gives, name=value.
QVariantMap PdfInfo(const QString& fileName);

