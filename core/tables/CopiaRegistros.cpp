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

QString claveRegistro(const Dataset& origen) {
  const auto* indexado = qobject_cast<const IndexedDataset*>(&origen);
  const int campos = indexado ? indexado->IndexFieldCount() : 0;
  QStringList valores;
  for (int i = 0; i < campos && i < origen.FieldCount(); ++i) valores.append(origen.Fields(i).AsString());
  return valores.join(u';');
}

bool sustituir(Dataset& origen, Table& destino, const QString& clave) {
  try {
    if (!destino.FindKey({Variant::String(clave)})) return false;
    destino.Edit();
    CopiarCampos(origen, destino);
    destino.Post();
    return true;
  } catch (const std::exception&) {
    if (destino.State() == dsEdit) destino.Cancel();
    return false;
  }
}

void agregar(Dataset& origen, Table& destino) {
  try {
    destino.Insert();
    CopiarCampos(origen, destino);
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
  const QStringList nombres = campos.isEmpty() ? origen.GetFieldNames() : campos.split(u';');
  for (const QString& nombre : nombres) {
    try {
      destino.FieldByName(nombre).SetAsString(origen.FieldByName(nombre).AsString());
    } catch (const std::exception&) {
      // A field the target lacks or refuses is left as it is.
    }
  }
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
  for (origen.First(); !origen.Eof(); origen.Next()) {
    const QString clave = claveRegistro(origen);
    VentanaProgreso(QString(), QString(), QString(), clave);
    if (modos.contains(QLatin1String("Sustituir")) && sustituir(origen, destino, clave)) continue;
    if (modos.contains(QLatin1String("Agregar"))) agregar(origen, destino);
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
