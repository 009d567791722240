#pragma once

#include <QString>

#include <optional>
#include <vector>

// An EAN-13 or EAN-8 symbol: its digits (check digit added to 12 or 7
// digits; 13 or 8 taken as they are), its modules from the start guard to the
// end guard (true a bar), and which modules belong to the guards.
struct SimboloEan {
  QString digitos;
  std::vector<bool> modulos;
  std::vector<bool> guardas;

  bool Ean13() const { return digitos.size() == 13; }
};

// None for other lengths and for characters that are not digits.
std::optional<SimboloEan> CodificarEan(const QString& texto);
