#include "maintenance/Genediag.h"

#include "core/forms/GanchosFormulario.h"
#include "core/startup/Configuracion.h"
#include "core/startup/Geneinic.h"
#include "maintenance/ComprobacionesInstalacion.h"
#include "platform/Application.h"
#include "platform/IniFile.h"
#include "platform/TextFile.h"
#include "platform/data/Session.h"
#include "tests/core/system/MensajesSimples.h"
#include "tests/fixtures/FullDisk.h"
#include "tests/fixtures/InstallationBuilder.h"
#include "tests/fixtures/ScriptedPresenter.h"
#include "tests/fixtures/TemporaryFolder.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <memory>

namespace {

const QString kRegistro = u"Las siguientes anomalías han sido detectadas en el Registro de Windows:\r\n\r\n"_qs;
const QString kMotor = u"Las siguientes anomalías han sido detectadas en el archivo de configuración del BDE:\r\n\r\n"_qs;
const QString kSistema = u"Las siguientes anomalías han sido detectadas en el Sistema Operativo: \r\n\r\n"_qs;
const QString kAyuda = u"SOFTWARE\\Microsoft\\HTMLHelp\\1.x\\ItssRestrictions"_qs;
const QString kSistemaINIT = u"SYSTEM\\INIT"_qs;
const QString kPregunta =
    u"Confirmar|¿Desea que la aplicación reconfigure la instalación \r\nintentando subsanar las anomalías detectadas?"_qs;

class CarpetaPrueba : public CarpetaSistema {
 public:
  explicit CarpetaPrueba(QString ruta) : ruta_(std::move(ruta)), instalada_(*this) {}
  QString Ruta() override { return ruta_; }

 private:
  QString ruta_;
  CarpetaSistemaSeam::Scoped instalada_;
};

// An installation in a program folder whose name holds a blank and a quote,
// started; the report and the plain questions are recorded.
class Diagnostico : public ::testing::Test {
 public:
  Diagnostico() {
    QDir().mkpath(programa);
    instalacion.Write();
    QDir::setCurrent(programa);
    Ganchos().MostrarDetalle = [this](const QString& texto, const QString& titulo, const QString& opciones) {
      informes.append(titulo + u'|' + opciones + u'|' + texto);
    };
  }
  void Iniciar() { servicios = std::make_unique<TfGENEINIC>(QStringList{}); }
  bool Diagnosticar(const QString& grupo = u"Configuracion"_qs) {
    auto* formulario = new TfGENEDIAG();
    const bool correcta = formulario->DiagnosticarInstalacion(grupo);
    formulario->close();
    return correcta;
  }
  QString Motor() const { return programa + u"/MOTORBD.CFG"_qs; }
  QString Registro() const { return programa + u"/REGISTRO.CFG"_qs; }
  void Escribir(const QString& archivo, const QString& seccion, const QString& clave, const QString& valor) {
    IniFile(archivo).WriteString(seccion, clave, valor);
  }
  QString Leer(const QString& archivo, const QString& seccion, const QString& clave) const {
    return IniFile(archivo).ReadString(seccion, clave, u"(ninguno)"_qs);
  }

  ScriptedPresenter mensajes;
  MensajesSimples simples;
  TemporaryFolder carpeta;
  QString programa = carpeta.Path() + u"/Programa d'Ana y Luis"_qs;
  InstallationBuilder instalacion{programa};
  CarpetaPrueba sistema{carpeta.Path()};
  std::unique_ptr<TfGENEINIC> servicios;
  QStringList informes;
};

}  // namespace

TEST_F(Diagnostico, AFreshInstallationShowsNothingAtStartUp) {
  RegistrarGENEDIAG();
  Iniciar();
  EXPECT_FALSE(Application::Instance()->Terminated());
  EXPECT_TRUE(informes.isEmpty());
  EXPECT_TRUE(Diagnosticar());
  // The agent's lines are reported only.
  EXPECT_FALSE(Diagnosticar(u"MotorBaseDatos"_qs));
  EXPECT_EQ(informes, QStringList{u"Diagnóstico de la Instalación||Las siguientes anomalías han sido detectadas en "
                                  "Microsoft SQL Server y deben ser reconfiguradas manualmente: \r\n\r\nNo tiene "
                                  "configurado el sistema de alerta sobre la actividad del Agente de SQL Server "
                                  "(Gestor de Aplicaciones/Configuración/Configuración de Sistema/Microsoft SQL "
                                  "Server)\r\n"_qs});
  EXPECT_TRUE(simples.preguntas.isEmpty());
  EXPECT_EQ(Session::Default().GetAliasNames(), (QStringList{u"ZEMGENERAL"_qs, u"ZEMEMP"_qs}));
}

// Each rule's line under its heading; an at-least value above its target,
// and an alias that only contains the company alias, are no anomaly.
TEST_F(Diagnostico, EachWrongValueGivesItsLineUnderItsHeading) {
  Iniciar();
  const struct {
    const char* nombre;
    std::function<void(Diagnostico&)> cambio;
    QString informe;
  } casos[] = {
      {"registry value", [](Diagnostico& d) { d.Escribir(d.Registro(), kAyuda, u"MaxAllowedZone"_qs, u"dword:0"_qs); },
       kRegistro + u" - MaxAllowedZone=0 no es un valor correcto en \\"_qs + kAyuda + u".\r\n"_qs},
      {"registry kind", [](Diagnostico& d) { d.Escribir(d.Registro(), kAyuda, u"MaxAllowedZone"_qs, u"1"_qs); },
       kRegistro + u" - MaxAllowedZone en \\"_qs + kAyuda +
           u", presenta el siguiente error: Invalid data type for 'MaxAllowedZone'\r\n"_qs},
      {"integer", [](Diagnostico& d) { d.Escribir(d.Motor(), u"DRIVERS\\PARADOX\\TABLE CREATE"_qs, u"LEVEL"_qs, u"4"_qs); },
       kMotor + u" - El valor LEVEL=4 de la Direccion BDEAdministrator\\Configuration\\Drivers\\Native\\PARADOX no es "
                "correcto (debería ser >= 5).\r\n"_qs},
      {"text", [](Diagnostico& d) { d.Escribir(d.Motor(), kSistemaINIT, u"LOCAL SHARE"_qs, u"FALSE"_qs); },
       kMotor + u" - El valor LOCAL SHARE=FALSE de la Direccion BDEAdministrator\\Configuration\\System\\INIT no es "
                "correcto (debería ser TRUE).\r\n"_qs},
      {"company alias", [](Diagnostico& d) { d.Escribir(d.Motor(), u"Databases\\ZEMEMP\\DB OPEN"_qs, u"BLOB SIZE"_qs, u"10"_qs); },
       kMotor + u" - El valor BLOB SIZE=10 de la Direccion BDEAdministrator\\Databases\\ZEMEMP no es correcto "
                "(debería ser >= 999).\r\n"_qs},
      {"language driver", [](Diagnostico& d) { d.Escribir(d.Motor(), kSistemaINIT, u"LANGDRIVER"_qs, {}); },
       kMotor + u" - El valor del parámetro LANGDRIVER de la Direccion BDEAdministrator\\Configuration\\System\\INIT "
                "no está asignado.\r\n"_qs},
      {"above the least", [](Diagnostico& d) { d.Escribir(d.Motor(), kSistemaINIT, u"MAXBUFSIZE"_qs, u"4096"_qs); }, {}},
      {"alias containing the company's",
       [](Diagnostico& d) { d.Escribir(d.Motor(), u"Databases\\ZEMEMP2\\DB OPEN"_qs, u"BLOB SIZE"_qs, u"1"_qs); }, {}},
      {"network driver files",
       [](Diagnostico& d) {
         for (const auto& [nombre, fecha] : {std::pair{"vredir.vxd", QDate(1997, 9, 11)}, {"VNETSUP.VXD", QDate(1997, 5, 31)}}) {
           const QString ruta = d.carpeta.File(QLatin1String(nombre));
           TextFile::Write(ruta, u"x"_qs);
           QFile archivo(ruta);
           archivo.open(QIODevice::ReadWrite);
           archivo.setFileTime(QDateTime(fecha, QTime(12, 0)), QFileDevice::FileModificationTime);
         }
       },
       kSistema + u"El archivo VREDIR.VXD debe ser actualizado.\r\n"_qs},
      {"two places", [](Diagnostico& d) {
         d.Escribir(d.Registro(), kAyuda, u"MaxAllowedZone"_qs, u"dword:0"_qs);
         d.Escribir(d.Motor(), kSistemaINIT, u"SHAREDMEMLOCATION"_qs, u"0x1"_qs);
       },
       kRegistro + u" - MaxAllowedZone=0 no es un valor correcto en \\"_qs + kAyuda + u".\r\n\r\n\r\n"_qs + kMotor +
           u" - El valor SHAREDMEMLOCATION=0x1 de la Direccion BDEAdministrator\\Configuration\\System\\INIT no es "
           "correcto (debería ser 0x5BDE).\r\n"_qs},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.nombre);
    const QByteArray motor = TextFile::ReadBytes(Motor()), registro = TextFile::ReadBytes(Registro());
    caso.cambio(*this);
    const QByteArray cambiado = TextFile::ReadBytes(Motor());
    informes.clear();
    simples.preguntas.clear();
    EXPECT_EQ(Diagnosticar(), caso.informe.isEmpty());
    EXPECT_EQ(informes, caso.informe.isEmpty() ? QStringList() : QStringList{u"Diagnóstico de la Instalación||"_qs + caso.informe});
    EXPECT_EQ(simples.preguntas, caso.informe.isEmpty() ? QStringList() : QStringList{kPregunta});
    EXPECT_EQ(TextFile::ReadBytes(Motor()), cambiado) << "answered No";
    TextFile::WriteBytes(Motor(), motor);
    TextFile::WriteBytes(Registro(), registro);
    for (const char* nombre : {"vredir.vxd", "VNETSUP.VXD"}) QFile::remove(carpeta.File(QLatin1String(nombre)));
  }
}

// No leaves every file as it was; Yes writes every value, right or wrong,
// and the language driver by the collation.
TEST_F(Diagnostico, OnlyYesRepairsAndItWritesEveryValue) {
  Iniciar();
  const struct {
    const char* intercalacion;
    const char* controlador;
  } casos[] = {{"Modern_Spanish_CI_AS", "ascii"}, {"SQL_Latin1_General_CP1_CI_AS", "BLLT1ES0"}};
  for (const auto& caso : casos) {
    Escribir(Motor(), kSistemaINIT, u"MAXBUFSIZE"_qs, u"4096"_qs);
    Escribir(Motor(), u"DRIVERS\\PARADOX\\TABLE CREATE"_qs, u"LEVEL"_qs, u"4"_qs);
    Escribir(Motor(), u"DRIVERS\\MSSQL\\DB OPEN"_qs, u"LANGDRIVER"_qs, {});
    Escribir(Motor(), u"Databases\\ZEMEMP2\\DB OPEN"_qs, u"BLOB SIZE"_qs, u"1"_qs);
    Escribir(Motor(), u"Databases\\OTRA\\DB OPEN"_qs, u"BLOB SIZE"_qs, u"1"_qs);
    for (const char* seccion : {"Databases\\ZEMEMP2", "Databases\\OTRA"})
      Escribir(Motor(), QLatin1String(seccion), u"TYPE"_qs, u"MSSQL"_qs);
    Escribir(Registro(), kAyuda, u"MaxAllowedZone"_qs, u"dword:0"_qs);
    NombreIntercalacionMSSQL = QLatin1String(caso.intercalacion);
    const QByteArray motor = TextFile::ReadBytes(Motor()), registro = TextFile::ReadBytes(Registro());
    simples.respuesta = false;
    EXPECT_FALSE(Diagnosticar());
    EXPECT_EQ(TextFile::ReadBytes(Motor()), motor);
    EXPECT_EQ(TextFile::ReadBytes(Registro()), registro);

    simples.respuesta = true;
    EXPECT_FALSE(Diagnosticar()) << "false after a repair too";
    EXPECT_EQ(Leer(Motor(), kSistemaINIT, u"MAXBUFSIZE"_qs), u"16384"_qs);
    EXPECT_EQ(Leer(Motor(), u"DRIVERS\\PARADOX\\TABLE CREATE"_qs, u"LEVEL"_qs), u"5"_qs);
    EXPECT_EQ(Leer(Motor(), u"DRIVERS\\MSSQL\\DB OPEN"_qs, u"LANGDRIVER"_qs), QLatin1String(caso.controlador));
    EXPECT_EQ(Leer(Motor(), kSistemaINIT, u"LANGDRIVER"_qs), QLatin1String(caso.controlador));
    EXPECT_EQ(Leer(Motor(), u"Databases\\ZEMEMP2\\DB OPEN"_qs, u"BLOB SIZE"_qs), u"999"_qs);
    EXPECT_EQ(Leer(Motor(), u"Databases\\ZEMEMP2\\DB OPEN"_qs, u"BLOBS TO CACHE"_qs), u"(ninguno)"_qs)
        << "an absent entry stays absent";
    EXPECT_EQ(Leer(Motor(), u"Databases\\OTRA\\DB OPEN"_qs, u"BLOB SIZE"_qs), u"1"_qs);
    EXPECT_EQ(Leer(Registro(), kAyuda, u"MaxAllowedZone"_qs), u"dword:1"_qs);
    EXPECT_TRUE(Diagnosticar());
  }
  EXPECT_EQ(simples.preguntas, QStringList(4, kPregunta));
}

// The engine's errors are not the diagnosis's to answer: a node the
// configuration lacks ends start-up, and a repair that cannot write leaves
// the file whole.
TEST_F(Diagnostico, AMissingNodeEndsStartUpAndAFailedRepairLeavesTheFileWhole) {
  TextFile::WriteBytes(Motor(), TextFile::ReadBytes(Motor()).replace("[DRIVERS\\MSSQL\\INIT]", "[DRIVERS\\MSSQL\\OTRO]"));
  RegistrarGENEDIAG();
  mensajes.Expect(u"E"_qs);
  Iniciar();
  EXPECT_TRUE(Application::Instance()->Terminated());
  ASSERT_EQ(mensajes.Messages().size(), 1);
  EXPECT_TRUE(mensajes.Messages().first().text.contains(u"\\DRIVERS\\MSSQL\\INIT\\"_qs)) << mensajes.Texts().join(u"").toStdString();

  Escribir(Motor(), u"DRIVERS\\MSSQL\\OTRO"_qs, u"MAX DBPROCESSES"_qs, u"1"_qs);
  TextFile::WriteBytes(Motor(), TextFile::ReadBytes(Motor()).replace("[DRIVERS\\MSSQL\\OTRO]", "[DRIVERS\\MSSQL\\INIT]"));
  const QByteArray motor = TextFile::ReadBytes(Motor());
  simples.respuesta = true;
  {
    const FullDisk lleno(static_cast<rlim_t>(motor.size() / 2));
    EXPECT_THROW(Diagnosticar(), std::exception);
  }
  EXPECT_EQ(TextFile::ReadBytes(Motor()), motor);
}
