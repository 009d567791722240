#pragma once

#include "maintenance/DefinicionesTraspaso.h"
#include "maintenance/OrigenTraspaso.h"

#include <QStringList>

#include <functional>

class EngineConnection;
class QObject;
class TfGENEINIC;

struct OpcionesTraspaso {
  QString origen;
  bool empresaIndividual = true;
  bool camposNull = false;
  bool porLotes = true;
  QStringList mapeado;  // "TABLA:mapping" lines
  QString archivoConversion;
};

// The copy of an older installation's tables into the current databases,
// one database pass at a time. Each table is recreated from the conversion
// file and filled in one transaction of its destination: failed as a whole,
// or the program killed, it stays as it was before its turn. Every failure
// becomes a numbered incident and the work goes on.
class TraspasoTablas {
 public:
  using Estado = std::function<void(const QString& texto)>;

  TraspasoTablas(TfGENEINIC& servicios, QObject& propietario, OpcionesTraspaso opciones,
                 const DefinicionesTraspaso& definiciones, Estado estado);

  // Pass "General" takes the general tables of the list, "Standard" the
  // others, into the company's database; ResultadoTraspaso records it.
  void TraspasarTablas(const QString& pase, int empresa, const QStringList& tablas);

  void AgregarIncidencia(const QString& texto);
  const QStringList& Incidencias() const { return incidencias_; }

 private:
  void traspasarTabla(const QString& tabla, int empresa, bool general);
  bool sinCamposNulos(EngineConnection& origen, const TablaTraspaso& definicion, const QString& sufijo);
  static bool mismaClave(EngineConnection& origen, const TablaTraspaso& definicion);
  bool copiarPorLotes(EngineConnection& origen, const TablaTraspaso& definicion, const QString& destino);
  void copiarRegistros(EngineConnection& origen, const TablaTraspaso& definicion, const QString& destino,
                       const QString& sufijo);

  TfGENEINIC& servicios_;
  QObject& propietario_;
  OpcionesTraspaso opciones_;
  OrigenTraspaso origen_;
  const DefinicionesTraspaso& definiciones_;
  Estado estado_;
  QString estadoActual_;
  QStringList incidencias_;
};
