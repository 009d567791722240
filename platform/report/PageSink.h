#pragma once

#include "platform/report/PageSetup.h"

struct PageRecord;

// Where laid-out pages go, one at a time, as the report makes them.
class PageSink {
 public:
  virtual ~PageSink() = default;
  virtual void Begin(const PageSetup& setup) = 0;
  virtual void AddPage(const PageRecord& page) = 0;
  // After the last page; a failure to finish the output raises.
  virtual void End() = 0;
};
