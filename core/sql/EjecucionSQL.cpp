#include "core/sql/EjecucionSQL.h"

#include "core/connections/NombresBaseDatos.h"
#include "core/helpers/TextoSQL.h"
#include "core/messages/MensajeSistema.h"
#include "core/sql/BaseDatosSQL.h"
#include "core/sql/MensajesSQL.h"
#include "core/sql/ResultadoSQL.h"
#include "core/sql/TablasSentencia.h"
#include "platform/data/Query.h"
#include "platform/data/Field.h"
#include "platform/sql/TextMemo.h"

#include <optional>

namespace {

const QString kCRLF = QStringLiteral("\r\n");

enum class Camino { BDE, ADO };

// The statement kind is its first word as written: "select" or a statement
// that begins with a line break is a command.
QString tipoSentencia(const QString& sql) { return sql.left(sql.indexOf(u' ')); }

bool daFilas(const QString& tipo, Camino camino) {
  return tipo == u"SELECT" || (camino == Camino::BDE && tipo == u"EXEC");
}

void ejecutar(Query& consulta, const QString& tipo, Camino camino) {
  if (tipo == u"SELECT") {
    consulta.Open();
    return;
  }
  consulta.ExecSQL();
  // The engine's road reads a procedure's rows by running it again as a query.
  if (camino == Camino::BDE && tipo == u"EXEC") consulta.Open();
}

// The statement as it is run, kept for the texts the program sends again.
QString textoConsulta(const QString& sql, bool select, bool forzarNULL) {
  thread_local TextMemo<QString> textos[3];  // command, SELECT, SELECT with ForzarNULL
  return textos[select ? 1 + forzarNULL : 0].Of(sql, [&] {
    const QString texto = AmpliarComparacionesVacias(sql);
    return select ? ComparacionesConNULL(texto, forzarNULL) : texto;
  });
}

class EjecucionSQL {
 public:
  EjecucionSQL(const QString& sql, const QString& baseDatos, const QString& opciones, Camino camino)
      : sql_(sql), opciones_(opciones), camino_(camino), tipo_(tipoSentencia(sql)) {
    consulta_.SetDatabaseName(camino == Camino::BDE ? BaseDatosBDE(baseDatos) : BaseDatosADO(baseDatos, opciones));
    texto_ = textoConsulta(sql, tipo_ == u"SELECT", opciones.contains(QLatin1String("ForzarNULL")));
    consulta_.SQL().SetText(texto_);
  }

  QString Resultado() {
    if (const auto fallo = ejecutarConsulta()) return *fallo;
    if (!daFilas(tipo_, camino_)) return {};
    try {
      return TextoResultadoSQL(consulta_, FormatoResultadoSQL::DeOpciones(opciones_, camino_ == Camino::BDE));
    } catch (const std::exception& error) {
      return falloLectura(TextoExcepcion(error));
    }
  }

  std::optional<QList<QStringList>> Filas() {
    if (ejecutarConsulta()) return std::nullopt;
    QList<QStringList> filas;
    if (!daFilas(tipo_, camino_)) return filas;
    try {
      for (consulta_.First(); !consulta_.Eof(); consulta_.Next()) {
        QStringList fila;
        for (int n = 0; n < consulta_.FieldCount(); ++n) fila << consulta_.Fields(n).AsString();
        filas << fila;
      }
    } catch (const std::exception& error) {
      falloLectura(TextoExcepcion(error));
      return std::nullopt;
    }
    return filas;
  }

 private:
  // Runs the statement; its failure text (shown unless silent), nothing when it ran.
  std::optional<QString> ejecutarConsulta() {
    try {
      ejecutar(consulta_, tipo_, camino_);
    } catch (const std::exception& error) {
      bool halladas = false;
      const bool creada = tablaCreada(error, halladas);
      if (!creada && !halladas) return falloEjecucion(TextoExcepcion(error));
      try {
        ejecutar(consulta_, tipo_, camino_);
      } catch (const std::exception& reintento) {
        // Tables another program made change nothing of the statement's own failure.
        return creada ? falloLectura(TextoExcepcion(reintento)) : falloEjecucion(TextoExcepcion(reintento));
      }
    }
    return std::nullopt;
  }

  bool silenciosa() const { return opciones_.contains(QLatin1String("Silenciosa")); }

  // A missing table is created from its definition, once, on the engine's
  // road. When it cannot be, the statement's own failure is reported, unless
  // every table it names is there now (halladas): another running program
  // made it meanwhile, and the statement runs again.
  bool tablaCreada(const std::exception& error, bool& halladas) {
    if (camino_ != Camino::BDE || opciones_.contains(QLatin1String("No Crear Tabla")) || tipo_ == u"EXEC" ||
        !ErrorTablaInexistente(TextoExcepcion(error)))
      return false;
    consulta_.Close();
    return CrearTablasDeSentencia(texto_, consulta_.DatabaseName(), &halladas);
  }

  QString falloEjecucion(const QString& motivo) const {
    const QString resultado = QStringLiteral("Error. No es posible ejecutar la sentencia SQL. Motivo: ") + motivo;
    if (!silenciosa()) {
      MensajeAviso(resultado);
      MostrarMensaje(QStringLiteral("Hay un error en la siguiente Sentencia SQL: ") + kCRLF + texto_);
    }
    return resultado;
  }

  QString falloLectura(const QString& motivo) const {
    const QString resultado = (camino_ == Camino::BDE
                                   ? QStringLiteral("Error. ¡Se ha producido un error en la Sentencia SQL!. Motivo: ")
                                   : QStringLiteral("Error. Se ha producido un error en la Sentencia SQL!. Motivo: ")) +
                              motivo;
    if (!silenciosa()) {
      MensajeError(resultado);
      MostrarMensaje(QStringLiteral("SentenciaSQL:") + kCRLF + sql_);
    }
    return resultado;
  }

  QString sql_;
  QString opciones_;
  Camino camino_;
  QString tipo_;
  QString texto_;
  Query consulta_;
};

QString codificar(QString texto) {
  texto.replace(u'=', QLatin1String("$IGUAL$"));
  return texto;
}

}  // namespace

QString EjecutarSQL(const QString& sql, const QString& baseDatos, const QString& opciones) {
  return EjecucionSQL(sql, baseDatos, opciones, Camino::BDE).Resultado();
}

std::optional<QList<QStringList>> EjecutarSQLFilas(const QString& sql, const QString& baseDatos,
                                                    const QString& opciones) {
  return EjecucionSQL(sql, baseDatos, opciones, Camino::BDE).Filas();
}

QString EjecutarSQLADO(const QString& sql, const QString& baseDatos, const QString& opciones) {
  return EjecucionSQL(sql, baseDatos, opciones, Camino::ADO).Resultado();
}

QString EjecutarSQLConCache(const QString& sql, StringList& cache, const QString& baseDatos, const QString& opciones) {
  constexpr int kLineasCache = 20000;
  const QString kVacio = QStringLiteral("Conjunto_Vacio");
  if (cache.Count() > kLineasCache) cache.Delete(0);
  const QString clave = codificar(sql);
  const QString guardado = cache.Values(clave);
  if (!guardado.isEmpty()) {
    if (guardado == kVacio) return {};
    QString resultado = guardado;
    resultado.replace(QLatin1String("$IGUAL$"), QLatin1String("="));
    resultado.replace(QLatin1String("$CRLF$"), kCRLF);
    return resultado;
  }
  const QString resultado = EjecutarSQL(sql, baseDatos, opciones);
  // A failure may pass; its text would stand for the answer until the list is cleared.
  if (resultado.startsWith(QLatin1String("Error."))) return resultado;
  QString valor = codificar(resultado);
  valor.replace(kCRLF, QLatin1String("$CRLF$"));
  cache.Add(clave + u'=' + (resultado.isEmpty() ? kVacio : valor));
  return resultado;
}

// The rows are kept as one line of the list: each cell percent-encoded, so
// that no "|", ";", "=" or line break of a value can be read as a boundary.
std::optional<QList<QStringList>> EjecutarSQLFilasConCache(const QString& sql, StringList& cache,
                                                           const QString& baseDatos, const QString& opciones) {
  constexpr int kLineasCache = 20000;
  if (cache.Count() > kLineasCache) cache.Delete(0);
  const QString clave = codificar(QStringLiteral("Filas:") + sql);
  const QString guardado = cache.Values(clave);
  if (guardado.startsWith(u'F')) {
    QList<QStringList> filas;
    for (const QString& fila : guardado.mid(1).split(u';', Qt::SkipEmptyParts)) {
      QStringList celdas;
      for (const QString& celda : fila.split(u'|'))
        celdas.append(QString::fromUtf8(QByteArray::fromPercentEncoding(celda.mid(1).toLatin1())));
      filas.append(celdas);
    }
    return filas;
  }
  std::optional<QList<QStringList>> filas = EjecutarSQLFilas(sql, baseDatos, opciones);
  if (!filas) return filas;
  QStringList lineas;
  for (const QStringList& fila : *filas) {
    QStringList celdas;
    // A leading mark keeps an empty cell from being an empty piece.
    for (const QString& celda : fila) celdas.append(u'c' + QString::fromLatin1(celda.toUtf8().toPercentEncoding()));
    lineas.append(celdas.join(u'|'));
  }
  cache.Add(clave + QStringLiteral("=F") + lineas.join(u';'));
  return filas;
}

