#pragma once

#include <QString>

// The request of the message on screen, read by the message-box form.
extern QString TipoMensajeActual;
extern QString TextoMensajeActual;
extern QString RespuestaMensaje;

// Shows a message of a kind: "I" information, "A" warning, "E" error (the
// program ends after it), "C" confirmation (answer "SI" or "NO") and "P"
// question (answer on entry: the default; on return: the typed text). A text
// marked "TRADUCIR: " comes from the database engine and is put into Spanish.
void MensajeSistema(const QString& tipo, const QString& texto, QString& respuesta);

// The last message got no answer: it was closed without a button, or the
// program is ending and shows no more.
bool MensajeCerrado();

void MensajeInformacion(const QString& texto);
void MensajeAviso(const QString& texto);
void MensajeError(const QString& texto);
void MensajeConfirmacion(const QString& texto, QString& respuesta);
void MensajePregunta(const QString& texto, QString& respuesta);

// The Spanish text of an engine message marked "TRADUCIR: "; other texts
// are returned as they are.
QString TraducirMensajeMotor(const QString& texto);
