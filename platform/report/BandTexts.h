#pragma once

#include "platform/report/PageRecord.h"

#include <QString>
#include <QStringList>

#include <functional>

#include <vector>

class RecordedPages;

// The texts one printed band left on the pages: its lines top to bottom,
// each with its cells left to right.
struct BandTexts {
  std::vector<std::vector<PageCell>> lines;
  // The band's rows of values, top to bottom: a row per line, the lines a
  // wrapped item runs over kept in its row; in each, the values left to
  // right, one per item, empty ones included, a wrapped item's whole text.
  std::vector<QStringList> Rows() const;
};

// The printed bands in the order they were laid out, one at a time, a band
// run on over pages coming as one; the pages are read one by one.
void ForEachBand(const RecordedPages& pages, const std::function<void(const BandTexts& band)>& visit);
