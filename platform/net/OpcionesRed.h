#pragma once

#include <QString>
#include <QStringList>

// What every connection of the SMTP and FTP clients is given: its limits, so
// a server that stops answering fails instead of hanging, the certificates it
// trusts besides the system's store, and the redirections that send a host
// and port to another address ("host:port:address:port", as tests use to reach
// their loopback servers under the names the system uses).
struct OpcionesRed {
  int limiteConexionMs = 30000;
  int limiteSilencioSegundos = 60;  // the longest time without a byte or an answer
  QString certificadosAutoridad;   // a PEM file trusted in place of the system's store; empty: the store
  QStringList redirecciones;

  static OpcionesRed& Actuales();
};
