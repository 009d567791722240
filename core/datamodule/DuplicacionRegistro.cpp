#include "core/datamodule/DuplicacionRegistro.h"

#include "core/datamodule/CamposHora.h"
#include "core/datamodule/SiguienteCodigo.h"
#include "core/datamodule/TransaccionBasesDatos.h"
#include "core/helpers/Letras.h"
#include "core/helpers/Textos.h"
#include "core/messages/MensajeSistema.h"
#include "core/sql/MensajesSQL.h"
#include "core/system/CursorEspera.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"
#include "platform/format/Format.h"

#include <QStringList>

#include <algorithm>

namespace {

const QString kCancelada = QStringLiteral("Cancelada");

// The value of key field i, asked or taken from the key text; empty when
// cancelled or refused.
QString valorClave(Table& tabla, int i, const QString& nuevaClave) {
  const Field& campo = tabla.Fields(i);
  QString valor;
  if (nuevaClave.isEmpty()) {
    valor = QString::number(SiguienteCodigo(tabla, 1));
    if (valor == u"0") valor = campo.AsString();
    MensajePregunta(u"Introduzca el nuevo "_qs + AbreviarNombre(campo.FieldName(), 1) + u':', valor);
    if (MensajeCerrado()) return {};
  } else {
    valor = ExtraerElemento(i, nuevaClave, QStringLiteral(";"));
  }
  if (valor.isEmpty()) return {};
  if (campo.DataType() == ftSmallint && valor.size() > 4) {
    MensajeAviso(u"¡El valor introducido es demasiado grande (el máximo es de 4 dígitos)!"_qs);
    return {};
  }
  if (campo.DataType() == ftInteger && valor.size() > 8) {
    MensajeAviso(u"¡El valor introducido es demasiado grande (el máximo es de 8 dígitos)!"_qs);
    return {};
  }
  return valor;
}

// The record being inserted takes the new key in its first fields and the
// origin's other fields; a field that refuses its value keeps its default.
void rellenarCopia(const Dataset& origen, Table& destino, const QStringList& clave) {
  for (int j = 0; j < origen.FieldCount(); ++j) {
    const Field& campo = origen.Fields(j);
    Field* nuevo = destino.FindField(campo.FieldName());
    if (!nuevo) continue;
    try {
      if (j < clave.size())
        nuevo->SetAsString(EsCampoHoraRegistro(campo) ? TimeToStr(StrToTime(clave[j])) : clave[j]);
      else if (EsCampoHoraRegistro(campo))
        nuevo->SetAsDateTime(campo.AsDateTime());
      else
        nuevo->SetAsString(campo.AsString());
    } catch (const std::exception&) {
    }
  }
}

// A copy refused is cancelled, and its failure passed on.
void insertarCopia(const Dataset& origen, Table& destino, const QStringList& clave) {
  try {
    destino.Insert();
    rellenarCopia(origen, destino, clave);
    destino.Post();
  } catch (const std::exception&) {
    if (destino.State() == dsInsert) destino.Cancel();
    throw;
  }
}

bool abrir(Table& tabla, const QString& baseDatos, const QString& nombre, QString& error) {
  tabla.Close();
  tabla.SetDatabaseName(baseDatos);
  tabla.SetTableName(nombre);
  try {
    tabla.Open();
    return true;
  } catch (const std::exception& fallo) {
    error = TextoExcepcion(fallo);
    return false;
  }
}

// A detail table that cannot be opened leaves its warning for after the
// copy, as no message waits for the user while the copy holds the write lock.
void copiarDetalles(Table& segunda, Table& detalle, const QStringList& clave, QStringList& avisos) {
  QString error;
  detalle.DisableControls();
  if (!abrir(segunda, detalle.DatabaseName(), detalle.TableName(), error)) {
    avisos.append(u"¡El registro está bloqueado por otro usuario!"_qs);
    detalle.EnableControls();
    return;
  }
  try {
    for (detalle.First(); !detalle.Eof(); detalle.Next()) {
      try {
        insertarCopia(detalle, segunda, clave);
      } catch (const std::exception&) {
        // A detail refused is left out.
      }
    }
  } catch (const std::exception&) {
  }
  segunda.Close();
  detalle.EnableControls();
}

// The master's new record and its details are written in one go: a copy
// cut short leaves nothing behind.
void copiar(Table& segunda, Table& tabla, const QList<Table*>& detalles, const QStringList& clave,
            QStringList& avisos) {
  QStringList basesDatos = {tabla.DatabaseName()};
  for (const Table* detalle : detalles)
    if (detalle) basesDatos.append(detalle->DatabaseName());
  TransaccionBasesDatos transaccion(basesDatos);
  insertarCopia(tabla, segunda, clave);
  for (Table* detalle : detalles)
    if (detalle) copiarDetalles(segunda, *detalle, clave, avisos);
  transaccion.Confirmar();
}

}  // namespace

void DuplicarRegistro(Table& tabla, Table* detalle, QString& resultado) {
  DuplicarRegistroClave(tabla, detalle ? QList<Table*>{detalle} : QList<Table*>{}, QString(), resultado);
}

void DuplicarRegistroDetalles(Table& tabla, const QList<Table*>& detalles, QString& resultado) {
  DuplicarRegistroClave(tabla, detalles, QString(), resultado);
}

void DuplicarRegistroClave(Table& tabla, const QList<Table*>& detalles, const QString& nuevaClave,
                           QString& resultado) {
  resultado.clear();
  const int n = std::min(tabla.IndexFieldCount(), tabla.FieldCount());
  QStringList clave;
  for (int i = 0; i < n; ++i) {
    const QString valor = valorClave(tabla, i, nuevaClave);
    if (valor.isEmpty()) {
      resultado = kCancelada;
      return;
    }
    clave.append(valor);
  }

  CursorEspera cursor;
  Table segunda;
  QString error;
  if (!abrir(segunda, tabla.DatabaseName(), tabla.TableName(), error)) {
    resultado = u"Error: "_qs + error;
    return;
  }
  QStringList avisos;
  try {
    copiar(segunda, tabla, detalles, clave, avisos);
  } catch (const std::exception& fallo) {
    resultado = u"Error: "_qs + TextoExcepcion(fallo);
    return;
  }
  for (const QString& aviso : avisos) MensajeAviso(aviso);
  QList<Variant> valores;
  for (const QString& valor : clave) valores.append(Variant::String(valor));

  // The caller's table comes to the new record.
  try {
    QStringList campos;
    for (int i = 0; i < n; ++i) campos.append(tabla.Fields(i).FieldName());
    tabla.Refresh();
    if (n > 0) tabla.Locate(campos.join(u';'), Variant::Array(valores));
  } catch (const std::exception&) {
  }
}
