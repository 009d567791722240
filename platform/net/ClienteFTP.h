#pragma once

#include <QString>

#include <memory>

class Curl;

// An FTP client over libcurl: one logged-in control connection kept for the
// transfers of a session. Failures raise Exception with the library's text.
class ClienteFTP {
 public:
  ClienteFTP();
  ~ClienteFTP();

  QString Host;
  QString Username;
  QString Password;

  // Connects and logs in.
  void Connect();
  bool Connected() const { return curl_ != nullptr; }
  // Fetches the server's file (a path from the root, each piece of it
  // percent-encoded here) into a temporary name beside the local file,
  // renamed over it only once the whole file arrived.
  void Get(const QString& rutaServidor, const QString& archivoLocal);
  void Disconnect();

 private:
  QString url(const QString& ruta) const;
  std::unique_ptr<Curl> curl_;
};
