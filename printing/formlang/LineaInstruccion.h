#pragma once

#include <QString>
#include <QStringView>

// One command line of a printed-form program: the keyword before the first
// "=", the arguments between it and a second "=" (anything after that is
// dropped). A "|" typed in the program becomes the program's free separator
// character first, so only a typed ";" separates arguments; with no free
// character left, a typed "|" is dropped.
struct LineaInstruccion {
  QString palabra;
  QString argumentos;  // ";" already turned into "|"

  // Argument n, from 1; empty when missing.
  QString Argumento(int n) const;
};

LineaInstruccion AnalizarLinea(const QString& linea, const QString& separadorLibre);

// Piece `indice` (from 0) of a text cut at `separador`, without splitting the
// whole text: program lines may be megabytes long.
QString Pieza(QStringView texto, QChar separador, int indice);
