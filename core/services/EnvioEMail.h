#pragma once

#include <QString>

// E-mail sending: directly over SMTP when the user's settings (ConfigSMTP)
// hold "ClienteSMTP=Indy", otherwise through the desktop's mail program by
// way of the helper program.
bool EnviarEMail(const QString& configuracion, const QString& destinatario, const QString& asunto,
                 const QString& texto, const QString& adjuntos, const QString& parametros, const QString& opciones);

// As EnviarEMail; the error text is emptied (the failures of the SMTP route
// reach the caller as exceptions).
bool EnviarEMailParametros(const QString& configuracion, const QString& destinatario, const QString& asunto,
                           const QString& texto, const QString& adjuntos, QString& textoError,
                           const QString& parametros, const QString& opciones);

// False, without doing anything, when the settings or the recipient are
// empty; true once sent. Attachments are paths joined by "|" (up to the first
// empty one); files that do not exist are left out. On the secure ports 465
// and 587 TLS is required, from the first byte or, on the retry, by STARTTLS;
// the one retry comes only when nothing reached the server.
bool EnviarEMailSMTP(const QString& configuracion, const QString& destinatario, const QString& asunto,
                     const QString& texto, const QString& adjuntos);

// The port of the SMTP client when the settings give none; tests move it.
extern int PuertoSMTPPorDefecto;
