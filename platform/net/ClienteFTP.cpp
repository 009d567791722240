#include "platform/net/ClienteFTP.h"

#include "platform/Exceptions.h"
#include "platform/net/Curl.h"

#include <QSaveFile>
#include <QStringList>
#include <QUrl>

namespace {

size_t escribir(char* datos, size_t tamano, size_t cuantos, void* destino) {
  auto* archivo = static_cast<QSaveFile*>(destino);
  const qint64 bytes = qint64(tamano * cuantos);
  return archivo->write(datos, bytes) == bytes ? size_t(bytes) : 0;
}

size_t descartar(char*, size_t tamano, size_t cuantos, void*) { return tamano * cuantos; }

}  // namespace

ClienteFTP::ClienteFTP() = default;
ClienteFTP::~ClienteFTP() = default;

QString ClienteFTP::url(const QString& ruta) const {
  QStringList piezas;
  for (const QString& pieza : ruta.split(u'/')) piezas.append(QString::fromLatin1(QUrl::toPercentEncoding(pieza)));
  return QStringLiteral("ftp://") + Host + piezas.join(u'/');
}

void ClienteFTP::Connect() {
  auto curl = std::make_unique<Curl>();
  curl_easy_setopt(curl->get(), CURLOPT_USERNAME, Username.toUtf8().constData());
  curl_easy_setopt(curl->get(), CURLOPT_PASSWORD, Password.toUtf8().constData());
  curl_easy_setopt(curl->get(), CURLOPT_URL, url(QStringLiteral("/")).toUtf8().constData());
  curl_easy_setopt(curl->get(), CURLOPT_NOBODY, 1L);
  curl_easy_setopt(curl->get(), CURLOPT_WRITEFUNCTION, descartar);
  const CURLcode codigo = curl->Ejecutar();
  if (codigo != CURLE_OK) throw Exception(curl->TextoError(codigo));
  curl_easy_setopt(curl->get(), CURLOPT_NOBODY, 0L);
  curl_ = std::move(curl);
}

void ClienteFTP::Get(const QString& rutaServidor, const QString& archivoLocal) {
  if (!curl_) throw Exception(QStringLiteral("Not connected."));
  QSaveFile archivo(archivoLocal);
  if (!archivo.open(QIODevice::WriteOnly))
    throw Exception(QStringLiteral("Cannot create file \"%1\". %2").arg(archivoLocal, archivo.errorString()));
  curl_easy_setopt(curl_->get(), CURLOPT_URL, url(rutaServidor).toUtf8().constData());
  curl_easy_setopt(curl_->get(), CURLOPT_WRITEFUNCTION, escribir);
  curl_easy_setopt(curl_->get(), CURLOPT_WRITEDATA, &archivo);
  const CURLcode codigo = curl_->Ejecutar();
  curl_easy_setopt(curl_->get(), CURLOPT_WRITEDATA, nullptr);
  if (codigo != CURLE_OK) {
    archivo.cancelWriting();
    throw Exception(curl_->TextoError(codigo));
  }
  if (!archivo.commit())
    throw Exception(QStringLiteral("Cannot create file \"%1\". %2").arg(archivoLocal, archivo.errorString()));
}

void ClienteFTP::Disconnect() { curl_.reset(); }
