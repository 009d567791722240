#pragma once

#include <QString>
#include <QStringList>

#include <array>

// A printed-form program cut into its sections. Reading it is a pure
// function of the text, so any text, however hostile, gives a program.
enum class Seccion { Sistema, Cabecera, Lineas, PieSumaYSigue, Pie, PiePagina };

inline constexpr int NumeroSecciones = 6;
inline constexpr int MaximoSumas = 100;  // slots of the carried totals

struct ProgramaImpreso {
  // The lines of each section in text order, its header lines included.
  std::array<QStringList, NumeroSecciones> secciones;
  QString separadorLibre;  // empty when the text holds all 256 characters
  QStringList nombresSumas;  // carried-total names registered by the feet
  bool haySeccionesImpresion = false;  // a section other than [SISTEMA] holds text

  const QStringList& Lineas(Seccion seccion) const { return secciones[static_cast<int>(seccion)]; }
};

// The section a header line opens: its text before the first "=", exactly.
bool EsCabeceraSeccion(const QString& linea, Seccion& seccion);
// Lines end at CR LF, CR or LF; a final line break opens no further line.
QStringList LineasPrograma(const QString& texto);
ProgramaImpreso AnalizarPrograma(const QString& texto);
