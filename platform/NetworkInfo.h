#pragma once

#include "platform/Seam.h"

#include <QList>
#include <QString>
#include <QStringList>

// What the machine knows of itself on the network.
class NetworkInfo {
 public:
  struct Adapter {
    QString name;
    QByteArray hardwareAddress;  // empty when the adapter has none
    bool loopback = false;
  };

  virtual ~NetworkInfo() = default;
  // Empty when it cannot be read.
  virtual QString HostName() = 0;
  // The IPv4 addresses the name resolves to, as dotted decimal text, in the
  // resolver's order.
  virtual QStringList HostAddresses(const QString& hostName) = 0;
  // The network adapters in the system's order.
  virtual QList<Adapter> Adapters() = 0;

  static NetworkInfo& Default();
};

using NetworkInfoSeam = Seam<NetworkInfo>;
