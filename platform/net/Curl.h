#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <curl/curl.h>

#include <vector>

// One libcurl transfer handle with the connection options every client of
// the system uses (limits, trusted certificates, redirections).
class Curl {
 public:
  Curl();
  ~Curl();
  Curl(const Curl&) = delete;
  Curl& operator=(const Curl&) = delete;

  CURL* get() const { return handle_; }
  // Runs the transfer; the libcurl code, with the library's text kept.
  CURLcode Ejecutar();
  QString TextoError(CURLcode codigo) const;

  // The list stays alive as long as the handle.
  curl_slist* Lista(const QStringList& lineas);

 private:
  CURL* handle_;
  char error_[CURL_ERROR_SIZE] = {};
  std::vector<curl_slist*> listas_;
};
