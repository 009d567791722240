#include "core/tables/DefinicionesEstructura.h"

#include "core/connections/Conexiones.h"
#include "core/helpers/LiteralesSQL.h"
#include "core/helpers/Tablas.h"
#include "core/helpers/Textos.h"
#include "core/messages/MensajeSistema.h"
#include "core/sql/EjecucionSQL.h"
#include "core/startup/Configuracion.h"
#include "core/system/Archivos.h"
#include "platform/Exceptions.h"
#include "platform/Paths.h"
#include "platform/StringList.h"
#include "platform/TextFile.h"

#include <QFileInfo>
#include <QMap>

#include <optional>

namespace {

const QString kCRLF = QStringLiteral("\r\n");
const QString kNuevas = QStringLiteral("[Definiciones Nuevas o Sustitutivas]");
const QString kComplementarias = QStringLiteral("[Definiciones Complementarias]");

bool existeArchivo(const QString& ruta) { return !ruta.isEmpty() && QFileInfo(ruta).isFile(); }

QString comoTexto(const QStringList& lineas) {
  QString texto;
  for (const QString& linea : lineas) texto += linea + kCRLF;
  return texto;
}

QString lineasDeTipo(const QString& tabla, const QStringList& texto, const QString& tipo) {
  return comoTexto(LineasDeTipo(texto, tabla, tipo));
}

QString lineasCamposUsuario(const QString& tabla) {
  // Only a server knows the general database by its alias; elsewhere the
  // statement runs on that database already.
  const QString general = EsSQLServer() ? AliasBaseDatosGeneral + QStringLiteral(".dbo.") : QString();
  const QString filas = EjecutarSQL(QStringLiteral("SELECT OrdenCampo, NombreCampo, TipoCampo, LongitudCampo   FROM ") +
                                        general + QStringLiteral("CAMPOUSR ") + QStringLiteral("  WHERE NombreTabla = ") +
                                        LiteralSQL(tabla),
                                    QStringLiteral("DatabaseGeneral"));
  if (filas.startsWith(QLatin1String("Error."))) return QString();
  QString resultado;
  for (const QString& fila : LineasDefinicion(filas)) {
    const QStringList columnas = fila.split(u'|');
    if (columnas.size() < 4) continue;
    const QString tipo = TipoCampoUsuario(columnas[2]);
    if (tipo.isEmpty()) continue;
    bool numerico = false;
    const int orden = columnas[0].trimmed().toInt(&numerico);
    resultado += tabla + QStringLiteral("/C/") + QString::number(1000 + (numerico ? orden : 0)) + u'/' + columnas[1] +
                 u'/' + tipo + u'/' + columnas[3] + u'/' + kCRLF;
  }
  return resultado;
}

// Loads a definition file; nullopt when it cannot be read.
std::optional<QString> cargar(const QString& ruta, QString* motivo = nullptr) {
  try {
    return TextFile::Read(ruta);
  } catch (const Exception& error) {
    if (motivo) *motivo = error.Message();
    return std::nullopt;
  }
}

}  // namespace

QString RutaDatabaseTxt() {
  const QString nombre = QStringLiteral("DATABASE.TXT");
  const QString carpeta = Paths::Internal(PathBaseDatosGeneral);
  const QString ruta = Paths::FindFile(carpeta, nombre);
  if (existeArchivo(ruta)) return ruta;
  const QString original = Paths::FindFile(CarpetaPrograma, nombre);
  if (existeArchivo(original)) {
    try {
      CopiarArchivo(original, ruta);
    } catch (const Exception&) {
      // Without the copy the definitions are reported missing where they are read.
    }
  }
  return ruta;
}

QString RutaDefiniciones(const QString& extension) {
  const QString txt = RutaDatabaseTxt();
  const QFileInfo info(txt);
  return Paths::FindFile(info.path(), info.completeBaseName() + u'.' + extension);
}

QString LeerDefinicionesEstructura(const QString& archivoBase, const QString& primerArchivo,
                                   const QString& archivosFusion) {
  QString resultado;
  if (!primerArchivo.isEmpty()) {
    if (const auto texto = cargar(primerArchivo); texto && !texto->isEmpty()) resultado = *texto;
  }
  if (!archivoBase.isEmpty()) {
    QString motivo;
    if (const auto texto = cargar(archivoBase, &motivo)) {
      if (!texto->isEmpty()) resultado += kCRLF + *texto;
    } else {
      MensajeAviso(QStringLiteral("No está disponible el archivo ") + archivoBase + QStringLiteral(". Motivo: ") +
                   motivo);
    }
  }
  for (const QString& nombre : archivosFusion.split(u',')) {
    if (!existeArchivo(nombre)) continue;
    if (const auto texto = cargar(nombre)) resultado = DefinicionesEstructura(resultado, *texto);
  }
  return resultado;
}

QString DefinicionesEstandar() {
  return LeerDefinicionesEstructura(RutaDatabaseTxt(), RutaDefiniciones(QStringLiteral("ESP")),
                                    RutaDefiniciones(QStringLiteral("VRT")));
}

QString DefinicionesEstructura(const QString& base, const QString& fusion) {
  QString nuevas;
  QString complementarias;
  QString* seccion = &nuevas;
  for (const QString& linea : LineasDefinicion(fusion)) {
    if (linea == kNuevas) {
      seccion = &nuevas;
    } else if (linea == kComplementarias) {
      seccion = &complementarias;
    } else if (!linea.isEmpty()) {
      *seccion += linea + kCRLF;
    }
  }

  QString resultado = nuevas.isEmpty() ? base : nuevas + kCRLF + kCRLF + base;
  if (complementarias.isEmpty()) return resultado;

  const QStringList lineasBase = LineasDefinicion(base);
  const QStringList lineasComplementarias = LineasDefinicion(complementarias);
  QString bloques;
  for (const QString& tabla : LineasDefinicion(ListaTablasDefinidas(complementarias))) {
    for (const char* tipo : {"C", "I", "SQL"}) {
      bloques += lineasDeTipo(tabla, lineasBase, QLatin1String(tipo)) +
                 lineasDeTipo(tabla, lineasComplementarias, QLatin1String(tipo)) + kCRLF;
    }
  }
  return ReemplazarRepetido(kCRLF + kCRLF, kCRLF, bloques) + resultado;
}

QString DefinicionTabla(const QString& tabla, const QString& texto, const QString& partes) {
  const QString buscadas = u',' + partes + u',';
  const auto quiere = [&](const char* parte) {
    return partes.isEmpty() || buscadas.contains(u',' + QLatin1String(parte) + u',');
  };
  const QStringList todas = LineasDefinicion(texto);
  QString resultado;
  if (quiere("Campos")) resultado += lineasDeTipo(tabla, todas, QStringLiteral("C"));
  if (quiere("CamposUsuario")) resultado += lineasCamposUsuario(tabla);
  if (quiere("Indices")) resultado += lineasDeTipo(tabla, todas, QStringLiteral("I"));
  if (quiere("SQL")) resultado += lineasDeTipo(tabla, todas, QStringLiteral("SQL"));
  return resultado;
}

QString ListaCamposDefinidos(const QString& tabla, const QString& texto, const QString& opciones) {
  const bool conTipo = opciones.contains(QLatin1String("IncluirTipo"));
  QString resultado;
  for (const QString& linea : LineasDefinicion(texto)) {
    if (PiezaDefinicion(0, linea) != tabla || PiezaDefinicion(1, linea) != u"C") continue;
    resultado += PiezaDefinicion(3, linea) + (conTipo ? u'/' + PiezaDefinicion(4, linea) : QString()) + kCRLF;
  }
  return resultado;
}

QString ListaTablasDefinidas(const QString& texto, const QString& opciones) {
  StringList tablas;
  tablas.SetSorted(true);
  tablas.SetIgnoreDuplicates(true);
  QMap<QString, QString> fechas;
  for (const QString& linea : LineasDefinicion(texto)) {
    const int barra = linea.indexOf(u'|');
    if (barra < 0) continue;
    const QString tabla = PiezaDefinicion(0, linea);
    tablas.Add(tabla);
    if (!fechas.contains(tabla)) fechas.insert(tabla, linea.mid(barra + 1));
  }
  const bool conFecha = opciones.contains(QLatin1String("IncluirFecha"));
  QString resultado;
  for (const QString& tabla : tablas.Lines()) resultado += tabla + (conFecha ? u'|' + fechas.value(tabla) : QString()) + kCRLF;
  return resultado;
}

QString ArchivoDefinicionesTabla(const QString& opciones) {
  const bool sinGenerales = opciones == QLatin1String("ExcluirTablasBDGeneral");
  QString resultado;
  for (const QString& entrada : LineasDefinicion(ListaTablasDefinidas(DefinicionesEstandar()))) {
    const QString tabla = entrada.section(u'|', 0, 0);
    if (sinGenerales && EsTablaGeneral(tabla)) continue;
    resultado += tabla + kCRLF;
  }
  return resultado;
}

QStringList LineasDefinicion(const QString& texto) {
  QStringList resultado = texto.split(u'\n');
  for (QString& linea : resultado)
    if (linea.endsWith(u'\r')) linea.chop(1);
  if (!resultado.isEmpty() && resultado.last().isEmpty()) resultado.removeLast();
  return resultado;
}

QString PiezaDefinicion(int indice, const QString& linea) { return ExtraerElemento(indice, linea, QStringLiteral("/")); }

QStringList LineasDeTipo(const QStringList& lineas, const QString& tabla, const QString& tipo,
                         Qt::CaseSensitivity mayusculas) {
  QStringList resultado;
  bool enTabla = false;
  for (const QString& linea : lineas) {
    if (!tabla.isEmpty() && PiezaDefinicion(0, linea).compare(tabla, mayusculas) != 0) {
      if (enTabla) break;
      continue;
    }
    enTabla = true;
    if (PiezaDefinicion(1, linea) == tipo) resultado.append(linea);
  }
  return resultado;
}

QString TipoCampoUsuario(const QString& tipoCampo) {
  static const QMap<QString, QString> tipos{{QStringLiteral("Alfanumerico"), QStringLiteral("ftString")},
                                            {QStringLiteral("Numerico"), QStringLiteral("ftFloat")},
                                            {QStringLiteral("Entero"), QStringLiteral("ftInteger")},
                                            {QStringLiteral("Fecha"), QStringLiteral("ftDateTime")},
                                            {QStringLiteral("Texto"), QStringLiteral("ftMemo")}};
  return tipos.value(tipoCampo);
}
