#include "core/forms/GanchosFormulario.h"
#include "core/system/Archivos.h"
#include "platform/DesktopServices.h"
#include "platform/Exceptions.h"
#include "platform/SystemResources.h"
#include "platform/TextFile.h"
#include "shell/ConflictosBloqueo.h"
#include "shell/Genemenu.h"
#include "shell/InformacionSistema.h"
#include "shell/RegistroLibrerias.h"
#include "tests/core/connections/ConexionesFixture.h"
#include "tests/core/system/MensajesSimples.h"
#include "tests/fixtures/ManualClock.h"
#include "tests/fixtures/RecordingLauncher.h"
#include "tests/fixtures/ScriptedDialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QTimer>

namespace {

struct DetalleRegistrado {
  DetalleRegistrado() {
    Ganchos().MostrarDetalle = [this](const QString& texto, const QString& titulo, const QString&) {
      mostrados.append(titulo + u'\n' + texto);
    };
  }
  ~DetalleRegistrado() { Ganchos().MostrarDetalle = nullptr; }
  QStringList mostrados;
};

struct EscritorioRegistrado : DesktopServices {
  bool OpenFile(const QString& path) override { return OpenUrl(path); }
  bool OpenUrl(const QString& address) override {
    abiertos.append(address);
    return true;
  }
  QStringList abiertos;
  DesktopServicesSeam::Scoped instalado{*this};
};

const QString kBloqueados = u"    Usuario de Red:|ana|SPID|52|bloqueado por SPID|51\r\n"
                            "    Usuario de Red:|luis|SPID|53|bloqueado por SPID|51"_qs;

}  // namespace

TEST(ConflictosBloqueo, TheReportListsTheBlockedAndTheirBlockers) {
  const QString inicio = u"Los siguientes usuarios y procesos están siendo bloqueados:\r\n\r\n"
                         "    Usuario de Red: ana SPID 52 bloqueado por SPID 51\r\n"
                         "    Usuario de Red: luis SPID 53 bloqueado por SPID 51\r\n\r\n"_qs;
  const struct {
    QString bloqueados, bloqueantes, texto;
  } casos[] = {
      {QString(), QString(), QString()},
      {kBloqueados, QString(), inicio},
      {kBloqueados, u"    Usuario de Red:|pepe|SPID|51"_qs,
       inicio + u"Los siguientes usuarios y procesos son bloqueantes:\r\n\r\n    Usuario de Red: pepe SPID 51"_qs},
  };
  for (const auto& caso : casos) EXPECT_EQ(TextoConflictosBloqueo(caso.bloqueados, caso.bloqueantes), caso.texto);
}

// A "SI" ends every blocking process; a failing KILL stops there, the ones
// done staying done.
TEST(ConflictosBloqueo, TheBlockersAreKilledOnlyWhenTheUserAgrees) {
  for (const QString& respuesta : {u"NO"_qs, u"SI"_qs}) {
    ScriptedPresenter mensajes;
    DetalleRegistrado detalle;
    QStringList kills;
    mensajes.Expect(u"C"_qs, respuesta);
    const auto servidor = [&](const QString& sql) -> QString {
      if (sql.startsWith(u"KILL"_qs)) {
        kills.append(sql);
        return sql.endsWith(u"60"_qs) ? u"Error. no se permite"_qs : QString();
      }
      if (sql.contains(u"T1.spid IN"_qs)) return sql.contains(u"nt_username"_qs) ? u"x"_qs : u"51\r\n60\r\n61"_qs;
      return kBloqueados;
    };
    if (respuesta == u"NO"_qs) {
      InformacionConflictosBloqueo(servidor);
      EXPECT_TRUE(kills.isEmpty());
    } else {
      EXPECT_THROW(InformacionConflictosBloqueo(servidor), Abort);
      EXPECT_EQ(kills, QStringList({"KILL 51", "KILL 60"}));
    }
    ASSERT_EQ(detalle.mostrados.size(), 1);
    EXPECT_TRUE(detalle.mostrados[0].startsWith(u"Información de conflictos de bloqueo\nLos siguientes"_qs));
  }
}

class ConflictosServidor : public ConexionesFixture, public ::testing::WithParamInterface<const char*> {};

// On the embedded server and on Paradox folders nobody waits for a lock:
// there is never a conflict.
TEST_P(ConflictosServidor, WithoutConflictsTheUserIsToldSo) {
  instalacion.Engine(QLatin1String(GetParam()));
  Iniciar();
  DetalleRegistrado detalle;
  mensajes.Expect(u"I"_qs);
  TfGENEMENU().InformacionConflictosBloqueoClick();
  EXPECT_EQ(mensajes.Texts(), QStringList{u"No hay conflictos de bloqueo actualmente."_qs});
  EXPECT_TRUE(detalle.mostrados.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Motores, ConflictosServidor, ::testing::Values("Microsoft SQL Server", "Paradox"));

TEST(InformacionSistema, TheWholeTextForFixedInputs) {
  DatosInformacionSistema datos;
  datos.sistemaOperativo = u"PlataformaBase=Desconocida\r\nPlataforma=Desconocida\r\nVersion=6.1.0\r\nNivel=18"_qs;
  datos.versionMotor = u"EngineVersion=5.2001\r\nInterfaceLevel=4.0000\r\nVersionDate=07/12/26\r\nVersionTime=10:00:00"_qs;
  datos.usuariosMotor = {{u"UNNOMBREDEMASIADOLARGO"_qs, 3}, {u"ANA"_qs, 7}};
  datos.usuariosRed = u"ana\r\nluis"_qs;
  datos.motor = u"Microsoft SQL Server"_qs;
  datos.equipo = u"oficina"_qs;
  datos.direccionMAC = u"00-1A-2B-3C-4D-5E"_qs;
  datos.libreRaiz = (qint64{40} << 30) + 123;
  datos.carpetaPrograma = u"/opt/zem/"_qs;
  datos.librePrograma = (qint64{1} << 30) - 1;
  datos.memoriaTotal = 1234.5 * (1 << 30);
  datos.memoriaUsada = 37.456;
  datos.carpetaTemporal = u"/tmp/"_qs;
  EXPECT_EQ(TextoInformacionSistema(datos),
            u"Versión del Sistema Operativo:\r\n\r\n"
            "    Plataforma Base: Desconocida\r\n    Plataforma: Desconocida\r\n    Versión: 6.1.0\r\n    Nivel: 18\r\n"
            "\r\nBDE (Borland Database Engine):\r\n\r\n"
            "    Versión del Motor: 5.2001\r\n    Nivel del Interface: 4.0000\r\n"
            "    Fecha de la Versión: 07/12/26\r\n    Hora de la Versión: 10:00:00\r\n"
            "\r\nUsuarios del BDE (Usuario y Número de Sesión):\r\n\r\n"
            "    UNNOMBREDEMASIA  (3)\r\n    ANA  (7)\r\n"
            "\r\nUsuarios de Red (de Microsoft SQL Server):\r\n    ana\r\n    luis\r\n"
            "\r\nInformación del Hardware:\r\n\r\n"
            "    Nombre del Equipo: oficina\r\n    Dirección de red (MAC Adress): 00-1A-2B-3C-4D-5E\r\n"
            "    Espacio Libre en Disco C: 40 Gb\r\n    Espacio Libre en /opt/zem/: 0 Gb\r\n"
            "    Memoria RAM: 1.234,5 Gb (37,46% utilizada)\r\n"
            "\r\nInformación de Aplicación:\r\n\r\n"
            "    Carpeta de Archivos Temporales de Windows: /tmp/\r\n    Carpeta de la Aplicación: /opt/zem/"_qs);
  datos.usuariosRed.clear();
  EXPECT_FALSE(TextoInformacionSistema(datos).contains(u"Usuarios de Red"_qs));
}

// Disks and memory are read through the machine's interface: "Disco C:" is
// the root's file system.
TEST(InformacionSistema, DisksAndMemoryComeFromTheMachine) {
  struct Recursos : SystemResources {
    qint64 FreeBytes(const QString& path) override { return path == u"/"_qs ? 5 : 9; }
    Memory PhysicalMemory() override { return {1024.0, 50.0}; }
    SystemResourcesSeam::Scoped instalado{*this};
  } recursos;
  CarpetaPrograma = u"/opt/zem/"_qs;
  ScriptedPresenter mensajes;
  mensajes.Expect(u"A"_qs).Expect(QString());  // no database to ask for its users
  const DatosInformacionSistema datos = LeerInformacionSistema();
  EXPECT_EQ(QList<double>({double(datos.libreRaiz), double(datos.librePrograma), datos.memoriaTotal, datos.memoriaUsada}),
            QList<double>({5, 9, 1024, 50}));
}

// The chosen library goes to Regsvr32 as one argument, "/U" after it to
// unregister; a cancelled choice starts nothing.
TEST(RegistroLibrerias, TheChosenLibraryGoesToRegsvr32) {
  RecordingLauncher lanzador;
  ScriptedDialogs dialogos;
  MensajesSimples simples;
  QFileDialog abrir;
  const QString libreria = u"/datos/mis \"libs\"/it's.dll"_qs;
  dialogos.ExpectFile(QString()).ExpectFile(libreria).ExpectFile(libreria);
  RegistrarLibreria(abrir, false);
  RegistrarLibreria(abrir, false);
  lanzador.starts = false;
  RegistrarLibreria(abrir, true);
  ASSERT_EQ(lanzador.Calls().size(), 2);
  EXPECT_EQ(lanzador.Calls()[0].program, u"Regsvr32.exe"_qs);
  EXPECT_EQ(lanzador.Calls()[0].arguments, QStringList{libreria});
  EXPECT_FALSE(lanzador.Calls()[0].waited);
  EXPECT_EQ(lanzador.Calls()[1].arguments, QStringList({libreria, u"/U"_qs}));
  EXPECT_EQ(dialogos.Dialogs()[0].nameFilters, NameFilters(u"Liberías de Enlace Dinámico (*.dll)|*.dll"_qs));
  EXPECT_EQ(dialogos.Dialogs()[0].fileName, u"*.dll"_qs);
  EXPECT_EQ(simples.textos, QStringList{u"El archivo Regsvr32.exe "_qs + libreria + u" /U no ha sido encontrado."_qs});
}

// Without a version 4 of the framework the download is offered; with one,
// its regasm registers the copies made in the temporary folder, which are
// gone once it has had its second.
TEST(RegistroLibrerias, TheNetLibrariesNeedAVersion4Framework) {
  TemporaryFolder carpeta;
  ManualClock reloj;
  RecordingLauncher lanzador;
  EscritorioRegistrado escritorio;
  ScriptedPresenter mensajes;
  const QString framework = carpeta.File(u"Framework"_qs);
  QDir().mkpath(framework + u"/v3.5"_qs);
  TextFile::Write(framework + u"/v3.5/regasm.exe"_qs, u"x"_qs);
  mensajes.Expect(u"C"_qs, u"NO"_qs).Expect(u"C"_qs, u"SI"_qs).Expect(u"C"_qs, u"SI"_qs).Expect(u"I"_qs);
  RegistrarLibreriasZEMPDFCreator(framework);
  RegistrarLibreriasZEMPDFCreator(framework);
  EXPECT_EQ(mensajes.Texts().mid(2),
            QStringList({u"Su sistema no tiene instalado Microsoft .NET Framework 4.0 o superior. ¿Desea ir a la "
                         "página Web y descargar la aplicación?"_qs,
                         u"Recuerde volver a repetir este proceso después de la instalación"_qs}));
  EXPECT_EQ(escritorio.abiertos, QStringList{QLatin1String(kDescargaFrameworkNET)});

  QDir().mkpath(framework + u"/v4.0.30319"_qs);
  TextFile::Write(framework + u"/v4.0.30319/regasm.exe"_qs, u"x"_qs);
  const QString actual = QDir::currentPath();
  QDir::setCurrent(carpeta.Path());
  for (const char* libreria : {"ZEMPDFCreator.dll", "TORAKLine.dll", "itextsharp.dll"})
    TextFile::Write(carpeta.File(QLatin1String(libreria)), u"dll"_qs);
  const QString copia = DirectorioTemporal() + u"itextsharp.dll"_qs;
  bool copiadaDuranteLaEspera = false;
  QTimer::singleShot(0, [&] {
    copiadaDuranteLaEspera = QFile::exists(copia);
    reloj.Advance(1000);
  });
  mensajes.Expect(u"C"_qs, u"SI"_qs);
  RegistrarLibreriasZEMPDFCreator(framework);
  QDir::setCurrent(actual);
  ASSERT_EQ(lanzador.Calls().size(), 1);
  EXPECT_EQ(lanzador.Calls()[0].program, framework + u"/v4.0.30319/regasm.exe"_qs);
  EXPECT_EQ(lanzador.Calls()[0].arguments, QStringList{DirectorioTemporal() + u"ZEMPDFCreator.dll"_qs});
  EXPECT_TRUE(copiadaDuranteLaEspera);
  EXPECT_FALSE(QFile::exists(copia));
}
