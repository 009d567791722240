#include "printing/barcode/Code39.h"

namespace {

struct CaracterCode39 {
  char caracter;
  const char* anchos;  // bar, space, ... bar: '1' wide
};

constexpr CaracterCode39 kCaracteres[] = {
    {'0', "000110100"}, {'1', "100100001"}, {'2', "001100001"}, {'3', "101100000"}, {'4', "000110001"},
    {'5', "100110000"}, {'6', "001110000"}, {'7', "000100101"}, {'8', "100100100"}, {'9', "001100100"},
    {'A', "100001001"}, {'B', "001001001"}, {'C', "101001000"}, {'D', "000011001"}, {'E', "100011000"},
    {'F', "001011000"}, {'G', "000001101"}, {'H', "100001100"}, {'I', "001001100"}, {'J', "000011100"},
    {'K', "100000011"}, {'L', "001000011"}, {'M', "101000010"}, {'N', "000010011"}, {'O', "100010010"},
    {'P', "001010010"}, {'Q', "000000111"}, {'R', "100000110"}, {'S', "001000110"}, {'T', "000010110"},
    {'U', "110000001"}, {'V', "011000001"}, {'W', "111000000"}, {'X', "010010001"}, {'Y', "110010000"},
    {'Z', "011010000"}, {'-', "010000101"}, {'.', "110000100"}, {' ', "011000100"}, {'$', "010101000"},
    {'/', "010100010"}, {'+', "010001010"}, {'%', "000101010"}, {'*', "010010100"},
};

const char* Anchos(char16_t caracter) {
  for (const CaracterCode39& c : kCaracteres)
    if (c.caracter == caracter) return c.anchos;
  return nullptr;
}

void Anadir(std::vector<bool>& elementos, const char* anchos) {
  for (const char* a = anchos; *a; ++a) elementos.push_back(*a == '1');
  elementos.push_back(false);
}

}  // namespace

std::optional<std::vector<bool>> ElementosCode39(const QString& texto) {
  std::vector<bool> elementos;
  const char* delimitador = Anchos(u'*');
  Anadir(elementos, delimitador);
  for (QChar c : texto) {
    const char* anchos = c == u'*' ? nullptr : Anchos(c.unicode());
    if (!anchos) return std::nullopt;
    Anadir(elementos, anchos);
  }
  Anadir(elementos, delimitador);
  return elementos;
}
