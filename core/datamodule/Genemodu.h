#pragma once

#include <QObject>
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
};

extern TModuloDatos* ModuloDatos;

// The incident trace hook: it keeps nothing itself; an observer, when one is
// installed, is handed every call.
using ObservadorTraza = std::function<void(const QString& texto, const QString& detalle, const QVariant& extra)>;
void InstalarObservadorTraza(ObservadorTraza observador);
void RegistrarTraza(const QString& texto, const QString& detalle, const QVariant& extra);
