#include "core/tables/CopiaRegistros.h"

#include "core/connections/Conexiones.h"
#include "core/progress/Geneprog.h"
#include "core/startup/Configuracion.h"
#include "core/system/CursorEspera.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"

namespace {

// The progress window of the copy, closed however the copy ends.
class ProgresoCopia {
 public:
  ProgresoCopia() { VentanaProgreso(QStringLiteral("ON"), QStringLiteral("Copiando Registros"), QString(), QString()); }
  ~ProgresoCopia() { VentanaProgreso(QStringLiteral("OFF"), QString(), QString(), QString()); }
  ProgresoCopia(const ProgresoCopia&) = delete;
  ProgresoCopia& operator=(const ProgresoCopia&) = delete;
};

// Each field of the target with the source's field of the same name, found
// once for the whole copy.
struct CampoCopiado {
  const Field* origen;
  Field* destino;
};

QList<CampoCopiado> emparejar(const Dataset& origen, const Dataset& destino, const QStringList& nombres) {
  QList<CampoCopiado> pares;
  for (const QString& nombre : nombres) {
    const Field* campoOrigen = origen.FindField(nombre);
    Field* campoDestino = destino.FindField(nombre);
    if (campoOrigen && campoDestino) pares.append({campoOrigen, campoDestino});
  }
  return pares;
}

void copiar(const QList<CampoCopiado>& pares) {
  for (const CampoCopiado& par : pares) {
    try {
      par.destino->AssignValue(*par.origen);
    } catch (const std::exception&) {
      // A field the target refuses is left as it is.
    }
  }
}

QString claveRegistro(const Dataset& origen) {
  const auto* indexado = qobject_cast<const IndexedDataset*>(&origen);
  const int campos = indexado ? indexado->IndexFieldCount() : 0;
  QStringList valores;
  for (int i = 0; i < campos && i < origen.FieldCount(); ++i) valores.append(origen.Fields(i).AsString());
  return valores.join(u';');
}

bool sustituir(Table& destino, const QString& clave, const QList<CampoCopiado>& pares) {
  try {
    if (!destino.FindKey({Variant::String(clave)})) return false;
    destino.Edit();
    copiar(pares);
    destino.Post();
    return true;
  } catch (const std::exception&) {
    if (destino.State() == dsEdit) destino.Cancel();
    return false;
  }
}

void agregar(Table& destino, const QList<CampoCopiado>& pares) {
  try {
    destino.Insert();
    copiar(pares);
    destino.Post();
  } catch (const std::exception&) {
    if (destino.State() == dsInsert) destino.Cancel();
  }
}

void reabrirEnSuRegistro(Dataset& dataSet) {
  auto* tabla = qobject_cast<Table*>(&dataSet);
  QStringList nombres;
  QList<Variant> valores;
  if (tabla)
    for (int i = 0; i < tabla->FieldCount(); ++i)
      if (tabla->Fields(i).IsKey()) {
        nombres.append(tabla->Fields(i).FieldName());
        valores.append(tabla->Fields(i).AsVariant());
      }
  dataSet.Close();
  dataSet.Open();
  if (!nombres.isEmpty())
    dataSet.Locate(nombres.join(u';'), valores.size() == 1 ? valores.first() : Variant::Array(valores));
}

}  // namespace

void CopiarCampos(const Dataset& origen, Dataset& destino, const QString& campos) {
  copiar(emparejar(origen, destino, campos.isEmpty() ? origen.GetFieldNames() : campos.split(u';')));
}

void CopiarRegistros(Dataset& origen, Table& destino, const QString& modo) {
  QString modos = modo;
  if (modos.contains(QLatin1String("Copiar"))) {
    try {
      destino.EmptyTable();
    } catch (const std::exception&) {
      return;
    }
    modos += QStringLiteral(",Agregar");
  }
  const CursorEspera cursor;
  const ProgresoCopia progreso;
  const bool sustituye = modos.contains(QLatin1String("Sustituir"));
  const bool agrega = modos.contains(QLatin1String("Agregar"));
  const QList<CampoCopiado> pares = emparejar(origen, destino, origen.GetFieldNames());
  for (origen.First(); !origen.Eof(); origen.Next()) {
    VentanaProgresoDiferida([&origen] { return claveRegistro(origen); });
    if (sustituye && sustituir(destino, claveRegistro(origen), pares)) continue;
    if (agrega) agregar(destino, pares);
  }
}

void RefrescarDataSet(Dataset& dataSet, const QString& modo) {
  if (!dataSet.Active()) return;
  if (!EsSQLServer() && TipoBaseDatos != u"Microsoft Access") {
    dataSet.Refresh();
    return;
  }
  if (modo != u"Apertura/Cierre") {
    dataSet.Close();
    dataSet.Open();
    return;
  }
  try {
    reabrirEnSuRegistro(dataSet);
  } catch (const std::exception&) {
    // The dataset stays as the failed step left it.
  }
}
