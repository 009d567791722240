#pragma once

#include "platform/report/PageSink.h"
#include "platform/report/PageRecord.h"

#include <QTemporaryFile>

#include <vector>

// The pages of a report kept for the preview in a temporary file of this run
// (not a name another instance's start-up clean-up removes), read back one
// page at a time.
class RecordedPages : public PageSink {
 public:
  RecordedPages();
  void Begin(const PageSetup& setup) override;
  void AddPage(const PageRecord& page) override;
  void End() override;

  const PageSetup& Setup() const { return setup_; }
  int PageCount() const { return static_cast<int>(offsets_.size()); }
  PageRecord Page(int number) const;  // from 1

 private:
  mutable QTemporaryFile file_;
  std::vector<qint64> offsets_;
  PageSetup setup_;
};
