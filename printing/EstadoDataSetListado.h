#pragma once

#include "platform/data/Dataset.h"

#include <QList>
#include <QString>
#include <QStringList>

// What table mode changes on the caller's dataset, to give it back when the
// dialog is done with it: the filter, the order and print marks of its
// fields, and its current record.
class EstadoDataSetListado {
 public:
  explicit EstadoDataSetListado(Dataset& dataSet);
  EstadoDataSetListado(const EstadoDataSetListado&) = delete;
  EstadoDataSetListado& operator=(const EstadoDataSetListado&) = delete;

  Dataset& DataSet() const { return dataSet_; }
  // A filter that cannot be set back gives its message; the fields and the
  // record come back all the same.
  void Devolver();

 private:
  void devolverFiltro();

  Dataset& dataSet_;
  QString filtro_;
  bool filtrado_;
  QStringList campos_;
  QList<int> marcas_;
  Bookmark registro_;
};
