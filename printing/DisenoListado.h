#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// The geometry of the programmable listing's report, in report pixels, kept
// apart from the report components so that every number can be checked.

inline constexpr int kMaximoColumnasListado = 201;
inline constexpr int kMarcaNoImpreso = 999;

struct PaginaListado {
  int margenIzquierdo;  // mm
  int margenDerecho;    // mm
  int anchoBanda;
};

// Portrait 5 mm (or the printer's left margin) and 750 or 1047 pixels;
// landscape 10 mm and 1047 or 1511; the wider on any paper but A4.
PaginaListado PaginaDelListado(bool apaisado, const QString& papel, int margenIzquierdoImpresora);

// The fields the listing may print: all, or all but a last one named
// "InstruccionesListado", which carries each record's instructions.
struct CamposListables {
  int ultimo;  // index of the last field that may print; -1 when none
  bool instrucciones;
};
CamposListables CamposDelListado(const QStringList& campos);

// weight × anchoTitulo / total, halves to the even number; 0 when it cannot be computed.
int AnchoColumna(double peso, double totalPesos, int anchoTitulo);

struct ColumnaListado {
  int campo;  // dataset field index
  int x;
  int ancho;
};

// One column per field up to the last listable whose mark is not 999, in
// field order. Raises "¡El listado no puede tener más de 201 columnas!" above 201.
// minimos (by field, may be empty) is the width each field's header and short
// values need: when every listed field's fits in the band, a column narrower
// by weight takes it and the others share what is left by their weights.
std::vector<ColumnaListado> DisenarColumnas(const std::vector<int>& marcas, const std::vector<double>& pesos,
                                            int ultimo, int anchoTitulo, const std::vector<int>& minimos = {});

struct CeldaFicha {
  int campo;
  int tituloX, tituloAncho;
  int valorX, valorAncho, valorAlto;
  int top;
};
struct FichaListado {
  std::vector<CeldaFicha> celdas;
  int altoBanda;
};

// Cards of C columns: R = N / C rounded up rows per column, 17 pixels a row,
// a memo value L lines high. esMemo and marcas run over the dataset fields.
FichaListado DisenarFichas(const std::vector<int>& marcas, const std::vector<bool>& esMemo, int ultimo, int columnas,
                           int lineasMemo, int anchoBanda);
