#include "core/datamodule/CopiaPorClave.h"

#include "core/datamodule/CamposHora.h"
#include "core/datamodule/ClavesRegistro.h"
#include "core/datamodule/PrepararTabla.h"
#include "core/helpers/Textos.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"

#include <memory>

namespace {

std::unique_ptr<Table> copiaPreparada(const Table& tabla) {
  auto copia = std::make_unique<Table>();
  copia->SetDatabaseName(tabla.DatabaseName());
  copia->SetTableName(tabla.TableName());
  if (!PrepararTabla(*copia)) return nullptr;
  return copia;
}

QList<Variant> primerasPiezas(const QString& clave, int cuantas) {
  QList<Variant> valores;
  for (int i = 0; i < cuantas; ++i) valores.append(Variant::String(ExtraerElemento(i, clave, QStringLiteral(";"))));
  return valores;
}

// The copy, on the record of the key, when its index has 1 to maxCampos fields.
std::unique_ptr<Table> registroDeClave(const Table& tabla, const QString& clave, int maxCampos) {
  std::unique_ptr<Table> copia = copiaPreparada(tabla);
  if (!copia) return nullptr;
  const int campos = copia->IndexFieldCount();
  if (campos < 1 || campos > maxCampos || !copia->FindKey(primerasPiezas(clave, campos))) return nullptr;
  return copia;
}

}  // namespace

QString UltimaClaveRango(Table& tabla) {
  const QString clave = ClaveRegistro(tabla);
  std::unique_ptr<Table> copia = copiaPreparada(tabla);
  if (!copia) return {};
  const int iniciales = copia->IndexFieldCount() - 1;
  if (iniciales >= 1 && iniciales <= 4) {
    const QList<Variant> valores = primerasPiezas(clave, iniciales);
    copia->SetRange(valores, valores);
  }
  copia->Last();
  return ClaveRegistro(*copia);
}

void CopiarRegistroClave(Table& tabla, const QString& clave) {
  const std::unique_ptr<Table> copia = registroDeClave(tabla, clave, 6);
  if (!copia) return;
  for (int i = 0; i < copia->FieldCount(); ++i) {
    const Field& origen = copia->Fields(i);
    if (EsCampoIndice(*copia, origen)) continue;
    if (Field* destino = tabla.FindField(origen.FieldName())) destino->SetAsString(TextoCampoRegistro(origen));
  }
}

void CopiarCampoDeRegistro(Table& tabla, const QString& campo, const QString& clave) {
  const std::unique_ptr<Table> copia = registroDeClave(tabla, clave, 5);
  if (copia) tabla.FieldByName(campo).SetAsVariant(copia->FieldByName(campo).AsVariant());
}
