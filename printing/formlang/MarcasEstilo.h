#pragma once

#include <QString>

#include <array>
#include <span>

class QColor;
class QFont;

// Marks at the start of a printed text that change the font for that text:
// "<R>", "<V>", "<A>" colour; "<N>", "<C>", "<S>" bold, italic, underline;
// "<14>" size in points; "</>" ends them and leaves the font as it was.
struct MarcasEstilo {
  QString color;                    // the last colour mark's name
  std::array<QString, 3> estilos;   // filled in order; a fourth replaces the third
  int tamano = 0;                   // 0: none
  bool fin = false;                 // "</>" was read
};

inline constexpr int MayorTamanoMarca = 1000;

bool InterpretarMarca(const QString& marca, MarcasEstilo& marcas);
void AgregarEstilo(const QString& estilo, MarcasEstilo& marcas);

// What `Text` prints: the text from where the marks stop, after as many
// blanks as were skipped among them, so indentation survives.
struct TextoConMarcas {
  MarcasEstilo marcas;
  QString texto;
};
TextoConMarcas SepararMarcas(const QString& texto);

// What the field command's wrapped output keeps for the next paragraphs: the
// marks without blanks, and whether there were any.
struct MarcasExtraidas {
  MarcasEstilo marcas;
  QString prefijo;
  bool hayMarcas = false;
};
MarcasExtraidas ExtraerMarcas(const QString& texto);

// The style words of a font ("Negrita", "fsItalic", ...), in place of the ones it had.
void PonerEstilos(std::span<const QString> estilos, QFont& fuente);

// The marks on a drawing font and colour; none after "</>".
void AplicarMarcas(const MarcasEstilo& marcas, QFont& fuente, QColor& color);
