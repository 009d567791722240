#pragma once

#include <QString>

// Translation of the interface texts through TXIDIOMA (general database),
// with the global cache CacheTraducciones of text=translation lines. An empty
// language means IdiomaActual; with none, only the placeholders are filled.

// The text translated; placeholders "$Name" take the (translated) value of
// the name=value lines of the parameter text. A text left as it was enters
// the cache once, so it never reaches the database again.
QString Traducir(const QString& texto, const QString& parametros = QString(), const QString& idioma = QString());
// Each item of a ";"-separated list translated.
QString TraducirLista(const QString& lista, const QString& idioma = QString());
// Traducir without its note in the cache.
QString TraducirTexto(const QString& texto, const QString& parametros, const QString& idioma);
// The exact translation, through the cache; empty when there is none.
QString BuscarTraduccion(const QString& texto, const QString& idioma);
// The translation of a source text with "\Xn" markers the text matches,
// with the text's own variable parts put in; empty when there is none.
QString TraducirConVariables(const QString& texto, const QString& idioma);
// "Directo": every separator becomes CR LF, separator, CR LF; "Inverso" undoes it.
QString SepararPuntos(const QString& texto, const QString& separador, const QString& direccion);
