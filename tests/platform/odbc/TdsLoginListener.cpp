#include "tests/platform/odbc/TdsLoginListener.h"

#include <QByteArray>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace {

constexpr char kPreLogin = 0x12;
constexpr char kLogin7 = 0x10;
constexpr char kReply = 0x04;
constexpr int kHeaderSize = 8;

int boundLoopbackSocket(std::uint16_t& port) {
  const int socket = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (socket < 0 || bind(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length) != 0)
    throw std::runtime_error("no loopback socket");
  port = ntohs(address.sin_port);
  return socket;
}

bool readExactly(int socket, char* buffer, int size) {
  for (int done = 0; done < size;) {
    const ssize_t got = read(socket, buffer + done, size - done);
    if (got <= 0) return false;
    done += static_cast<int>(got);
  }
  return true;
}

// One whole message: its packets' payloads up to the one marked last.
bool readMessage(int socket, char& type, QByteArray& payload) {
  payload.clear();
  for (;;) {
    char header[kHeaderSize];
    if (!readExactly(socket, header, kHeaderSize)) return false;
    type = header[0];
    const int length = (static_cast<unsigned char>(header[2]) << 8) | static_cast<unsigned char>(header[3]);
    QByteArray part(length - kHeaderSize, '\0');
    if (length < kHeaderSize || !readExactly(socket, part.data(), static_cast<int>(part.size()))) return false;
    payload += part;
    if (header[1] & 0x01) return true;
  }
}

void writeMessage(int socket, char type, const QByteArray& payload) {
  const int length = kHeaderSize + static_cast<int>(payload.size());
  QByteArray packet;
  packet += type;
  packet += char(0x01);
  packet += char(length >> 8);
  packet += char(length & 0xFF);
  packet += QByteArray(4, '\0');
  packet += payload;
  if (write(socket, packet.constData(), packet.size()) != packet.size()) throw std::runtime_error("short write");
}

// VERSION and ENCRYPTION "not supported", then the options' data.
QByteArray preLoginReply() {
  const char options[] = {0x00, 0x00, 11, 0x00, 6,  // VERSION at 11, 6 bytes
                          0x01, 0x00, 17, 0x00, 1,  // ENCRYPTION at 17, 1 byte
                          char(0xFF),
                          0x0F, 0x00, 0x07, char(0xD0), 0x00, 0x00,  // 15.0.2000
                          0x02};
  return QByteArray(options, sizeof options);
}

int word(const QByteArray& data, int at) {
  return static_cast<unsigned char>(data[at]) | (static_cast<unsigned char>(data[at + 1]) << 8);
}

// The text of the login field whose offset and length are at that place.
QByteArray fieldBytes(const QByteArray& login, int at) {
  const int offset = word(login, at);
  const int characters = word(login, at + 2);
  return login.mid(offset, characters * 2);
}

QString utf16(const QByteArray& bytes) {
  return QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData()), bytes.size() / 2);
}

// Each byte's halves swapped and XOR 0xA5: undone the other way round.
QString password(QByteArray bytes) {
  for (char& byte : bytes) {
    const auto value = static_cast<unsigned char>(byte ^ 0xA5);
    byte = static_cast<char>(((value << 4) & 0xF0) | (value >> 4));
  }
  return utf16(bytes);
}

}  // namespace

TdsLoginListener::TdsLoginListener(Answers answers) : answers_(answers) {
  listening_ = boundLoopbackSocket(port_);
  if (listen(listening_, 1) != 0) throw std::runtime_error("cannot listen");
  thread_ = std::thread([this] { serve(); });
}

TdsLoginListener::~TdsLoginListener() {
  // Wakes an accept that no client came to.
  shutdown(listening_, SHUT_RDWR);
  if (thread_.joinable()) thread_.join();
  close(listening_);
}

TdsLoginListener::Login TdsLoginListener::Received() {
  shutdown(listening_, SHUT_RDWR);
  if (thread_.joinable()) thread_.join();
  return login_;
}

void TdsLoginListener::serve() {
  const int client = accept(listening_, nullptr, nullptr);
  if (client < 0) return;
  char type = 0;
  QByteArray payload;
  while (readMessage(client, type, payload)) {
    if (answers_ == Answers::Nothing) continue;
    if (type == kPreLogin) {
      writeMessage(client, kReply, preLoginReply());
      continue;
    }
    if (type != kLogin7) break;
    constexpr int kHostName = 36;  // the fixed part before the offsets
    login_.arrived = true;
    login_.hostName = utf16(fieldBytes(payload, kHostName));
    login_.user = utf16(fieldBytes(payload, kHostName + 4));
    login_.password = password(fieldBytes(payload, kHostName + 8));
    login_.application = utf16(fieldBytes(payload, kHostName + 12));
    login_.server = utf16(fieldBytes(payload, kHostName + 16));
    login_.language = utf16(fieldBytes(payload, kHostName + 28));
    login_.database = utf16(fieldBytes(payload, kHostName + 32));
    break;
  }
  close(client);
}

std::uint16_t ClosedLoopbackPort() {
  std::uint16_t port = 0;
  close(boundLoopbackSocket(port));
  return port;
}

QString LoopbackServerName(std::uint16_t port) { return QStringLiteral("127.0.0.1,%1").arg(port); }
