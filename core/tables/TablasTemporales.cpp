#include "core/tables/TablasTemporales.h"

#include "core/connections/VariablesConexion.h"
#include "core/datamodule/Genemodu.h"
#include "core/helpers/LiteralesSQL.h"
#include "core/services/Red.h"
#include "core/sql/EjecucionSQL.h"
#include "core/startup/Configuracion.h"
#include "core/tables/SentenciasCreacion.h"
#include "platform/Exceptions.h"
#include "platform/Form.h"
#include "platform/data/Field.h"
#include "platform/data/Query.h"
#include "platform/data/Session.h"
#include "platform/data/TypeTable.h"

#include <limits>

namespace {

// Registration gives up after this many refused inserts in a row: each one
// means another workstation took the counter, or NOMBTTEM refuses rows.
constexpr int kIntentosRegistro = 50;

const QString kGeneral = QStringLiteral("DatabaseGeneral");

// The part of a registered name the program uses.
constexpr int kLongitudNombreCorto = 20;

QString nombreCorto(qint64 contador, const QString& sufijo) {
  return QStringLiteral("TEMP") + QStringLiteral("%1").arg(contador, 6, 10, QLatin1Char('0')) + u'_' + sufijo;
}

// NOMBTTEM is every workstation's to write: a row names a table of this
// program only when its short name is the one the program makes from the
// row's own counter, so a name changed or added by anyone else, which could
// be another table or a statement, is passed over.
bool esNombrePropio(const QStringList& fila, const QString& sufijo) {
  bool numero = false;
  const qint64 contador = fila.value(0).toLongLong(&numero);
  return numero && contador > 0 && fila.value(1) == nombreCorto(contador, sufijo);
}

bool esError(const QString& resultado) { return resultado.startsWith(QLatin1String("Error.")); }

constexpr qint64 kContadorMaximo = std::numeric_limits<qint32>::max();

// The lowest counter from 1 that no row holds, for when a row stands at the
// top of the counter's range: [1, n] holds n rows while it has no gap, which
// the key's index counts.
qint64 primerContadorLibre() {
  qint64 lleno = 0;  // [1, lleno] has no gap
  qint64 hasta = kContadorMaximo;
  while (lleno < hasta) {
    const qint64 medio = lleno + (hasta - lleno + 1) / 2;
    const QString filas = EjecutarSQL(
        QStringLiteral("SELECT COUNT(*) FROM NOMBTTEM WHERE Contador BETWEEN 1 AND ") + QString::number(medio), kGeneral);
    if (esError(filas)) throw Abort();
    if (filas.toLongLong() == medio)
      lleno = medio;
    else
      hasta = medio - 1;
  }
  return lleno + 1;
}

QString nombrePropietario(const QObject* propietario) {
  if (qobject_cast<const Form*>(propietario) || qobject_cast<const TModuloDatos*>(propietario))
    return propietario->objectName();
  return QStringLiteral("Unknown");
}

QString columnaConsulta(const Field& campo) {
  TypeTable::SqlServerColumnOptions opciones;
  opciones.length = QString::number(campo.Size());
  opciones.decimalType = TipoDecimalSQL(campo.FieldName());
  opciones.nullDate = FechaNulaSQL;
  return NombreSQL(campo.FieldName()) + TypeTable::SqlServerColumn(campo.DataType(), opciones) +
         (campo.Required() ? QStringLiteral(", ") : QStringLiteral(" NULL, "));
}

// Until start-up finds the engine's session number, the instance's own
// session tells two running instances apart.
int sesion() {
  if (SesionBDE != 0) return SesionBDE;
  try {
    return Session::Default().SessionNumber();
  } catch (const std::exception&) {
    return 0;
  }
}

}  // namespace

QString NombreTablaTemporal(const QObject* propietario, int numero) {
  const QString nombre = nombrePropietario(propietario);
  const QString largo = QStringLiteral("TEMP_") + DireccionMAC(QStringLiteral("SinSeparadores")) + u'_' + nombre + u'_' +
                        QString::number(numero) + u'_' + QString::number(sesion()) + u'_' + CodigoUsuarioActual;
  return RegistrarTablaTemporal(largo, nombre);
}

QString RegistrarTablaTemporal(const QString& nombreLargo, const QString& propietario) {
  const QString sufijo = propietario.isEmpty() ? nombreLargo.section(u'_', 2, 2) : propietario;
  const QString consulta =
      QStringLiteral("SELECT Contador, NombreTablaTemporal FROM NOMBTTEM   WHERE NombreTablaTemporalOrg = ") +
      LiteralSQL(nombreLargo) + QStringLiteral(" ORDER BY Contador");
  for (int intento = 0;; ++intento) {
    const std::optional<QList<QStringList>> registrados = EjecutarSQLFilas(consulta, kGeneral);
    if (!registrados) throw Abort();  // shown by EjecutarSQL
    for (const QStringList& fila : *registrados)
      if (esNombrePropio(fila, sufijo)) return fila[1].left(kLongitudNombreCorto);

    const QString maximo = EjecutarSQL(QStringLiteral("SELECT MAX(Contador) FROM NOMBTTEM"), kGeneral);
    if (esError(maximo)) throw Abort();
    const qint64 ultimoContador = maximo.toLongLong();
    const qint64 contador = ultimoContador < kContadorMaximo ? ultimoContador + 1 : primerContadorLibre();
    // The last try shows why the row is refused.
    const bool ultimo = intento == kIntentosRegistro;
    EjecutarSQL(QStringLiteral("INSERT INTO NOMBTTEM VALUES (") + QString::number(contador) + QStringLiteral(", ") +
                    LiteralSQL(nombreLargo) + QStringLiteral(", ") + LiteralSQL(nombreCorto(contador, sufijo)) + u')',
                kGeneral, ultimo ? QString() : QStringLiteral("Silenciosa"));
    if (ultimo) throw Abort();
  }
}

QString SentenciaTablaConsulta(const QString& tabla, const Dataset& consulta) {
  QString columnas;
  for (int i = 0; i < consulta.FieldCount(); ++i) columnas += columnaConsulta(consulta.Fields(i));
  return QStringLiteral("CREATE TABLE ") + NombreSQL(tabla) + QStringLiteral(" (") + columnas + u')';
}

bool CopiarConsultaATablaTemporal(Query& consulta) {
  const QString tabla = NombreTablaTemporal(ModuloDatos, 0);
  const QString crear = SentenciaTablaConsulta(tabla, consulta);
  const QString origen = consulta.SQL().Text().trimmed();

  consulta.Close();
  EjecutarSQL(QStringLiteral("DROP TABLE ") + NombreSQL(tabla), kGeneral, QStringLiteral("Silenciosa"));
  if (esError(EjecutarSQL(crear, kGeneral))) return false;
  const QString enGeneral = NombreSQL(AliasBaseDatosGeneral) + QStringLiteral(".dbo.") + NombreSQL(tabla);
  if (esError(EjecutarSQL(QStringLiteral("INSERT INTO ") + enGeneral + u' ' + origen, QStringLiteral("Database"))))
    return false;
  consulta.SQL().SetText(QStringLiteral("SELECT * FROM ") + enGeneral);
  consulta.Open();
  return true;
}
