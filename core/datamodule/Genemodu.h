#pragma once

#include "platform/StringList.h"
#include "platform/data/Table.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>

#include <functional>

// The shared data module: the non-visual container whose methods are the data
// layer of the suite.
class TModuloDatos : public QObject {
  Q_OBJECT

 public:
  explicit TModuloDatos(QObject* owner = nullptr);
  ~TModuloDatos() override;

  // The general database's user table, opened by the module's creation.
  QPointer<Table> Usuario;
  // The catalogue queries' results of the key routines, once the module is ready.
  StringList CacheConsultasSQL;

 private:
  void ModuloDatosDestroy();
};

extern TModuloDatos* ModuloDatos;
// Set as the last step of the module's creation, cleared by its destruction.
extern bool ModuloDatosListo;

// The incident trace hook: it keeps nothing itself; an observer, when one is
// installed, is handed every call.
using ObservadorTraza = std::function<void(const QString& texto, const QString& detalle, const QVariant& extra)>;
void InstalarObservadorTraza(ObservadorTraza observador);
void RegistrarTraza(const QString& texto, const QString& detalle, const QVariant& extra);
