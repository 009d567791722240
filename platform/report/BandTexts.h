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
  // The band's values left to right, one per item, empty ones included: a
  // wrapped item's whole text.
  QStringList Values() const;
};

// The printed bands in the order they were laid out, one at a time, a band
// run on over pages coming as one; the pages are read one by one.
void ForEachBand(const RecordedPages& pages, const std::function<void(const BandTexts& band)>& visit);
