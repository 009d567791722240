#pragma once

#include "platform/report/Band.h"
#include "platform/report/PageSetup.h"
#include "platform/report/PrintSettings.h"

#include <functional>
#include <memory>
#include <vector>

class PageSink;
class ReportSource;

// A banded report built at run time: bands in the order they were added
// (group headers from the outermost inwards), laid out page by page over a
// forward-only source and handed to a sink one page at a time, so memory
// does not grow with the pages.
class ReportEngine {
 public:
  ReportEngine();
  ~ReportEngine();
  ReportEngine(const ReportEngine&) = delete;
  ReportEngine& operator=(const ReportEngine&) = delete;

  QString Title;  // the print job's name
  PageSetup Page;
  PrintSettings PrinterSettings;
  bool FirstPageHeader = true;
  bool LastPageFooter = true;
  ReportSource* Source = nullptr;
  // Runs at the start of every run, before the first record is read: the
  // report may lay its bands out again for the output at hand.
  std::function<void()> BeforePrint;
  std::function<void(int page)> OnPage;
  std::function<void(qint64 records)> OnProgress;
  // Polled before each record; true ends the run and its output is not finished.
  std::function<bool()> Cancelled;

  Band& AddBand(BandKind kind, const QString& name);
  Band* FindBand(const QString& name) const;
  ReportItem* FindItem(const QString& name) const;
  const std::vector<std::unique_ptr<Band>>& Bands() const { return bands_; }

  // The number of pages made: 0 for a source without records, which makes
  // no page and leaves the sink untouched.
  int Run(PageSink& sink);
  bool WasCancelled() const { return cancelled_; }

 private:
  std::vector<std::unique_ptr<Band>> bands_;
  bool cancelled_ = false;
};
