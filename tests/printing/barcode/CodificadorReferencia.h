#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

// A symbol as the reference encoder (libzint) makes it: its rows of modules
// (true a bar) and its human-readable text.
struct SimboloReferencia {
  std::vector<std::vector<bool>> filas;
  QString texto;
  QString error;

  // The widths of the first row's bars and spaces, alternating from a bar.
  std::vector<int> Anchos() const;
};

SimboloReferencia CodificarReferencia(int simbologia, const QByteArray& datos);

// Bars and spaces expanded to modules, alternating from a bar.
std::vector<bool> ModulosDeAnchos(const std::vector<int>& anchos);
