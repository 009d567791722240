#include "maintenance/TraspasoTablas.h"

#include "core/datamodule/TransaccionBasesDatos.h"
#include "core/helpers/LiteralesSQL.h"
#include "core/helpers/Tablas.h"
#include "core/helpers/TiposCampo.h"
#include "core/sql/BaseDatosSQL.h"
#include "core/sql/EjecucionSQL.h"
#include "core/sql/MensajesSQL.h"
#include "core/startup/Configuracion.h"
#include "core/tables/CreacionTabla.h"
#include "core/tables/NombresTablas.h"
#include "platform/data/BatchMove.h"
#include "platform/data/EngineQuery.h"
#include "platform/data/Field.h"
#include "platform/data/Session.h"
#include "platform/data/SqlRouting.h"
#include "platform/data/Table.h"
#include "platform/data/TypeTable.h"
#include "platform/engine/EngineConnection.h"
#include "platform/engine/EngineDialect.h"
#include "platform/engine/EngineStatement.h"
#include "platform/engine/WriteTransaction.h"
#include "platform/sqlite/Connection.h"
#include "platform/sqlite/DatabaseError.h"

#include <QStringDecoder>

#include <map>

namespace {

const QString kFinLinea = QStringLiteral("\r\n");

// Bytes bound to a text column are the engine's own text, UTF-8; bytes that
// are no such text are refused rather than stored changed.
QString textoDeBytes(const QByteArray& bytes) {
  QStringDecoder decodificador(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString texto = decodificador(bytes);
  if (decodificador.hasError())
    throw EDatabaseError(QLatin1String(EngineText::GeneralSqlError), QStringLiteral("Malformed string"));
  return texto;
}

// A source value bound as a query binds it (empty text as NULL), a binary
// one as its bytes: as text it would be stored re-encoded.
QVariant ligado(const QVariant& valor, bool binario) {
  switch (valor.metaType().id()) {
    case QMetaType::LongLong:
    case QMetaType::Double:
      return valor;
    case QMetaType::QByteArray:
      return binario ? valor : QVariant(textoDeBytes(valor.toByteArray()));
    default: {
      const QString texto = valor.toString();
      return texto.isEmpty() ? QVariant() : QVariant(texto);
    }
  }
}

// One statement of the copy by records, its ":pN" parameters taken from the
// values in order. A query's parameters carry no bytes, so it runs on the
// destination's connection as a query would run it.
void insertar(const QString& destino, const QString& sql, const QList<QVariant>& valores) {
  const SqlRouting::Routed encaminada = SqlRouting::Route(Session::Default().OpenDatabase(destino), sql, destino);
  if (encaminada.answer) return;
  encaminada.connection->ForEachStatement(encaminada.statement, [&valores](EngineStatement& sentencia) {
    for (int i = 1; i <= sentencia.ParameterCount(); ++i)
      sentencia.Bind(i, valores.value(sentencia.ParameterName(i).mid(2).toInt()));
    while (sentencia.Step()) {
    }
  });
}

// A name of the source as its engines read it: Interbase knows no brackets
// and SQLite no doubled "]" inside them.
QString NombreOrigen(const QString& nombre) { return NombreSQL(nombre, FormaNombreSQL::Comillas); }

bool vacio(const QVariant& valor) { return valor.isNull() || (valor.metaType().id() == QMetaType::QString && valor.toString().isEmpty()); }

}  // namespace

TraspasoTablas::TraspasoTablas(TfGENEINIC& servicios, QObject& propietario, OpcionesTraspaso opciones,
                               const DefinicionesTraspaso& definiciones, Estado estado)
    : servicios_(servicios),
      propietario_(propietario),
      opciones_(std::move(opciones)),
      origen_(opciones_.origen),
      definiciones_(definiciones),
      estado_(std::move(estado)) {}

void TraspasoTablas::AgregarIncidencia(const QString& texto) {
  incidencias_.append(QString::number(incidencias_.size() + 1) + QStringLiteral(" - ") + texto);
}

void TraspasoTablas::TraspasarTablas(const QString& pase, int empresa, const QStringList& tablas) {
  ResultadoTraspaso += QStringLiteral("- Empresa: ") + QString::number(empresa) + kFinLinea +
                       QStringLiteral("- Lista de Tablas: ") + kFinLinea;
  for (const QString& tabla : tablas) ResultadoTraspaso += tabla + kFinLinea;
  const bool general = pase == u"General";
  for (const QString& tabla : tablas)
    if (EsTablaGeneral(tabla) == general) traspasarTabla(tabla, empresa, general);
  if (!incidencias_.isEmpty()) ResultadoTraspaso += QStringLiteral("- Lista de Errores: ") + incidencias_.join(kFinLinea) + kFinLinea;
  estado_(QString());
}

void TraspasoTablas::traspasarTabla(const QString& tabla, int empresa, bool general) {
  const QString codigo = QString::number(empresa);
  const QString sufijo = QStringLiteral(" (Empresa: ") + codigo + QStringLiteral(")!");
  estadoActual_ = general ? QStringLiteral("Traspasando Tabla: ") + tabla
                          : QStringLiteral("Traspasando Empresa/Tabla: ") + codigo + u'/' + tabla;
  estado_(estadoActual_);
  const QString fallo = QStringLiteral("¡No ha sido posible traspasar la tabla ") + tabla + sufijo + QStringLiteral(". Motivo: ");
  if (const QString motivo = MotivoNombreTablaTraspaso(tabla); !motivo.isEmpty()) {
    AgregarIncidencia(fallo + MensajeNombreTablaNoValido(tabla, motivo));
    return;
  }
  const TablaTraspaso* definicion = definiciones_.Tabla(tabla);
  std::shared_ptr<EngineConnection> origen;
  try {
    origen = origen_.Abrir(general || opciones_.empresaIndividual ? QString() : codigo);
    // A table that cannot be read leaves its destination as it was.
    origen->Prepare(QStringLiteral("SELECT * FROM ") + NombreOrigen(tabla))->Step();
  } catch (const std::exception& error) {
    AgregarIncidencia(fallo + TextoExcepcion(error));
    return;
  }
  bool lotes = !opciones_.camposNull || !definicion || sinCamposNulos(*origen, *definicion, sufijo);
  const QString destino = BaseDatosBDE(general ? QStringLiteral("DatabaseGeneral") : QStringLiteral("Database"));
  try {
    TransaccionBasesDatos transaccion({destino});
    EjecutarSQL(SentenciaEliminarTabla(tabla), destino, QStringLiteral("Silenciosa"));
    Table nueva(&propietario_);
    nueva.SetDatabaseName(destino);
    nueva.SetTableName(tabla);
    // A table that could not be made leaves the one dropped as it was.
    if (!CrearTabla(nueva, opciones_.archivoConversion + u';', empresa)) {
      AgregarIncidencia(QStringLiteral("¡Error creando la nueva tabla ") + tabla + sufijo);
      return;
    }
    if (lotes && opciones_.camposNull && definicion && !mismaClave(*origen, *definicion)) lotes = false;
    if (definicion && !(lotes && opciones_.porLotes && !tabla.startsWith(QLatin1String("PARA")) &&
                        copiarPorLotes(*origen, *definicion, destino)))
      copiarRegistros(*origen, *definicion, destino, sufijo);
    transaccion.Confirmar();
  } catch (const std::exception& error) {
    AgregarIncidencia(fallo + TextoExcepcion(error));
  }
}

bool TraspasoTablas::sinCamposNulos(EngineConnection& origen, const TablaTraspaso& definicion, const QString& sufijo) {
  if (definicion.clave.isEmpty()) return true;
  QStringList nulos;
  QStringList campos;
  for (const QString& campo : definicion.clave) {
    campos << NombreOrigen(campo);
    nulos << campos.last() + QStringLiteral(" IS NULL");
  }
  try {
    return !origen.Prepare(QStringLiteral("SELECT ") + campos.join(QStringLiteral(", ")) + QStringLiteral(" FROM ") +
                           NombreOrigen(definicion.nombre) + QStringLiteral(" WHERE ") + nulos.join(QStringLiteral(" OR ")))
                ->Step();
  } catch (const std::exception& error) {
    AgregarIncidencia(QStringLiteral("¡No ha sido posible detectar los campos nulos de la tabla ") + definicion.nombre +
                      sufijo + QStringLiteral(". Motivo: ") + TextoExcepcion(error));
    return false;
  }
}

// A batch keyed otherwise than the source would drop or merge its records
// silently; record by record each refusal is named.
bool TraspasoTablas::mismaClave(EngineConnection& origen, const TablaTraspaso& definicion) {
  std::map<int, QString> clave;
  try {
    const std::unique_ptr<EngineStatement> columnas = origen.Prepare(origen.Dialect().TableColumns());
    columnas->Bind(1, definicion.nombre);
    while (columnas->Step())
      if (const int posicion = columnas->Column(3).toInt(); posicion > 0) clave[posicion] = columnas->Column(0).toString().trimmed();
  } catch (const std::exception&) {
    return false;
  }
  if (int(clave.size()) != definicion.clave.size()) return false;
  int i = 0;
  for (const auto& [posicion, campo] : clave)
    if (campo.compare(definicion.clave[i++], Qt::CaseInsensitive) != 0) return false;
  return true;
}

bool TraspasoTablas::copiarPorLotes(EngineConnection& origen, const TablaTraspaso& definicion, const QString& destino) {
  EngineQuery fuente;
  fuente.SetConnection(&origen);
  fuente.SetSQLText(QStringLiteral("SELECT * FROM ") + NombreOrigen(definicion.nombre));
  fuente.Open();
  Table tabla;
  tabla.SetDatabaseName(destino);
  tabla.SetTableName(definicion.nombre);
  tabla.Open();
  BatchMove lote;
  lote.SetSource(&fuente);
  lote.SetDestination(&tabla);
  lote.SetAbortOnKeyViol(false);
  lote.SetAbortOnProblem(false);
  for (int i = 0; i < fuente.FieldCount(); ++i)
    if (const Field* campo = tabla.FindField(fuente.Fields(i).FieldName()))
      lote.Mappings().Add(campo->FieldName() + u'=' + fuente.Fields(i).FieldName());
  const QString fisica = NombreTablaFisica(definicion.nombre);
  for (const QString& linea : opciones_.mapeado)
    if (NombreTablaFisica(linea.section(u':', 0, 0).trimmed()).compare(fisica, Qt::CaseInsensitive) == 0)
      lote.Mappings().Add(linea.section(u':', 1));
  // The batch would store bytes bound for a text as they come, even those that
  // are no text: record by record they are read as text or named.
  for (const QString& pareja : lote.Mappings().Lines()) {
    const Field* campo = tabla.FindField(pareja.section(u'=', 0, 0).trimmed());
    const Field* origenCampo = fuente.FindField(pareja.section(u'=', 1).trimmed());
    if (campo && origenCampo && TypeTable::ValueClassOf(origenCampo->DataType()) == ValueClass::Binary &&
        TypeTable::ValueClassOf(campo->DataType()) != ValueClass::Binary)
      return false;
  }
  // A record the batch refuses is left to the copy by records, which names it.
  WriteTransaction escritura(*Session::Default().OpenDatabase(destino));
  lote.Execute();
  if (lote.KeyViolCount() + lote.ProblemCount() > 0) return false;
  escritura.Commit();
  return true;
}

void TraspasoTablas::copiarRegistros(EngineConnection& origen, const TablaTraspaso& definicion, const QString& destino,
                                     const QString& sufijo) {
  std::unique_ptr<EngineStatement> lectura = origen.Prepare(QStringLiteral("SELECT * FROM ") + NombreOrigen(definicion.nombre));
  bool hayFila = lectura->Step();
  // The destination's columns the source has, and its key columns whatever the source has.
  QList<int> columnasOrigen;
  QList<const CampoTraspaso*> campos;
  for (int i = 0; i < lectura->ColumnCount(); ++i)
    if (const CampoTraspaso* campo = definicion.Campo(lectura->ColumnName(i))) {
      columnasOrigen << i;
      campos << campo;
    }
  for (const QString& clave : definicion.clave)
    if (const CampoTraspaso* campo = definicion.Campo(clave); campo && !campos.contains(campo)) {
      columnasOrigen << -1;
      campos << campo;
    }
  QStringList nombres;
  for (const CampoTraspaso* campo : campos) nombres << NombreSQL(campo->nombre);
  const QString cabecera = QStringLiteral("INSERT INTO ") + NombreSQL(definicion.nombre) + QStringLiteral(" (") +
                           nombres.join(QStringLiteral(", ")) + QStringLiteral(") VALUES (");
  for (int leidos = 1; hayFila; hayFila = lectura->Step(), ++leidos) {
    // The screen stays alive through a long table.
    if (leidos % 1000 == 0) estado_(estadoActual_);
    QString claveRegistro;
    // A value that cannot be read or written as it is fails its record only.
    try {
      QStringList valores;
      QList<QVariant> ligados;
      for (int i = 0; i < campos.size(); ++i) {
        const CampoTraspaso& campo = *campos[i];
        QVariant valor = columnasOrigen[i] < 0 ? QVariant() : lectura->Column(columnasOrigen[i]);
        const bool esClave = definicion.clave.contains(campo.nombre, Qt::CaseInsensitive);
        if (esClave && vacio(valor)) {
          const bool numerico = EsTipoNumerico(campo.tipo);
          valores << (numerico ? QStringLiteral("0") : QStringLiteral("''"));
          claveRegistro += (numerico ? QStringLiteral("0") : QString()) + u';';
          continue;
        }
        if (esClave) claveRegistro += valor.toString() + u';';
        valores << u':' + QStringLiteral("p") + QString::number(ligados.size());
        ligados << ligado(valor, TypeTable::ValueClassOf(TipoCampoDeTexto(campo.tipo)) == ValueClass::Binary);
      }
      insertar(destino, cabecera + valores.join(QStringLiteral(", ")) + u')', ligados);
    } catch (const std::exception& error) {
      AgregarIncidencia(QStringLiteral("¡No ha sido posible grabar el registro ") + claveRegistro +
                        QStringLiteral(" de la tabla ") + definicion.nombre + sufijo + QStringLiteral(". Motivo: ") +
                        TextoExcepcion(error));
    }
  }
}
