#include "printing/barcode/Code128.h"

namespace {

constexpr const char* kPatrones[] = {
    "212222", "222122", "222221", "121223", "121322", "131222", "122213", "122312", "132212", "221213",
    "221312", "231212", "112232", "122132", "122231", "113222", "123122", "123221", "223211", "221132",
    "221231", "213212", "223112", "312131", "311222", "321122", "321221", "312212", "322112", "322211",
    "212123", "212321", "232121", "111323", "131123", "131321", "112313", "132113", "132311", "211313",
    "231113", "231311", "112133", "112331", "132131", "113123", "113321", "133121", "313121", "211331",
    "231131", "213113", "213311", "213131", "311123", "311321", "331121", "312113", "312311", "332111",
    "314111", "221411", "431111", "111224", "111422", "121124", "121421", "141122", "141221", "112214",
    "112412", "122114", "122411", "142112", "142211", "241211", "221114", "413111", "241112", "134111",
    "111242", "121142", "121241", "114212", "124112", "124211", "411212", "421112", "421211", "212141",
    "214121", "412121", "111143", "111341", "131141", "114113", "114311", "411113", "411311", "113141",
    "114131", "311141", "411131", "211412", "211214", "211232", "2331112",
};

enum Juego { A, B, C };

constexpr int kFnc1 = 102, kShift = 98, kCodigoA = 101, kCodigoB = 100, kCodigoC = 99;
constexpr int kInicio[] = {103, 104, 105};
constexpr int kParada = 106;

bool EsDigito(char16_t c) { return c >= u'0' && c <= u'9'; }

bool EmpiezaSerieDigitos(const QString& texto, qsizetype i) {
  if (i + 4 > texto.size()) return false;
  for (qsizetype k = i; k < i + 4; ++k)
    if (!EsDigito(texto[k].unicode())) return false;
  return true;
}

// The set a stretch from i asks for: A when a control character comes before
// any character above 95, else B.
Juego JuegoDesde(const QString& texto, qsizetype i) {
  for (; i < texto.size(); ++i) {
    const char16_t c = texto[i].unicode();
    if (c < 32) return A;
    if (c > 95) return B;
  }
  return B;
}

bool Cabe(Juego juego, char16_t c) { return juego == A ? c < 96 : c >= 32; }

int Valor(char16_t c) { return c < 32 ? c + 64 : c - 32; }

}  // namespace

std::optional<std::vector<int>> SimbolosCode128(const QString& texto, bool ean128) {
  for (QChar c : texto)
    if (c.unicode() > 127) return std::nullopt;

  Juego juego = EmpiezaSerieDigitos(texto, 0) ? C : JuegoDesde(texto, 0);
  std::vector<int> simbolos{kInicio[juego]};
  if (ean128) simbolos.push_back(kFnc1);

  qsizetype i = 0;
  while (i < texto.size()) {
    if (EmpiezaSerieDigitos(texto, i)) {
      if (juego != C) simbolos.push_back(kCodigoC);
      juego = C;
      for (; i + 1 < texto.size() && EsDigito(texto[i].unicode()) && EsDigito(texto[i + 1].unicode()); i += 2)
        simbolos.push_back((texto[i].unicode() - u'0') * 10 + texto[i + 1].unicode() - u'0');
      continue;
    }
    const Juego tramo = JuegoDesde(texto, i);
    if (tramo != juego) simbolos.push_back(tramo == A ? kCodigoA : kCodigoB);
    juego = tramo;
    while (i < texto.size() && !EmpiezaSerieDigitos(texto, i)) {
      const char16_t c = texto[i].unicode();
      if (!Cabe(juego, c)) {
        if (JuegoDesde(texto, i + 1) != juego) break;
        simbolos.push_back(kShift);
      }
      simbolos.push_back(Valor(c));
      ++i;
    }
  }

  int suma = simbolos.front();
  for (size_t k = 1; k < simbolos.size(); ++k) suma += int(k) * simbolos[k];
  simbolos.push_back(suma % 103);
  simbolos.push_back(kParada);
  return simbolos;
}

std::vector<int> ModulosCode128(const std::vector<int>& simbolos) {
  std::vector<int> modulos;
  for (int simbolo : simbolos)
    for (const char* m = kPatrones[simbolo]; *m; ++m) modulos.push_back(*m - '0');
  return modulos;
}
