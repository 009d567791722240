#include "printing/barcode/Entrelazado2de5.h"

#include "printing/barcode/DigitoControl.h"

namespace {

constexpr const char* kDigitos[] = {"00110", "10001", "01001", "11000", "00101",
                                    "10100", "01100", "00011", "10010", "01010"};

}  // namespace

QString TextoEntrelazado(const QString& texto) { return texto.size() % 2 ? u'0' + texto : texto; }

std::optional<QString> TextoItf14(const QString& texto) {
  if (texto.size() < 12) return std::nullopt;
  QString digitos = texto;
  if (digitos.size() == 12 && SoloDigitos(digitos)) digitos += DigitoControl(digitos, 1);
  if (digitos.size() == 13) digitos.prepend(u'0');
  return digitos;
}

std::optional<std::vector<bool>> ElementosEntrelazado(const QString& digitos) {
  if (!SoloDigitos(digitos) || digitos.size() % 2) return std::nullopt;
  std::vector<bool> elementos{false, false, false, false};
  for (qsizetype i = 0; i < digitos.size(); i += 2) {
    const char* barras = kDigitos[digitos[i].unicode() - u'0'];
    const char* espacios = kDigitos[digitos[i + 1].unicode() - u'0'];
    for (int e = 0; e < 5; ++e) {
      elementos.push_back(barras[e] == '1');
      elementos.push_back(espacios[e] == '1');
    }
  }
  elementos.insert(elementos.end(), {true, false, false});
  return elementos;
}
