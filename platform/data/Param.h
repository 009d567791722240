#pragma once

#include "platform/Variant.h"
#include "platform/format/DateTime.h"

#include <QList>
#include <QString>
#include <QVariant>

// A parameter of a query (":name" in its SQL text) and the value bound to it.
class Param {
 public:
  explicit Param(QString name) : name_(std::move(name)) {}

  const QString& Name() const { return name_; }
  bool IsNull() const { return value_.isNull(); }
  void Clear() { value_ = QVariant(); }

  // Empty text is bound as NULL, dates as dates (each engine's own way).
  void SetAsString(const QString& value);
  void SetAsInteger(int value) { value_ = QVariant(qint64{value}); }
  void SetAsFloat(double value) { value_ = QVariant(value); }
  void SetAsDateTime(TDateTime value);
  void SetAsBoolean(bool value) { value_ = QVariant(qint64{value ? 1 : 0}); }
  void SetValue(const Variant& value);

  // The value as bound: invalid for NULL, qint64, double, QString or
  // QDateTime.
  const QVariant& Bound() const { return value_; }

 private:
  QString name_;
  QVariant value_;
};

class Params {
 public:
  int Count() const { return static_cast<int>(params_.size()); }
  Param& operator[](int index) { return params_[index]; }
  const Param& operator[](int index) const { return params_.at(index); }
  Param* FindParam(const QString& name);
  Param& ParamByName(const QString& name);  // raises "Parameter 'X' not found"

  // The parameters named in an SQL text, in order, each once; values of
  // names already known are kept.
  void ParseSql(const QString& sql);

 private:
  QList<Param> params_;
};
