#pragma once

#include "platform/Form.h"

#include <QString>

// The installation diagnosis: checks the registry, the engine configuration
// and the operating system's network driver files (and, asked for, the SQL
// Server agent), shows every anomaly in one report and offers to repair
// what it can. Never shown; closing it frees it.
class TfGENEDIAG : public Form {
  Q_OBJECT

 public:
  explicit TfGENEDIAG(QWidget* owner = nullptr);
  ~TfGENEDIAG() override;

  // The group list holds "Configuracion" (registry, engine, system files;
  // repair offered) and/or "MotorBaseDatos" (the agent; reported only).
  // True when nothing was found. An engine error reading or writing the
  // configuration reaches the caller.
  Q_INVOKABLE bool DiagnosticarInstalacion(const QString& grupo);

 private:
  struct Plataforma {
    QString base;    // "PlataformaBase"
    QString nombre;  // "Plataforma"
  };
  static void reparar(const Plataforma& plataforma, bool sinControlador);
};

extern TfGENEDIAG* fGENEDIAG;

// Start-up creates the diagnosis by its class name.
void RegistrarGENEDIAG();
