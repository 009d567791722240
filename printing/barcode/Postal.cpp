#include "printing/barcode/Postal.h"

#include "printing/barcode/DigitoControl.h"

namespace {

constexpr const char* kDigitos[] = {"11000", "00011", "00101", "00110", "01001",
                                    "01010", "01100", "10001", "10010", "10100"};

}  // namespace

std::optional<QString> DigitosPostNet(const QString& texto, int limite) {
  if (!SoloDigitos(texto)) return std::nullopt;
  if (texto.size() > limite) return texto;
  return texto + DigitoControl(texto, 1, false);
}

std::vector<bool> BarrasPostNet(const QString& digitos) {
  std::vector<bool> barras{true};
  for (QChar d : digitos)
    for (const char* b = kDigitos[d.unicode() - u'0']; *b; ++b) barras.push_back(*b == '1');
  barras.push_back(true);
  return barras;
}

std::optional<std::array<bool, 9>> PosicionesFim(QChar letra) {
  static constexpr std::array<int, 6> kBarras[] = {{1, 2, 5, 8, 9}, {1, 3, 4, 6, 7, 9}, {1, 2, 4, 6, 8, 9}};
  const char16_t mayuscula = letra.toUpper().unicode();
  if (mayuscula < u'A' || mayuscula > u'C') return std::nullopt;
  std::array<bool, 9> posiciones{};
  for (int posicion : kBarras[mayuscula - u'A'])
    if (posicion) posiciones[posicion - 1] = true;
  return posiciones;
}
