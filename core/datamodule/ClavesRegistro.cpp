#include "core/datamodule/ClavesRegistro.h"

#include "core/connections/Conexiones.h"
#include "core/datamodule/CamposHora.h"
#include "core/datamodule/CatalogoClaves.h"
#include "core/helpers/Tablas.h"
#include "core/helpers/TextoSQL.h"
#include "core/helpers/Textos.h"
#include "core/startup/Configuracion.h"
#include "platform/data/Field.h"
#include "platform/data/IndexedDataset.h"
#include "platform/data/Query.h"
#include "platform/data/Table.h"

namespace {

QString camposClave(Dataset& dataset) {
  if (auto* tabla = qobject_cast<Table*>(&dataset)) return DefinicionIndice(*tabla);
  const QString tabla = NombreTablaDataSet(dataset);
  return tabla.isEmpty() ? QString() : CamposClavePrimaria(tabla);
}

// The key fields up to the first empty piece; none when the catalogue failed
// (its message is already shown).
QStringList listaCampos(const QString& lista) {
  QStringList campos;
  if (lista.startsWith(QLatin1String("Error."))) return campos;
  for (int i = 0;; ++i) {
    const QString campo = ExtraerElemento(i, lista, QStringLiteral(";"));
    if (campo.isEmpty()) return campos;
    campos.append(campo);
  }
}

}  // namespace

QString NombreTablaDataSet(Dataset& dataset) {
  if (auto* tabla = qobject_cast<Table*>(&dataset)) return tabla->TableName();
  if (auto* consulta = qobject_cast<Query*>(&dataset)) return NombreTablaSQL(consulta->SQL().Text());
  return {};
}

bool DataSetDeModuloDatos(const Dataset& dataset) { return dataset.parent() && !dataset.parent()->isWidgetType(); }

QString ClaveRegistro(Dataset& dataset) {
  auto* tabla = qobject_cast<Table*>(&dataset);
  const QString nombre = NombreTablaDataSet(dataset);
  QString lista;
  if (tabla && !ArchivosTemporalesEnBD)
    lista = DefinicionIndice(*tabla);
  else if (!nombre.isEmpty())
    lista = CamposClavePrimaria(nombre);
  QString clave;
  for (const QString& campo : listaCampos(lista)) clave += TextoCampoRegistro(dataset.FieldByName(campo)) + u';';
  return clave;
}

Variant ValoresClave(Dataset& dataset) {
  QList<Variant> valores;
  for (const QString& nombre : listaCampos(camposClave(dataset))) {
    const Field& campo = dataset.FieldByName(nombre);
    valores.append(campo.DataType() == ftDateTime ? Variant::Date(campo.AsDateTime()) : campo.AsVariant());
  }
  return valores.isEmpty() ? Variant::Null() : Variant::Array(valores);
}

bool LocalizarClave(Dataset& dataset, const Variant& valores) {
  if (valores.IsNullOrEmpty()) return false;
  return dataset.Locate(camposClave(dataset), valores);
}

int NumeroCamposClave(Dataset& dataset) {
  const QString tabla = NombreTablaDataSet(dataset);
  if (EsSQLServer() && !(EsTablaTemporal(tabla) && !ArchivosTemporalesEnBD)) return NumeroCamposClaveTabla(tabla);
  const QString lista = camposClave(dataset);
  return lista.isEmpty() ? 0 : ContarCaracter(u';', lista) + 1;
}

bool TablaVacia(Dataset& dataset) { return dataset.IsEmpty(); }

bool EsCampoIndice(const Dataset& dataset, const Field& campo) {
  const auto* indexado = qobject_cast<const IndexedDataset*>(&dataset);
  if (!indexado) return false;
  for (int i = 0; i < indexado->IndexFieldCount(); ++i)
    if (&indexado->IndexFields(i) == &campo) return true;
  return false;
}
