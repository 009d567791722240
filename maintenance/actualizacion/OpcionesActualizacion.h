#pragma once

#include <QString>
#include <QStringList>

// What the user chose in the update wizard, as the phases read it.
struct OpcionesActualizacion {
  bool realizarCopiaSeguridad = true;
  QString directorioCopiaSeguridad;
  bool eliminarCopiasAnteriores = true;
  QString nombreArchivoCfg;  // the main structure script
  bool incluirArchivoCfgEspecial = true;
  QString nombreArchivoCfgEspecial;
  bool actualizarLenguajeIntercalacion = false;
  bool actualizarComandos = true;
  bool comprobarEstadoTablas = true;
  bool comprobacionCompleta = false;  // else the pages and records alone
  QStringList basesDatos;  // chosen, in list order; the general database among them or not
  QStringList tablas;      // chosen for rebuilding, in list order
  QString definiciones;    // the merged scripts
  QString mapeado;         // the column mapping, "=" between table and columns
};
