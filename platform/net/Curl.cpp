#include "platform/net/Curl.h"

#include "platform/net/OpcionesRed.h"

#include <QFile>

#include <new>

namespace {

// The global initialisation runs once, before the first handle.
struct IniciarCurl {
  IniciarCurl() { curl_global_init(CURL_GLOBAL_DEFAULT); }
  ~IniciarCurl() { curl_global_cleanup(); }
};

}  // namespace

Curl::Curl() {
  static IniciarCurl iniciado;
  handle_ = curl_easy_init();
  if (!handle_) throw std::bad_alloc();
  const OpcionesRed& opciones = OpcionesRed::Actuales();
  curl_easy_setopt(handle_, CURLOPT_ERRORBUFFER, error_);
  curl_easy_setopt(handle_, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(handle_, CURLOPT_CONNECTTIMEOUT_MS, long(opciones.limiteConexionMs));
  curl_easy_setopt(handle_, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(handle_, CURLOPT_LOW_SPEED_TIME, long(opciones.limiteSilencioSegundos));
  curl_easy_setopt(handle_, CURLOPT_SERVER_RESPONSE_TIMEOUT, long(opciones.limiteSilencioSegundos));
  if (!opciones.certificadosAutoridad.isEmpty())
    curl_easy_setopt(handle_, CURLOPT_CAINFO, QFile::encodeName(opciones.certificadosAutoridad).constData());
  if (!opciones.redirecciones.isEmpty()) curl_easy_setopt(handle_, CURLOPT_CONNECT_TO, Lista(opciones.redirecciones));
}

Curl::~Curl() {
  curl_easy_cleanup(handle_);
  for (curl_slist* lista : listas_) curl_slist_free_all(lista);
}

curl_slist* Curl::Lista(const QStringList& lineas) {
  curl_slist* lista = nullptr;
  for (const QString& linea : lineas) lista = curl_slist_append(lista, linea.toUtf8().constData());
  listas_.push_back(lista);
  return lista;
}

CURLcode Curl::Ejecutar() {
  error_[0] = '\0';
  return curl_easy_perform(handle_);
}

QString Curl::TextoError(CURLcode codigo) const {
  return error_[0] != '\0' ? QString::fromLocal8Bit(error_) : QString::fromLatin1(curl_easy_strerror(codigo));
}
