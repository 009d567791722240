#include "core/system/Equipo.h"
#include "platform/NetworkInfo.h"

#include <pwd.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

class RedFija : public NetworkInfo {
 public:
  RedFija() : instalada_(*this) {}
  QString HostName() override { return nombre; }
  QStringList HostAddresses(const QString& host) override {
    consultado = host;
    return direcciones;
  }
  QList<Adapter> Adapters() override { return {}; }

  QString nombre;
  QStringList direcciones;
  QString consultado;

 private:
  NetworkInfoSeam::Scoped instalada_;
};

}  // namespace

TEST(UsuarioWindows, IsTheLogonNameOfThisProcess) {
  const passwd* entrada = getpwuid(geteuid());
  ASSERT_NE(entrada, nullptr);
  EXPECT_EQ(UsuarioWindows(), QString::fromLocal8Bit(entrada->pw_name));
}

TEST(NombreEquipo, IsThisMachinesHostName) {
  char nombre[256] = {};
  ASSERT_EQ(gethostname(nombre, sizeof nombre - 1), 0);
  EXPECT_EQ(NombreEquipo(), QString::fromLocal8Bit(nombre));
}

TEST(NombreYDireccionEquipo, GivesTheHostNameAndItsFirstAddress) {
  RedFija red;
  red.nombre = QStringLiteral("PUESTO7");
  red.direcciones = {QStringLiteral("192.168.1.20"), QStringLiteral("10.0.0.4")};
  QString nombre, direccion, error = QStringLiteral("anterior");
  EXPECT_TRUE(NombreYDireccionEquipo(nombre, direccion, error));
  EXPECT_EQ(red.consultado, QStringLiteral("PUESTO7"));
  EXPECT_EQ(nombre, QStringLiteral("PUESTO7"));
  EXPECT_EQ(direccion, QStringLiteral("192.168.1.20"));
  EXPECT_EQ(error, QString());

  red.direcciones.clear();
  EXPECT_TRUE(NombreYDireccionEquipo(nombre, direccion, error));
  EXPECT_EQ(direccion, QString());

  red.nombre.clear();
  EXPECT_FALSE(NombreYDireccionEquipo(nombre, direccion, error));
  EXPECT_EQ(error, QString());
}

TEST(NombreYDireccionEquipo, ReadsThisMachine) {
  QString nombre, direccion, error;
  ASSERT_TRUE(NombreYDireccionEquipo(nombre, direccion, error));
  EXPECT_EQ(nombre, NombreEquipo());
  // The address, when the name resolves, is four numbers joined by ".".
  if (!direccion.isEmpty()) {
    const QStringList bytes = direccion.split(u'.');
    ASSERT_EQ(bytes.size(), 4) << direccion.toStdString();
    for (const QString& numero : bytes) {
      bool esNumero = false;
      EXPECT_LE(numero.toInt(&esNumero), 255);
      EXPECT_TRUE(esNumero);
    }
  }
}
