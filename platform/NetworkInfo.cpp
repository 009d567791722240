#include "platform/NetworkInfo.h"

#include <QHostAddress>
#include <QHostInfo>
#include <QNetworkInterface>

namespace {

QByteArray bytesOf(const QString& hardwareAddress) {
  QByteArray bytes;
  for (const QString& piece : hardwareAddress.split(u':', Qt::SkipEmptyParts)) {
    bool isNumber = false;
    const uint value = piece.toUInt(&isNumber, 16);
    if (!isNumber || value > 0xFF) return {};
    bytes.append(static_cast<char>(value));
  }
  return bytes;
}

class SystemNetwork : public NetworkInfo {
 public:
  QString HostName() override { return QHostInfo::localHostName(); }

  QStringList HostAddresses(const QString& hostName) override {
    QStringList addresses;
    for (const QHostAddress& address : QHostInfo::fromName(hostName).addresses())
      if (address.protocol() == QAbstractSocket::IPv4Protocol) addresses.append(address.toString());
    return addresses;
  }

  QList<Adapter> Adapters() override {
    QList<Adapter> adapters;
    for (const QNetworkInterface& adapter : QNetworkInterface::allInterfaces())
      adapters.append({adapter.name(), bytesOf(adapter.hardwareAddress()),
                       adapter.flags().testFlag(QNetworkInterface::IsLoopBack)});
    return adapters;
  }
};

}  // namespace

NetworkInfo& NetworkInfo::Default() {
  static SystemNetwork network;
  return network;
}
