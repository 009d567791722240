#pragma once

#include <QString>

// Pieces, counts and replacements in texts. Positions count from 1, element
// indexes from 0; comparisons are exact and case-sensitive.

// The character of highest code (255 down to 0, as Windows-1252) absent from
// the text, to serve as a separator that cannot clash; empty when all occur.
QString CaracterNoUsado(const QString& texto);

// Element `indice` of a text separated by `separador` (of any length); two
// separators in a row enclose an empty element, a final one ends with one.
QString ExtraerElemento(int indice, const QString& texto, const QString& separador);
// The element n places before the last one.
QString ExtraerElementoDesdeFinal(int n, const QString& texto, const QString& separador);
// How many times the searched text can be removed, each time its first
// occurrence: "aabb" holds "ab" twice.
int ContarOcurrencias(const QString& buscado, const QString& texto);
int ContarCaracter(QChar caracter, const QString& texto);

// Every occurrence replaced in one pass; the text is changed and returned.
QString ReemplazarTexto(const QString& buscado, const QString& nuevo, QString& texto);
// Passes while the searched text remains and each pass shortens the text;
// callers only shrink ("||" by "|").
QString ReemplazarRepetido(const QString& buscado, const QString& nuevo, const QString& texto);

QString QuitarCRLFFinal(const QString& texto);  // one trailing CR LF
// The lines in Spanish order without regard to case, each ended by CR LF.
QString OrdenarLineas(const QString& texto);
QString Entrecomillar(const QString& texto);  // inner quotes stay as they are
QString Espacios(int n);
