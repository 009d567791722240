#pragma once

#include <QString>

#include <cstdint>
#include <thread>

// A SQL Server on loopback as far as the login: it answers the pre-login
// without encryption, reads the TDS 7 login packet of the first client and
// then hangs up, so the client's login fails after the packet is sent. A
// silent one answers nothing and waits for the client to give up.
class TdsLoginListener {
 public:
  struct Login {
    bool arrived = false;  // a login packet came
    QString hostName;
    QString user;
    QString password;
    QString application;
    QString server;
    QString language;
    QString database;
  };

  enum class Answers { PreLogin, Nothing };
  explicit TdsLoginListener(Answers answers = Answers::PreLogin);
  ~TdsLoginListener();
  TdsLoginListener(const TdsLoginListener&) = delete;
  TdsLoginListener& operator=(const TdsLoginListener&) = delete;

  std::uint16_t Port() const { return port_; }
  // What the first client sent; waits for it to have been served, so only
  // after the client has tried.
  Login Received();

 private:
  void serve();

  Answers answers_;
  int listening_ = -1;
  std::uint16_t port_ = 0;
  Login login_;
  std::thread thread_;
};

// A loopback port nothing listens on.
std::uint16_t ClosedLoopbackPort();

// "127.0.0.1,<port>", a server name that is a host.
QString LoopbackServerName(std::uint16_t port);
