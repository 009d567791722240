#pragma once

#include <QObject>

// The shared data module: the non-visual container whose methods are the data
// layer of the suite.
class TModuloDatos : public QObject {
  Q_OBJECT

 public:
  explicit TModuloDatos(QObject* owner = nullptr);
  ~TModuloDatos() override;
};

extern TModuloDatos* ModuloDatos;
