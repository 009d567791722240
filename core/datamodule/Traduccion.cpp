#include "core/datamodule/Traduccion.h"

#include "core/connections/Conexiones.h"
#include "core/connections/VariablesConexion.h"
#include "core/helpers/LiteralesSQL.h"
#include "core/helpers/Validacion.h"
#include "core/sql/EjecucionSQL.h"
#include "core/startup/Configuracion.h"
#include "core/startup/Geneinic.h"
#include "platform/data/Database.h"

#include <QSet>
#include <QStringList>

#include <algorithm>

namespace {

constexpr int kLineasCache = 10000;
constexpr int kLineasDescartadas = 1001;
// A variable part is translated on its own and may hold variable parts
// again; past this depth the parts are translated word by word.
constexpr int kProfundidadVariables = 4;
const QLatin1String kCRLF("\r\n");

bool generalConectada() { return fGENEINIC && Conexiones(*fGENEINIC).DatabaseGeneral->Connected(); }

QString clausulaIntercalacion() {
  if (IntercalacionTraduccion.isEmpty()) return QString();
  QString intercalacion = IntercalacionTraduccion;
  const qsizetype acentos = intercalacion.indexOf(QLatin1String("_AS"));
  if (acentos >= 0) intercalacion.replace(acentos, 3, QStringLiteral("_AI"));
  return QStringLiteral(" COLLATE ") + intercalacion;
}

// Silent: a failing lookup must not raise a message while a message is shown.
QString consultar(const QString& sql) {
  const QString resultado = EjecutarSQL(sql, QStringLiteral("DatabaseGeneral"), QStringLiteral("Silenciosa"));
  return resultado.startsWith(QLatin1String("Error.")) ? QString() : resultado;
}

QString consultaIdioma(const char* columna, const QString& idioma, const QString& condiciones) {
  return QStringLiteral("SELECT TOP 1 ") + QLatin1String(columna) + QStringLiteral(" FROM TXIDIOMA   WHERE Idioma = ") +
         LiteralSQL(idioma) + condiciones + clausulaIntercalacion();
}

// The words of a text: its blanks and its full stops, which stand alone.
QStringList palabras(const QString& texto) {
  QString separado = SepararPuntos(texto, QStringLiteral("."), QStringLiteral("Directo"));
  separado.replace(u' ', kCRLF);
  StringList lineas;
  lineas.SetText(separado);
  return lineas.Lines();
}

QString unirPalabras(const QStringList& lista) {
  QString texto;
  for (const QString& palabra : lista) {
    if (palabra == QLatin1String(".") && texto.endsWith(u' ')) texto.chop(1);
    texto += palabra + u' ';
  }
  if (texto.endsWith(u' ')) texto.chop(1);
  return texto;
}

bool enCache(const QString& texto) {
  if (!texto.contains(u'=')) return CacheTraducciones.IndexOfName(texto) >= 0;
  const QString nombre = texto + u'=';
  for (const QString& linea : CacheTraducciones.Lines())
    if (linea.startsWith(nombre)) return true;
  return false;
}

void recortarCache() {
  if (CacheTraducciones.Count() <= kLineasCache) return;
  for (int i = 0; i < kLineasDescartadas; ++i) CacheTraducciones.Delete(0);
}

// The interface language of one TraducirTexto call, shared by its lookups.
QString idiomaEfectivo(const QString& idioma) { return idioma.isEmpty() ? IdiomaActual : idioma; }

QString traduccionExacta(const QString& texto, const QString& idioma) {
  if (texto.isEmpty()) return QString();
  const int indice = CacheTraducciones.IndexOfName(texto);
  if (indice < 0) {
    if (CacheTraducciones.Text().contains(kCRLF + texto + u'=')) return texto;
  } else if (!texto.contains(u'=')) {
    return CacheTraducciones.ValueFromIndex(indice);
  }
  const QString traduccion =
      consultar(consultaIdioma("Texto", idioma, QStringLiteral("    AND ClaveTexto = ") + LiteralSQL(texto)));
  // A text holding "=" cannot be read back by name: its line would only make
  // the next call take the text for one without translation.
  if (!traduccion.isEmpty() && !texto.contains(u'=')) {
    CacheTraducciones.Add(texto + u'=' + traduccion);
    recortarCache();
  }
  return traduccion;
}

int profundidadVariables = 0;

class NivelVariables {
 public:
  NivelVariables() { ++profundidadVariables; }
  ~NivelVariables() { --profundidadVariables; }
  NivelVariables(const NivelVariables&) = delete;
  NivelVariables& operator=(const NivelVariables&) = delete;
};

qsizetype contarPalabras(const QStringList& lista) {
  return std::count_if(lista.begin(), lista.end(), [](const QString& palabra) { return !palabra.isEmpty(); });
}

QString traduccionConVariables(const QString& texto, const QString& idioma) {
  if (profundidadVariables >= kProfundidadVariables) return QString();
  const NivelVariables nivel;
  const QStringList del_texto = palabras(texto);
  QString condiciones;
  QSet<QString> patrones;
  QString origen;
  for (int i = 0; i < del_texto.size(); ++i) {
    const QString& palabra = del_texto[i];
    const QString patron = i == 0 ? palabra + u'%' : i == del_texto.size() - 1 ? u'%' + palabra : u'%' + palabra + u'%';
    // A pattern already held changes neither the rows nor the first one;
    // asked again at every repeated word, the statement would grow with
    // the text.
    if (patrones.contains(patron)) continue;
    const QString ampliadas = condiciones + QStringLiteral(" AND ClaveTexto LIKE ") + LiteralSQL(patron) + u' ';
    const QString encontrado = consultar(consultaIdioma("ClaveTexto", idioma, ampliadas));
    if (encontrado.isEmpty()) continue;
    patrones.insert(patron);
    condiciones = ampliadas;
    origen = encontrado;
  }
  if (!origen.contains(QLatin1String("\\X"))) return QString();

  QStringList del_origen = palabras(origen);
  QList<bool> tachadas(del_texto.size(), false);
  QList<bool> tachadasOrigen(del_origen.size(), false);
  for (int i = 0; i < del_texto.size(); ++i)
    for (int j = 0; j < del_origen.size(); ++j)
      if (!tachadasOrigen[j] && del_origen[j] == del_texto[i]) {
        tachadasOrigen[j] = tachadas[i] = true;
        break;
      }

  // A run holding every word of the text is the whole text, whatever its
  // blanks: translating it again would only come back here.
  const qsizetype palabrasTexto = contarPalabras(del_texto);
  QStringList partes;
  QStringList tramo;
  for (int i = 0; i <= del_texto.size(); ++i) {
    if (i < del_texto.size() && !tachadas[i]) {
      tramo.append(del_texto[i]);
      continue;
    }
    const QString parte = tramo.join(u' ').trimmed();
    const bool todoElTexto = contarPalabras(tramo) == palabrasTexto;
    tramo.clear();
    if (parte.isEmpty()) continue;
    const bool literal = ValidarEntero(parte, QString()) || ValidarFecha(parte, QString()) || todoElTexto;
    partes.append(literal ? parte : TraducirTexto(parte, QString(), IdiomaActual));
  }

  QString traduccion = consultar(consultaIdioma("Texto", idioma, condiciones));
  traduccion.replace(QLatin1String("\\ X"), QLatin1String("\\X"));
  QStringList resultado = palabras(traduccion);
  for (int n = 0; n < partes.size(); ++n) {
    const QString marca = QStringLiteral("\\X") + QString::number(n + 1);
    for (QString& palabra : resultado)
      if (palabra.contains(marca)) {
        palabra = partes[n];
        break;
      }
  }
  return unirPalabras(resultado);
}

QString palabraAPalabra(const QString& texto, const QString& idioma) {
  QString resultado;
  const QStringList lista = texto.split(u' ');
  for (int i = 0; i < lista.size(); ++i) {
    const QString& palabra = lista[i];
    if (i > 0) resultado += u' ';
    if (palabra.isEmpty()) continue;
    const QString traduccion = traduccionExacta(palabra, idioma);
    resultado += (traduccion.isEmpty() ? palabra : traduccion).left(palabra.size());
  }
  return resultado;
}

QString conParametros(QString resultado, const QString& parametros, const QString& idioma) {
  if (parametros.isEmpty()) return resultado;
  StringList lineas;
  lineas.SetText(parametros);
  for (int i = 0; i < lineas.Count(); ++i) {
    const QString valor = lineas.ValueFromIndex(i);
    const QString traduccion = idioma.isEmpty() ? QString() : traduccionExacta(valor, idioma);
    resultado.replace(u'$' + lineas.Names(i), traduccion.isEmpty() ? valor : traduccion);
  }
  return resultado;
}

}  // namespace

QString SepararPuntos(const QString& texto, const QString& separador, const QString& direccion) {
  QString resultado = texto;
  const QString separado = kCRLF + separador + kCRLF;
  if (direccion == QLatin1String("Inverso"))
    resultado.replace(separado, separador);
  else
    resultado.replace(separador, separado);
  return resultado;
}

QString BuscarTraduccion(const QString& texto, const QString& idioma) {
  return traduccionExacta(texto, idiomaEfectivo(idioma));
}

QString TraducirConVariables(const QString& texto, const QString& idioma) {
  return traduccionConVariables(texto, idiomaEfectivo(idioma));
}

QString TraducirTexto(const QString& texto, const QString& parametros, const QString& idioma) {
  if (texto.isEmpty() || texto.startsWith(QLatin1String("QR")) || texto.startsWith(QLatin1String("LB")) ||
      !generalConectada())
    return texto;
  const QString lengua = idiomaEfectivo(idioma);
  if (lengua.isEmpty()) return conParametros(texto, parametros, lengua);

  QString sinAtajos = texto;
  sinAtajos.remove(u'&');
  if (sinAtajos.size() <= 1) return texto;
  QString resultado = traduccionExacta(sinAtajos, lengua);
  if (resultado.isEmpty()) resultado = traduccionConVariables(sinAtajos, lengua);
  if (resultado.isEmpty()) resultado = palabraAPalabra(sinAtajos, lengua);
  if (resultado.isEmpty()) resultado = sinAtajos;
  return conParametros(resultado, parametros, lengua);
}

QString Traducir(const QString& texto, const QString& parametros, const QString& idioma) {
  const QString resultado = TraducirTexto(texto, parametros, idioma);
  // Only a text the database was asked about is known to have no translation.
  if (!resultado.isEmpty() && resultado == texto && generalConectada() && !enCache(texto))
    CacheTraducciones.Add(texto + u'=' + texto);
  return resultado;
}

QString TraducirLista(const QString& lista, const QString& idioma) {
  QStringList traducidas;
  for (const QString& elemento : lista.split(u';')) traducidas.append(Traducir(elemento, QString(), idioma));
  const QString resultado = traducidas.join(u';');
  return resultado.isEmpty() ? lista : resultado;
}
