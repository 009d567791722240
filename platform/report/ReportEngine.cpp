#include "platform/report/ReportEngine.h"

#include "platform/Exceptions.h"
#include "platform/report/ReportRun.h"

ReportEngine::ReportEngine() = default;
ReportEngine::~ReportEngine() = default;

Band& ReportEngine::AddBand(BandKind kind, const QString& name) {
  bands_.push_back(std::make_unique<Band>(kind, name));
  bands_.back()->Report = this;
  return *bands_.back();
}

Band* ReportEngine::FindBand(const QString& name) const {
  for (const auto& band : bands_)
    if (band->Name == name) return band.get();
  return nullptr;
}

ReportItem* ReportEngine::FindItem(const QString& name) const {
  for (const auto& band : bands_)
    if (ReportItem* item = band->Item(name)) return item;
  return nullptr;
}

int ReportEngine::Run(PageSink& sink) {
  if (BeforePrint) BeforePrint();
  if (!Source) throw Exception(QStringLiteral("Report has no data source"));
  ReportRun run(*this, sink);
  const int pages = run.Run();
  cancelled_ = run.WasCancelled();
  return pages;
}
