#include "printing/barcode/Ean.h"

#include "printing/barcode/DigitoControl.h"

namespace {

// Left-hand odd set; the even set is the right-hand set reversed, the
// right-hand set the odd set inverted.
constexpr const char* kImpar[] = {"0001101", "0011001", "0010011", "0111101", "0100011",
                                  "0110001", "0101111", "0111011", "0110111", "0001011"};
// Parity of digits 2 to 7 by the first digit: '1' even.
constexpr const char* kParidad[] = {"000000", "001011", "001101", "001110", "010011",
                                    "011001", "011100", "010101", "010110", "011010"};

class Modulos {
 public:
  explicit Modulos(SimboloEan& simbolo) : simbolo_(simbolo) {}

  void Guarda(const char* patron) {
    for (const char* p = patron; *p; ++p) Anadir(*p == '1', true);
  }
  enum Juego { Impar, Par, Derecho };
  void Digito(QChar digito, Juego juego) {
    const char* impar = kImpar[digito.unicode() - u'0'];
    for (int m = 0; m < 7; ++m) {
      const bool barra = juego == Impar ? impar[m] == '1' : juego == Derecho ? impar[m] == '0' : impar[6 - m] == '0';
      Anadir(barra, false);
    }
  }

 private:
  void Anadir(bool barra, bool guarda) {
    simbolo_.modulos.push_back(barra);
    simbolo_.guardas.push_back(guarda);
  }
  SimboloEan& simbolo_;
};

}  // namespace

std::optional<SimboloEan> CodificarEan(const QString& texto) {
  if (!SoloDigitos(texto)) return std::nullopt;
  SimboloEan simbolo{texto, {}, {}};
  switch (texto.size()) {
    case 12: simbolo.digitos += DigitoControl(texto, 1); break;
    case 7: simbolo.digitos += DigitoControl(texto, 3); break;
    case 13:
    case 8: break;
    default: return std::nullopt;
  }
  const QString& d = simbolo.digitos;
  Modulos modulos(simbolo);
  modulos.Guarda("101");
  const int mitad = simbolo.Ean13() ? 7 : 4;
  const int primero = simbolo.Ean13() ? 1 : 0;
  const char* paridad = kParidad[simbolo.Ean13() ? d[0].unicode() - u'0' : 0];
  for (int i = primero; i < mitad; ++i)
    modulos.Digito(d[i], paridad[i - primero] == '1' ? Modulos::Par : Modulos::Impar);
  modulos.Guarda("01010");
  for (qsizetype i = mitad; i < d.size(); ++i) modulos.Digito(d[i], Modulos::Derecho);
  modulos.Guarda("101");
  return simbolo;
}
