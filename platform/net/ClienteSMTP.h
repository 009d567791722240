#pragma once

#include "platform/Exceptions.h"

#include <QString>
#include <QStringList>

// Sends one message over SMTP through libcurl: the body as UTF-8 text, the
// attachments streamed from their files.
namespace ClienteSMTP {

enum class Seguridad {
  Ninguna,   // plain SMTP
  Implicita, // TLS from the first byte
  StartTLS,  // plain connection turned into TLS, required before anything else
};

struct Conexion {
  QString servidor;
  int puerto = 25;
  Seguridad seguridad = Seguridad::Ninguna;
  QString usuario;
  QString clave;
  bool autenticar = false;  // login with user and password
};

struct Mensaje {
  QString nombreRemitente;
  QString remitente;
  QString destinatarios;  // addresses separated by "," or ";"
  QString copia;
  QString asunto;
  QString cuerpo;
  QStringList adjuntos;  // paths of existing files
};

// A failed sending, with the library's text; sinContacto when the failure came
// before anything of the session reached the server (no connection, or no TLS
// handshake), so trying again cannot send the message twice.
class Error : public Exception {
 public:
  Error(const QString& texto, bool sinContacto) : Exception(texto), sinContacto_(sinContacto) {}
  bool SinContacto() const { return sinContacto_; }

 private:
  bool sinContacto_;
};

void Enviar(const Conexion& conexion, const Mensaje& mensaje);

}  // namespace ClienteSMTP
