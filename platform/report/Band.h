#pragma once

#include "platform/report/ReportItem.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

class ReportEngine;
class ReportSource;

enum class BandKind { PageHeader, Title, ColumnHeader, GroupHeader, Detail, SubDetail, GroupFooter, Summary, PageFooter };

class Band {
 public:
  Band(BandKind kind, QString name) : Kind(kind), Name(std::move(name)) {}
  Band(const Band&) = delete;
  Band& operator=(const Band&) = delete;

  const BandKind Kind;
  const QString Name;
  // The report the band belongs to; none for a band made on its own.
  const ReportEngine* Report = nullptr;
  double Height = 20;
  bool Enabled = true;
  bool ForceNewPage = false;
  // A group header's fields, joined by "+": a new group starts where they change.
  QString Expression;
  // The group header's footer, printed when its group ends.
  Band* Footer = nullptr;
  // The records a sub-detail band walks for each record of the report.
  ReportSource* Source = nullptr;
  // Runs before the band is laid out; it may change heights, tops and
  // switches, and clear print to leave the band out this time.
  std::function<void(Band& band, bool& print)> BeforePrint;

  ReportItem& Add(ItemKind kind, const QString& name);
  ReportItem* Item(const QString& name) const;
  // Frees the items made by Add that the test picks.
  void RemoveIf(const std::function<bool(const ReportItem& item)>& test);
  const std::vector<std::unique_ptr<ReportItem>>& Items() const { return items_; }

 private:
  std::vector<std::unique_ptr<ReportItem>> items_;
};
