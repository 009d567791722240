#pragma once

#include "platform/report/PageRecord.h"
#include "platform/report/RunningSum.h"

#include <QHash>
#include <QString>
#include <QVariant>

#include <functional>
#include <optional>
#include <unordered_map>
#include <vector>

class Band;
class PageSink;
class ReportEngine;
struct ReportItem;

// One run of a report: the page being filled, the record values the bands
// print (the previous record's for footers), group keys and running sums.
class ReportRun {
 public:
  ReportRun(ReportEngine& report, PageSink& sink);
  int Run();
  bool WasCancelled() const { return cancelled_; }

 private:
  using Lookup = std::function<QVariant(const QString& field)>;
  struct LaidBand {
    const Band* band = nullptr;
    std::vector<PageCell> cells;
    double height = 0;
    std::vector<std::pair<std::size_t, QString>> pageNumbers;  // cell and its caption
  };

  bool CancelRequested() const;
  void CollectFields();
  void Capture(QHash<QString, QVariant>& values) const;
  Lookup ValuesOf(const QHash<QString, QVariant>& values) const;
  QString GroupKey(const Band& group) const;

  std::optional<LaidBand> Lay(Band& band, const Lookup& value);
  QString ItemText(const ReportItem& item, const Lookup& value) const;
  void Print(Band& band, const Lookup& value);
  void Place(LaidBand& laid);
  void Split(LaidBand& laid);
  void Append(LaidBand& laid, std::size_t cell, double offset);
  void StartPage();
  void FinishPage(bool last);
  void NewPage();
  void PrintFooters(std::size_t fromLevel, const Lookup& value);
  void PrintHeaders(std::size_t fromLevel, const Lookup& value);
  void Accumulate();
  void ResetSums(const Band& band);
  void PrintSubDetails();

  ReportEngine& report_;
  PageSink& sink_;
  PageRecord page_;
  int pageNumber_ = 0;
  double y_ = 0;
  double contentTop_ = 0;
  double bottomLimit_ = 0;
  quint32 bandSequence_ = 0;
  bool cancelled_ = false;
  bool currentPlaced_ = false;
  QStringList fields_;
  QHash<QString, QVariant> current_;
  QHash<QString, QVariant> previous_;
  std::vector<Band*> groups_;
  std::vector<QString> groupKeys_;
  std::unordered_map<const ReportItem*, RunningSum> sums_;
};
