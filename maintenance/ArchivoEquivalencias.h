#pragma once

#include <QList>
#include <QString>

// A replacement pair of the character converter: every occurrence of
// Anterior becomes Nuevo.
struct ParEquivalencia {
  QString anterior;
  QString nuevo;

  bool Vacio() const { return anterior.isEmpty() && nuevo.isEmpty(); }
  bool operator==(const ParEquivalencia&) const = default;
};

inline constexpr int kMaximoEquivalencias = 255;

// A pair file: one Windows-1252 line per pair, the old text, ";" and the new
// text. Reading stops at the first empty line and after the most pairs the
// table holds; a line without ";" is an old text whose new text is empty.
// Failures raise Exception with the file's name.
QList<ParEquivalencia> LeerArchivoEquivalencias(const QString& archivo);
// Writes the pairs up to the first one with both texts empty, replacing the
// file whole or not at all.
void EscribirArchivoEquivalencias(const QString& archivo, const QList<ParEquivalencia>& pares);
