#pragma once

#include "platform/report/ReportEngine.h"

#include <QObject>

// A report placed on a form, so the form's services find it among the
// form's components as they find its fields.
class ReportComponent : public QObject {
  Q_OBJECT

 public:
  explicit ReportComponent(QObject* owner = nullptr) : QObject(owner) {}
  ReportEngine& Report() { return report_; }

 private:
  ReportEngine report_;
};
