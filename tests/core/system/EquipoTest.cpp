#include "core/system/Equipo.h"
#include "platform/NetworkInfo.h"

#include <gtest/gtest.h>

namespace {

class RedFija : public NetworkInfo {
 public:
  RedFija() : instalada_(*this) {}
  QString HostName() override { return nombre; }
  QStringList HostAddresses(const QString& host) override { return host == nombre ? direcciones : QStringList(); }
  QList<Adapter> Adapters() override { return {}; }

  QString nombre;
  QStringList direcciones;

 private:
  NetworkInfoSeam::Scoped instalada_;
};

}  // namespace

TEST(NombreYDireccionEquipo, GivesTheHostNameAndItsFirstAddress) {
  RedFija red;
  red.nombre = QStringLiteral("PUESTO7");
  red.direcciones = {QStringLiteral("192.168.1.20"), QStringLiteral("10.0.0.4")};
  QString nombre, direccion, error = QStringLiteral("anterior");
  EXPECT_TRUE(NombreYDireccionEquipo(nombre, direccion, error));
  EXPECT_EQ(QStringList({nombre, direccion, error}), QStringList({"PUESTO7", "192.168.1.20", ""}));
  EXPECT_EQ(NombreEquipo(), QStringLiteral("PUESTO7"));

  red.direcciones.clear();
  EXPECT_TRUE(NombreYDireccionEquipo(nombre, direccion, error));
  EXPECT_EQ(direccion, QString());

  red.nombre.clear();
  EXPECT_FALSE(NombreYDireccionEquipo(nombre, direccion, error));
  EXPECT_EQ(error, QString());
}
