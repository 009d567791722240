#pragma once

#include "printing/formlang/LineaInstruccion.h"

#include <QList>
#include <QString>
#include <QStringList>

// The settings a program's system commands change, with the values each
// preparation starts from. A value that does not read leaves its setting as
// it was.
struct AjustesImpreso {
  double margenIzquierdo = 0;
  double margenSuperior = 0;
  qint64 etiquetasPorFila = 1;
  qint64 filasEtiquetas = 1;
  double anchoEtiqueta = 0;
  double altoEtiqueta = 0;
  double compresionHorizontal = 1;
  double compresionVertical = 1;
  qint64 alturaLinea = 0;
  qint64 inicioLineas = 0;  // kept from the former program
  qint64 finLineas = 0;     // kept from the former program; 9999: no end
  QString driverAlternativo;  // source file ">" target file
  struct Conexion {
    QString tabla;
    QString resto;
  };
  QList<Conexion> conexiones;
  QStringList gruposAnalisis;  // keyword ";" arguments

  qint64 LineasPorPagina() const;
  qint64 EtiquetasPorPagina() const { return etiquetasPorFila * filasEtiquetas; }
};

inline constexpr qint64 FinLineasContinuo = 9999;

// True when the line is a system settings command (and applies it).
bool AplicarAjuste(const LineaInstruccion& linea, AjustesImpreso& ajustes);
// "GrupoAnalisis" followed, in characters 14 and 15, by a number from 1 to 99.
bool EsGrupoAnalisis(const QString& palabra);
