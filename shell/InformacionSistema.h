#pragma once

#include <QList>
#include <QString>

// What the system information report shows, read from the machine and the
// data layer at the time it is asked for.
struct DatosInformacionSistema {
  struct UsuarioMotor {
    QString nombre;
    int sesion = 0;
  };

  QString sistemaOperativo;  // InformacionSistemaOperativo's lines
  QString versionMotor;      // VersionBDE's lines
  QList<UsuarioMotor> usuariosMotor;
  QString usuariosRed;  // UsuariosConectados' lines
  QString motor;        // TipoBaseDatos
  QString equipo;
  QString direccionMAC;
  qint64 libreRaiz = 0;
  QString carpetaPrograma;
  qint64 librePrograma = 0;
  double memoriaTotal = 0;  // bytes
  double memoriaUsada = 0;  // percent
  QString carpetaTemporal;
};

DatosInformacionSistema LeerInformacionSistema();
// The report's text, CR LF between lines.
QString TextoInformacionSistema(const DatosInformacionSistema& datos);
