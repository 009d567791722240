#include "core/datamodule/Genemodu.h"
#include "core/startup/Configuracion.h"
#include "core/system/Comandos.h"
#include "core/system/Equipo.h"
#include "core/system/Incidencias.h"
#include "core/system/SistemaOperativo.h"
#include "platform/NetworkInfo.h"

#include <gtest/gtest.h>

TEST(SepararComando, SplitsAtBlanksAndKeepsQuotedBlanks) {
  const std::tuple<const char*, const char*, QStringList> casos[] = {
      {"TUVAWIN.EXE  L=C:\\ZEM\\INSTALACION.CFG U=ANA I=ZEMWIN.INI T=",
       "TUVAWIN.EXE", {"L=C:\\ZEM\\INSTALACION.CFG", "U=ANA", "I=ZEMWIN.INI", "T="}},
      {"\"/opt/mi zem/tuvawin\" \"L=/a b/c.cfg\" x", "/opt/mi zem/tuvawin", {"L=/a b/c.cfg", "x"}},
      {"prog a\"b c\"d", "prog", {"ab cd"}}, {"prog \"\" fin", "prog", {"", "fin"}}, {"  prog\targ  ", "prog", {"arg"}},
      {"prog 'a;b' $(rm) |x", "prog", {"'a;b'", "$(rm)", "|x"}},  // no shell reads it
      {"", "", {}}, {"   ", "", {}},
  };
  for (const auto& [linea, programa, parametros] : casos) {
    const Comando comando = SepararComando(QString::fromUtf8(linea));
    EXPECT_EQ(comando.parametros.size(), parametros.size()) << linea;
    EXPECT_EQ(QStringList(comando.parametros) << comando.programa, QStringList(parametros) << programa) << linea;
  }
  EXPECT_EQ(SepararParametros(u"/ZEM/X.CFG ANA Indefinida "_qs), (QStringList{"/ZEM/X.CFG", "ANA", "Indefinida"}));
}

TEST(InformacionSistemaOperativo, GivesTheUnknownPlatformWithTheKernelVersion) {
  const std::pair<const char*, const char*> casos[] = {
      {"6.1.0-18-amd64", "6.1.0"}, {"5.15.153.1-microsoft-standard-WSL2", "5.15.153"}, {"4.9", "4.9.0"},
      {"rara", "0.0.0"}, {"", "0.0.0"},
  };
  for (const auto& [nucleo, version] : casos)
    EXPECT_EQ(InformacionSistemaOperativo(QLatin1String(nucleo)),
              u"PlataformaBase=Desconocida\r\nPlataforma=Desconocida\r\nVersion="_qs +
                  QLatin1String(version) + u"\r\nNivel="_qs)
        << nucleo;
}

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
  red.nombre = u"PUESTO7"_qs;
  red.direcciones = {u"192.168.1.20"_qs, u"10.0.0.4"_qs};
  QString nombre, direccion, error = u"anterior"_qs;
  EXPECT_TRUE(NombreYDireccionEquipo(nombre, direccion, error));
  EXPECT_EQ(QStringList({nombre, direccion, error}), QStringList({"PUESTO7", "192.168.1.20", ""}));
  EXPECT_EQ(NombreEquipo(), u"PUESTO7"_qs);

  red.direcciones.clear();
  EXPECT_TRUE(NombreYDireccionEquipo(nombre, direccion, error));
  EXPECT_EQ(direccion, QString());

  red.nombre.clear();
  EXPECT_FALSE(NombreYDireccionEquipo(nombre, direccion, error));
  EXPECT_EQ(error, QString());
}

TEST(CapturarIncidencia, HandsTheIncidentToTheTraceHookUnlessTheLevelIsNinguno) {
  QStringList vistos;
  InstalarObservadorTraza([&](const QString& texto, const QString& detalle, const QVariant& extra) {
    vistos << texto + u'|' + detalle + u'|' + extra.toString();
  });
  for (const char* nivel : {"Minimo", "Maximo", "", "Ninguno"}) {
    NivelCapturaIncidencias = QLatin1String(nivel);
    CapturarIncidencia(u"Traspaso de Datos desde Paradox/Interbase.\r\n"_qs + QLatin1String(nivel));
  }
  CapturarIncidencia(u"no"_qs, u"detalle"_qs, 7);
  NivelCapturaIncidencias = u"Minimo"_qs;
  CapturarIncidencia(u"texto"_qs, u"detalle"_qs, 7);
  EXPECT_EQ(vistos, QStringList({"Traspaso de Datos desde Paradox/Interbase.\r\nMinimo||",
                                 "Traspaso de Datos desde Paradox/Interbase.\r\nMaximo||",
                                 "Traspaso de Datos desde Paradox/Interbase.\r\n||", "texto|detalle|7"}));
}
