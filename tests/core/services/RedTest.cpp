#include "core/services/Red.h"
#include "platform/NetworkInfo.h"

#include <gtest/gtest.h>

namespace {

class AdaptadoresFijos : public NetworkInfo {
 public:
  explicit AdaptadoresFijos(QList<Adapter> adaptadores) : adaptadores_(std::move(adaptadores)), instalados_(*this) {}
  QString HostName() override { return {}; }
  QStringList HostAddresses(const QString&) override { return {}; }
  QList<Adapter> Adapters() override { return adaptadores_; }

 private:
  QList<Adapter> adaptadores_;
  NetworkInfoSeam::Scoped instalados_;
};

QByteArray bytes(std::initializer_list<int> valores) {
  QByteArray resultado;
  for (int valor : valores) resultado.append(static_cast<char>(valor));
  return resultado;
}

const QByteArray kCeros = bytes({0, 0, 0, 0, 0, 0});
const QByteArray kTarjeta = bytes({0x00, 0x1a, 0x2b, 0xc3, 0xd4, 0xff});

}  // namespace

TEST(DireccionMAC, IsTheFirstAdapterWithAnAddress) {
  // Loopback and adapters without an address are passed over, an all-zero address passes the turn, a longer
  // address gives its first six bytes.
  const std::tuple<QList<NetworkInfo::Adapter>, const char*, const char*> casos[] = {
      {{{"lo", kCeros, true}, {"tun0", {}, false}, {"eth0", kTarjeta, false}, {"eth1", bytes({1, 2, 3, 4, 5, 6})}},
       "00-1A-2B-C3-D4-FF", "001A2BC3D4FF"},
      {{{"dummy0", kCeros, false}, {"wlan0", kTarjeta, false}}, "00-1A-2B-C3-D4-FF", "001A2BC3D4FF"},
      {{{"dummy0", kCeros, false}}, "00-00-00-00-00-00", "000000000000"},
      {{{"ib0", bytes({0x80, 0, 2, 8, 0xfe, 0x80, 0, 0}), false}}, "80-00-02-08-FE-80", "80000208FE80"},
      {{{"lo", kCeros, true}}, "", "000000000000"}};
  for (const auto& [adaptadores, conSeparadores, sinSeparadores] : casos) {
    const AdaptadoresFijos red(adaptadores);
    EXPECT_EQ(DireccionMAC(QString()) + u' ' + DireccionMAC(u"SinSeparadores"_qs),
              QLatin1String(conSeparadores) + u' ' + QLatin1String(sinSeparadores));
  }
}

TEST(NombreUniversal, ALocalPathIsItsOwnUniversalName) {
  EXPECT_EQ(NombreUniversal(u"/srv/zem/DOCUMENTOS/a.pdf"_qs), u"/srv/zem/DOCUMENTOS/a.pdf"_qs);
}
