#include "platform/net/ClienteSMTP.h"

#include "platform/net/CabecerasCorreo.h"
#include "platform/net/Curl.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>
#include <QUrl>

#include <memory>

namespace ClienteSMTP {

namespace {

struct LiberarMime {
  void operator()(curl_mime* mime) const { curl_mime_free(mime); }
};

QByteArray lineasCRLF(const QString& texto) {
  QString normalizado = texto;
  normalizado.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
  return normalizado.replace(u'\n', QStringLiteral("\r\n")).toUtf8();
}

// Whether the failure came before the session reached the server.
bool sinContacto(const Curl& curl, CURLcode codigo, Seguridad seguridad) {
  switch (codigo) {
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_CONNECT:
    case CURLE_SSL_CONNECT_ERROR:
      return true;
    default: break;
  }
  double conectado = 0, cifrado = 0;
  curl_easy_getinfo(curl.get(), CURLINFO_CONNECT_TIME, &conectado);
  curl_easy_getinfo(curl.get(), CURLINFO_APPCONNECT_TIME, &cifrado);
  return conectado == 0 || (seguridad == Seguridad::Implicita && cifrado == 0);
}

curl_mime* cuerpo(Curl& curl, const Mensaje& mensaje) {
  curl_mime* mime = curl_mime_init(curl.get());
  curl_mimepart* texto = curl_mime_addpart(mime);
  const QByteArray datos = lineasCRLF(mensaje.cuerpo);
  curl_mime_data(texto, datos.constData(), size_t(datos.size()));
  curl_mime_type(texto, "text/plain; charset=UTF-8");
  curl_mime_encoder(texto, "quoted-printable");
  for (const QString& adjunto : mensaje.adjuntos) {
    curl_mimepart* parte = curl_mime_addpart(mime);
    curl_mime_filedata(parte, QFile::encodeName(adjunto).constData());
    curl_mime_filename(parte, nullptr);
    curl_mime_type(parte, "application/octet-stream");
    curl_mime_encoder(parte, "base64");
    const QByteArray disposicion = CabecerasCorreo::DisposicionAdjunto(QFileInfo(adjunto).fileName()).toUtf8();
    curl_mime_headers(parte, curl_slist_append(nullptr, disposicion.constData()), 1);
  }
  return mime;
}

}  // namespace

void Enviar(const Conexion& conexion, const Mensaje& mensaje) {
  using namespace CabecerasCorreo;
  Curl curl;
  const QString esquema = conexion.seguridad == Seguridad::Implicita ? QStringLiteral("smtps") : QStringLiteral("smtp");
  const QString url = esquema + QStringLiteral("://") + conexion.servidor + u':' + QString::number(conexion.puerto) +
                      u'/' + QString::fromLatin1(QUrl::toPercentEncoding(QSysInfo::machineHostName()));
  curl_easy_setopt(curl.get(), CURLOPT_URL, url.toUtf8().constData());
  curl_easy_setopt(curl.get(), CURLOPT_USE_SSL, long(conexion.seguridad == Seguridad::Ninguna ? CURLUSESSL_NONE : CURLUSESSL_ALL));
  if (conexion.autenticar) {
    curl_easy_setopt(curl.get(), CURLOPT_USERNAME, conexion.usuario.toUtf8().constData());
    curl_easy_setopt(curl.get(), CURLOPT_PASSWORD, conexion.clave.toUtf8().constData());
    curl_easy_setopt(curl.get(), CURLOPT_LOGIN_OPTIONS, "AUTH=LOGIN");
  }
  const std::vector<struct Direccion> para = Direcciones(mensaje.destinatarios);
  const std::vector<struct Direccion> copia = Direcciones(mensaje.copia);
  // One envelope recipient per address, however often the lists name it.
  QStringList destinos;
  for (const auto* lista : {&para, &copia})
    for (const struct Direccion& direccion : *lista)
      if (!destinos.contains(u'<' + direccion.correo + u'>')) destinos.append(u'<' + direccion.correo + u'>');
  const QString remitente = Direcciones(mensaje.remitente).empty() ? QString() : Direcciones(mensaje.remitente).front().correo;
  curl_easy_setopt(curl.get(), CURLOPT_MAIL_FROM, (u'<' + remitente + u'>').toUtf8().constData());
  curl_easy_setopt(curl.get(), CURLOPT_MAIL_RCPT, curl.Lista(destinos));

  QStringList cabeceras{QStringLiteral("Date: ") + QDateTime::currentDateTime().toString(Qt::RFC2822Date),
                        CabeceraDirecciones(QStringLiteral("From"), {{mensaje.nombreRemitente, remitente}}),
                        CabeceraDirecciones(QStringLiteral("To"), para),
                        Cabecera(QStringLiteral("Subject"), mensaje.asunto)};
  if (!copia.empty()) cabeceras.insert(3, CabeceraDirecciones(QStringLiteral("Cc"), copia));
  curl_easy_setopt(curl.get(), CURLOPT_HTTPHEADER, curl.Lista(cabeceras));
  const std::unique_ptr<curl_mime, LiberarMime> mime(cuerpo(curl, mensaje));
  curl_easy_setopt(curl.get(), CURLOPT_MIMEPOST, mime.get());

  const CURLcode codigo = curl.Ejecutar();
  if (codigo != CURLE_OK) throw Error(curl.TextoError(codigo), sinContacto(curl, codigo, conexion.seguridad));
}

}  // namespace ClienteSMTP
