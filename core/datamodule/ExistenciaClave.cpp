#include "core/datamodule/ExistenciaClave.h"

#include "core/connections/Conexiones.h"
#include "core/datamodule/CamposHora.h"
#include "core/datamodule/ClavesRegistro.h"
#include "core/datamodule/CatalogoClaves.h"
#include "core/datamodule/PrepararTabla.h"
#include "core/helpers/Fechas.h"
#include "core/helpers/LiteralesSQL.h"
#include "core/helpers/Tablas.h"
#include "core/helpers/TextoSQL.h"
#include "core/helpers/Textos.h"
#include "core/sql/BaseDatosSQL.h"
#include "core/sql/ConsultasSQL.h"
#include "core/sql/EjecucionSQL.h"
#include "core/startup/Configuracion.h"
#include "core/tables/NombresTablas.h"
#include "platform/data/Field.h"
#include "platform/data/Query.h"
#include "platform/data/Table.h"
#include "platform/format/DateTime.h"
#include "platform/format/Format.h"

#include <QStringList>


namespace {

const QString kSeparador = QStringLiteral(";");

QString baseDatosLogica(const QString& tabla) {
  return EsTablaGeneral(tabla) ? QStringLiteral("DatabaseGeneral") : QStringLiteral("Database");
}

QStringList camposClave(const QString& tabla) {
  const QString lista = CamposClavePrimaria(tabla);
  if (lista.isEmpty() || lista.startsWith(QLatin1String("Error."))) return {};
  return lista.split(u';');
}

// A d/m/y piece; a two-digit year below 50 in the 2000s.
bool fechaDePieza(const QString& pieza, TDateTime& fecha) {
  if (ContarCaracter(u'/', pieza) != 2) return false;
  bool bien[3];
  const int dia = pieza.section(u'/', 0, 0).trimmed().toInt(&bien[0]);
  const int mes = pieza.section(u'/', 1, 1).trimmed().toInt(&bien[1]);
  const int anyo = pieza.section(u'/', 2, 2).trimmed().toInt(&bien[2]);
  if (!bien[0] || !bien[1] || !bien[2]) return false;
  return TryEncodeDate(AnioCompleto(anyo), mes, dia, fecha);
}

QStringList nombres(const QStringList& campos) {
  QStringList escritos;
  for (const QString& campo : campos) escritos.append(NombreSQL(campo));
  return escritos;
}

// The key fields that hold dates, read from a query that returns no row.
QStringList camposFecha(const QString& tabla, const QStringList& campos) {
  Query tipos;
  tipos.SetDatabaseName(BaseDatosBDE(baseDatosLogica(tabla)));
  tipos.SQL().SetText(QStringLiteral("SELECT ") + nombres(campos).join(QStringLiteral(", ")) + QStringLiteral(" FROM ") +
                      NombreSQLTabla(NombreTablaFisica(tabla)) + QStringLiteral(" WHERE 1 = 0"));
  if (!AbrirOEjecutarConsulta(tipos, QStringLiteral("Silencio"))) return {};
  QStringList fechas;
  for (int i = 0; i < tipos.FieldCount(); ++i) {
    const FieldType tipo = tipos.Fields(i).DataType();
    if (tipo == ftDate || tipo == ftDateTime) fechas.append(tipos.Fields(i).FieldName());
  }
  return fechas;
}

QString condicionesSQLServer(const QString& tabla, const QString& clave) {
  const QStringList campos = camposClave(tabla);
  QStringList fechas;
  bool fechasLeidas = false;
  QStringList condiciones;
  for (int i = 0; i < campos.size(); ++i) {
    const QString campo = NombreSQL(campos[i]);
    QString valor = ExtraerElemento(i, clave, kSeparador);
    TDateTime fecha = 0;
    if (fechaDePieza(valor, fecha)) {
      if (!fechasLeidas) fechas = camposFecha(tabla, campos);
      fechasLeidas = true;
      if (fechas.contains(campos[i], Qt::CaseInsensitive)) valor = FormatDateTime(FormatoFechaSQL, fecha);
    }
    condiciones.append(valor.isEmpty() ? u"("_qs + campo + u" = '' OR "_qs + campo + u" IS NULL)"_qs
                                       : u"("_qs + campo + u" = "_qs + LiteralSQL(valor) + u')');
  }
  return condiciones.join(QStringLiteral(" AND "));
}

Variant valoresConsultaSQLServer(const QString& tabla, const QString& clave, const QString& campos) {
  const QString condiciones = condicionesSQLServer(tabla, clave);
  Query consulta;
  consulta.SetDatabaseName(BaseDatosBDE(baseDatosLogica(tabla)));
  const QString lista =
      campos.isEmpty() ? QStringLiteral("*") : nombres(campos.split(u';')).join(QStringLiteral(", "));
  consulta.SQL().SetText(QStringLiteral("SELECT ") + lista + QStringLiteral(" FROM ") + NombreSQLTabla(NombreTablaFisica(tabla)) +
                         (condiciones.isEmpty() ? QString() : QStringLiteral(" WHERE ") + condiciones));
  if (!AbrirOEjecutarConsulta(consulta, QStringLiteral("Silencio")) || consulta.IsEmpty()) return Variant::Null();
  QList<Variant> valores;
  for (int i = 0; i < consulta.FieldCount(); ++i) valores.append(Variant::String(consulta.Fields(i).AsString()));
  return Variant::Array(valores);
}

QString textoHora(const QString& texto) {
  TDateTime hora = 0;
  return TryStrToTime(texto, hora) ? TimeToStr(hora) : texto;
}

}  // namespace

bool ExisteClave(Dataset& dataset, const QString& clave) {
  const QString tabla = NombreTablaDataSet(dataset);
  if (tabla.isEmpty()) return false;
  const QStringList campos = camposClave(tabla);
  // Without key fields the statement could only fail.
  if (campos.isEmpty()) return false;
  QString sql = u"SELECT "_qs + NombreSQL(campos.first()) + u" FROM "_qs + NombreSQLTabla(tabla) + u"  WHERE 1=1 "_qs;
  for (int i = 0; i < campos.size(); ++i)
    sql += u"  AND "_qs + NombreSQL(campos[i]) + u" = "_qs + LiteralSQL(ExtraerElemento(i, clave, kSeparador));
  const QString resultado = EjecutarSQL(sql, baseDatosLogica(tabla));
  return !resultado.isEmpty() && !resultado.contains(QLatin1String("Error."));
}

bool ExisteClaveEnTabla(const QString& tabla, const QString& clave) {
  if (tabla.isEmpty()) return false;
  Table objeto;
  objeto.SetDatabaseName(BaseDatosBDE(baseDatosLogica(tabla)));
  objeto.SetTableName(NombreTablaFisica(tabla));
  return ExisteClave(objeto, clave);
}

Variant ConsultaFiltrada(const QString& tabla, const QString& clave, Variant& valores, const QString& campos) {
  if (EsSQLServer()) {
    valores = valoresConsultaSQLServer(tabla, clave, campos);
    return valores;
  }
  Table objeto;
  objeto.SetDatabaseName(BaseDatosBDE(baseDatosLogica(tabla)));
  objeto.SetTableName(NombreTablaFisica(tabla));
  return LeerRegistroClave(objeto, clave, valores, campos);
}

Variant LeerRegistroClave(const Table& tabla, const QString& clave, Variant& valores, const QString& campos) {
  valores = Variant::Null();
  Table copia;
  copia.SetDatabaseName(tabla.DatabaseName());
  copia.SetTableName(tabla.TableName());
  if (!PrepararTabla(copia)) return valores;

  const int numeroCampos = copia.IndexFieldCount();
  QList<Variant> clavesBuscadas;
  QStringList textosClave;
  bool anterior = false;
  for (int i = 0; i < numeroCampos; ++i) {
    QString pieza = ExtraerElemento(i, clave, kSeparador);
    if (i == numeroCampos - 1 && pieza.startsWith(QLatin1String("Ant:"))) {
      pieza = pieza.mid(4);
      anterior = true;
    }
    if (EsCampoHoraRegistro(copia.IndexFields(i))) pieza = textoHora(pieza);
    textosClave.append(pieza);
    clavesBuscadas.append(Variant::String(pieza));
  }

  bool encontrado = false;
  try {
    if (numeroCampos == 0) {
      copia.First();
      encontrado = !copia.IsEmpty();
    } else if (numeroCampos <= 4) {
      encontrado = copia.FindKey(clavesBuscadas);
    }
    if (encontrado && anterior) {
      copia.Prior();
      encontrado = !copia.Bof();
      for (int i = 0; encontrado && i < numeroCampos - 1; ++i)
        encontrado = TextoCampoRegistro(copia.IndexFields(i)) == textosClave[i];
    }
    if (!encontrado) return valores;

    QList<Variant> leidos;
    const QStringList nombres = campos.isEmpty() ? copia.GetFieldNames() : campos.split(u';');
    for (const QString& nombre : nombres)
      leidos.append(Variant::String(TextoCampoRegistro(copia.FieldByName(nombre))));
    valores = Variant::Array(leidos);
  } catch (const std::exception&) {
    valores = Variant::Null();
  }
  return valores;
}
