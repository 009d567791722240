#include "platform/report/Band.h"

#include <algorithm>

ReportItem& Band::Add(ItemKind kind, const QString& name) {
  auto item = std::make_unique<ReportItem>();
  item->Kind = kind;
  item->Name = name;
  items_.push_back(std::move(item));
  return *items_.back();
}

ReportItem* Band::Item(const QString& name) const {
  for (const auto& item : items_)
    if (item->Name == name) return item.get();
  return nullptr;
}

void Band::RemoveIf(const std::function<bool(const ReportItem& item)>& test) {
  std::erase_if(items_, [&test](const std::unique_ptr<ReportItem>& item) { return test(*item); });
}
