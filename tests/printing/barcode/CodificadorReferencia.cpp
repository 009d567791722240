#include "tests/printing/barcode/CodificadorReferencia.h"

#include <zint.h>

#include <memory>

std::vector<int> SimboloReferencia::Anchos() const {
  std::vector<int> anchos{0};
  bool actual = true;
  for (bool modulo : filas.empty() ? std::vector<bool>{} : filas.front()) {
    if (modulo != actual) {
      anchos.push_back(0);
      actual = modulo;
    }
    ++anchos.back();
  }
  return anchos;
}

SimboloReferencia CodificarReferencia(int simbologia, const QByteArray& datos) {
  const std::unique_ptr<zint_symbol, void (*)(zint_symbol*)> simbolo(ZBarcode_Create(), ZBarcode_Delete);
  simbolo->symbology = simbologia;
  SimboloReferencia resultado;
  const int codigo = ZBarcode_Encode(simbolo.get(), reinterpret_cast<const unsigned char*>(datos.constData()),
                                     int(datos.size()));
  if (codigo >= ZINT_ERROR) {
    resultado.error = QString::fromLatin1(simbolo->errtxt);
    return resultado;
  }
  for (int fila = 0; fila < simbolo->rows; ++fila) {
    std::vector<bool> modulos;
    for (int c = 0; c < simbolo->width; ++c) modulos.push_back((simbolo->encoded_data[fila][c >> 3] >> (c & 7)) & 1);
    resultado.filas.push_back(modulos);
  }
  resultado.texto = QString::fromLatin1(reinterpret_cast<const char*>(simbolo->text));
  return resultado;
}

std::vector<bool> ModulosDeAnchos(const std::vector<int>& anchos) {
  std::vector<bool> modulos;
  for (size_t i = 0; i < anchos.size(); ++i) modulos.insert(modulos.end(), anchos[i], i % 2 == 0);
  return modulos;
}
