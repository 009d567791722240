#include "core/services/EnvioEMail.h"

#include "core/datamodule/Genemodu.h"
#include "core/helpers/Listas.h"
#include "core/services/AyudanteExterno.h"
#include "platform/StringList.h"
#include "platform/data/Field.h"
#include "platform/net/ClienteSMTP.h"

#include <QFileInfo>

int PuertoSMTPPorDefecto = 25;

namespace {

QString razonSocial() {
  if (!ModuloDatos || !ModuloDatos->ParamGenerales->Active()) return {};
  const Field* campo = ModuloDatos->ParamGenerales->FindField(QStringLiteral("RazonSocial"));
  return campo ? campo->AsString() : QString();
}

QStringList adjuntosExistentes(const QString& adjuntos) {
  QStringList existentes;
  for (const QString& archivo : adjuntos.split(u'|')) {
    if (archivo.isEmpty()) break;
    if (QFileInfo(archivo).isFile()) existentes.append(archivo);
  }
  return existentes;
}

}  // namespace

bool EnviarEMail(const QString& configuracion, const QString& destinatario, const QString& asunto,
                 const QString& texto, const QString& adjuntos, const QString& parametros, const QString& opciones) {
  QString textoError;
  return EnviarEMailParametros(configuracion, destinatario, asunto, texto, adjuntos, textoError, parametros, opciones);
}

bool EnviarEMailParametros(const QString& configuracion, const QString& destinatario, const QString& asunto,
                           const QString& texto, const QString& adjuntos, QString& textoError,
                           const QString& parametros, const QString& opciones) {
  const QString ajustes = QString(configuracion).remove(QStringLiteral("(Masivo)"));
  textoError.clear();
  StringList lista;
  lista.SetText(parametros);
  if (ajustes.contains(QLatin1String("ClienteSMTP=Indy")))
    return EnviarEMailSMTP(ajustes, destinatario, asunto, texto, adjuntos);
  if (lista.IndexOfName(QStringLiteral("EMailDestinatarioCC")) < 0) {
    const QString copia = ValorLista(QStringLiteral("CuentaSMTPCopiasDocumentos"), ajustes);
    lista.SetValue(QStringLiteral("EMailDestinatarioCC"), copia);
    lista.SetValue(QStringLiteral("NombreDestinatarioCC"), copia);
  }
  const auto valor = [&lista](const char* nombre) { return ValorStrings(QString::fromLatin1(nombre), lista); };
  EnviarEMailMAPI(asunto, texto, adjuntos, valor("NombreRemitente"), valor("EMailRemitente"), valor("NombreDestinatario"),
                  destinatario, valor("NombreDestinatarioCC"), valor("EMailDestinatarioCC"), opciones);
  return true;
}

bool EnviarEMailSMTP(const QString& configuracion, const QString& destinatario, const QString& asunto,
                     const QString& texto, const QString& adjuntos) {
  using ClienteSMTP::Seguridad;
  if (configuracion.isEmpty() || destinatario.isEmpty()) return false;
  const auto valor = [&configuracion](const char* nombre) { return ValorLista(QString::fromLatin1(nombre), configuracion); };
  const QString puerto = valor("PuertoSSL");
  const bool seguro = puerto == QLatin1String("465") || puerto == QLatin1String("587");

  ClienteSMTP::Conexion conexion;
  conexion.servidor = valor("ServidorSMTP");
  conexion.usuario = valor("CodigoUsuarioSMTP");
  conexion.clave = valor("ClaveAccesoSMTP");
  conexion.autenticar = !conexion.usuario.isEmpty() || !conexion.clave.isEmpty();
  conexion.puerto = puerto.isEmpty() ? PuertoSMTPPorDefecto : puerto.toInt();
  conexion.seguridad = seguro ? Seguridad::Implicita : Seguridad::Ninguna;

  ClienteSMTP::Mensaje mensaje;
  mensaje.nombreRemitente = razonSocial();
  const QString copia = valor("CuentaSMTPCopiasDocumentos");
  mensaje.remitente = valor("CuentaFromSMTP");
  if (mensaje.remitente.isEmpty()) mensaje.remitente = conexion.usuario.contains(u'@') ? conexion.usuario : copia;
  mensaje.destinatarios = destinatario;
  mensaje.copia = copia;
  mensaje.asunto = asunto;
  mensaje.cuerpo = texto;
  mensaje.adjuntos = adjuntosExistentes(adjuntos);

  try {
    ClienteSMTP::Enviar(conexion, mensaje);
  } catch (const ClienteSMTP::Error& error) {
    if (!error.SinContacto()) throw;
    // The second connection: a secure port asks for STARTTLS, another port
    // tries TLS, no port tries the same again.
    if (seguro) conexion.seguridad = Seguridad::StartTLS;
    else if (!puerto.isEmpty()) conexion.seguridad = Seguridad::Implicita;
    ClienteSMTP::Enviar(conexion, mensaje);
  }
  return true;
}
