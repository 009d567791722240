#include "core/system/Espera.h"
#include "core/system/Procesos.h"
#include "platform/Paths.h"
#include "platform/TextFile.h"
#include "tests/core/system/MensajesSimples.h"
#include "tests/fixtures/ManualClock.h"
#include "tests/fixtures/RecordingLauncher.h"
#include "tests/fixtures/TemporaryFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// A program of the folder that writes its parameters, one a line, to the file
// "parametros.txt" of the folder it runs in.
void crearPrograma(const TemporaryFolder& carpeta, const QString& nombre) {
  const QString ruta = carpeta.File(nombre);
  TextFile::Write(ruta, QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$@\" > parametros.txt\n"));
  QFile::setPermissions(ruta, QFile::permissions(ruta) | QFileDevice::ExeOwner);
}

QString leer(const TemporaryFolder& carpeta, const QString& nombre) { return TextFile::Read(carpeta.File(nombre)); }

}  // namespace

TEST(EjecutarPrograma, StartsARealProgramWithoutAMessage) {
  MensajesSimples mensajes;
  EjecutarPrograma(QStringLiteral("/bin/true"), QStringLiteral("Normal"));
  EjecutarPrograma(QStringLiteral("true x"), QString());  // found in the PATH
  EXPECT_TRUE(mensajes.textos.isEmpty()) << mensajes.textos.join(u'\n').toStdString();
}

TEST(EjecutarPrograma, TellsWhyAProgramDidNotStart) {
  TemporaryFolder carpeta;
  TextFile::Write(carpeta.File(QStringLiteral("DATOS.TXT")), QStringLiteral("no es un programa"));
  QDir().mkdir(carpeta.File(QStringLiteral("CARPETA.EXE")));
  struct Caso {
    QString linea;
    QString mensaje;
  };
  const Caso casos[] = {
      {QStringLiteral("NOEXISTE.EXE  L=X U=Y"),
       QStringLiteral("El archivo NOEXISTE.EXE  L=X U=Y no ha sido encontrado.")},
      {QStringLiteral("/noexiste/ZEM/TUVAWIN.EXE L=X"),
       QStringLiteral("El camino(path) del archivo /noexiste/ZEM/TUVAWIN.EXE L=X no ha sido encontrado.")},
      {QStringLiteral("DATOS.TXT"), QStringLiteral("El archivo DATOS.TXT no es válido o no es una aplicación Win32.")},
      {QStringLiteral("CARPETA.EXE"),
       QStringLiteral("El archivo CARPETA.EXE no es válido o no es una aplicación Win32.")},
      {QString(), QStringLiteral("El archivo  no ha sido encontrado.")},
  };
  for (const Caso& caso : casos) {
    MensajesSimples mensajes;
    EjecutarPrograma(caso.linea, QStringLiteral("Normal"));
    EXPECT_EQ(mensajes.textos, QStringList{caso.mensaje});
    MensajesSimples silencio;
    EjecutarPrograma(caso.linea, QStringLiteral("Oculto,SinMensaje"));
    EXPECT_TRUE(silencio.textos.isEmpty()) << caso.linea.toStdString();
  }
}

TEST(EjecutarPrograma, HandsProgramAndParametersToTheLauncher) {
  TemporaryFolder carpeta;
  RecordingLauncher lanzador;
  MensajesSimples mensajes;
  EjecutarPrograma(QStringLiteral("TUVAWIN.EXE  L=/zem/INSTALACION.CFG U=ANA I=ZEMWIN.INI T="),
                   QStringLiteral("Normal"));
  ASSERT_EQ(lanzador.Calls().size(), 1);
  EXPECT_EQ(lanzador.Calls()[0].program, QStringLiteral("TUVAWIN.EXE"));
  EXPECT_EQ(lanzador.Calls()[0].arguments, (QStringList{"L=/zem/INSTALACION.CFG", "U=ANA", "I=ZEMWIN.INI", "T="}));
  EXPECT_EQ(lanzador.Calls()[0].workingFolder, QDir::currentPath());
  EXPECT_FALSE(lanzador.Calls()[0].waited);

  lanzador.starts = false;
  EjecutarPrograma(QStringLiteral("CONTWIN.EXE X"), QString());
  EXPECT_EQ(mensajes.textos, QStringList{"El archivo CONTWIN.EXE X no ha sido encontrado."});
}

TEST(EjecutarYEsperar, FindsTheLinuxBinaryOfAWindowsNameAndWaitsForIt) {
  TemporaryFolder carpeta;
  crearPrograma(carpeta, QStringLiteral("tuvawin"));
  MensajesSimples mensajes;
  EjecutarYEsperar(QString(), QStringLiteral("TUVAWIN.EXE  L=/zem/a b.cfg \"U=ANA MARIA\""));
  EXPECT_EQ(leer(carpeta, QStringLiteral("parametros.txt")), QStringLiteral("L=/zem/a\nb.cfg\nU=ANA MARIA\n"));

  // With the program named apart, the command line's first word stands for it.
  EjecutarYEsperar(carpeta.File(QStringLiteral("TUVAWIN.EXE")), QStringLiteral("TUVAWIN.EXE uno"));
  EXPECT_EQ(leer(carpeta, QStringLiteral("parametros.txt")), QStringLiteral("uno\n"));

  // A program that ends with an error code was created all the same.
  EjecutarYEsperar(QStringLiteral("/bin/sh"), QStringLiteral("sh -c \"exit 3\""));
  EXPECT_TRUE(mensajes.textos.isEmpty()) << mensajes.textos.join(u'\n').toStdString();
}

TEST(EjecutarYEsperar, HandlesWindowMessagesWhileItWaits) {
  bool atendido = false;
  QTimer::singleShot(0, [&atendido] { atendido = true; });
  EjecutarYEsperar(QString(), QStringLiteral("/bin/true"));
  EXPECT_TRUE(atendido);
}

TEST(EjecutarYEsperar, TellsAProcessThatCouldNotBeCreated) {
  TemporaryFolder carpeta;
  TextFile::Write(carpeta.File(QStringLiteral("DATOS.TXT")), QStringLiteral("x"));
  MensajesSimples mensajes;
  EjecutarYEsperar(QStringLiteral("/noexiste/DEXOWIN.EXE"), QString());
  EjecutarYEsperar(QString(), QStringLiteral("DATOS.TXT"));
  EXPECT_EQ(mensajes.textos, (QStringList{"Error de Creación del Proceso: 2", "Error de Creación del Proceso: 13"}));
}

TEST(Esperar, ReturnsWhenTheClockHasMovedTheTimeAndHandlesMessagesMeanwhile) {
  ManualClock reloj;
  bool alFinal = false;
  QTimer::singleShot(0, [&] {
    reloj.Advance(999);
    // Posted while waiting: it runs only if the wait goes on past 999 ms.
    QTimer::singleShot(0, [&] {
      alFinal = true;
      reloj.Advance(1);
    });
  });
  Esperar(1000);
  EXPECT_TRUE(alFinal);
}

TEST(Esperar, ZeroOrLessReturnsAtOnce) {
  ManualClock reloj;
  bool atendido = false;
  QTimer::singleShot(0, [&atendido] { atendido = true; });
  Esperar(0);
  Esperar(-5);
  EXPECT_FALSE(atendido);
  QCoreApplication::processEvents();
  EXPECT_TRUE(atendido);
}

TEST(CrearArchivoBat, WritesTheLinesWithCrLfAndWaitsASecond) {
  TemporaryFolder carpeta;
  ManualClock reloj;
  MensajesSimples mensajes;
  TextFile::Write(carpeta.File(QStringLiteral("X.BAT")), QStringLiteral("antiguo\r\nmas\r\n"));
  const QDateTime inicio = reloj.Now();
  QTimer::singleShot(0, [&reloj] { reloj.Advance(1000); });
  EXPECT_TRUE(CrearArchivoBat(carpeta.File(QStringLiteral("X.BAT")), QStringLiteral("/zem/ZEMLEXT.EXE Ñ\nsegunda")));
  EXPECT_EQ(TextFile::ReadBytes(carpeta.File(QStringLiteral("X.BAT"))),
            QByteArray("/zem/ZEMLEXT.EXE \xD1\r\nsegunda\r\n"));
  EXPECT_EQ(reloj.Now(), inicio.addMSecs(1000));
  EXPECT_TRUE(mensajes.textos.isEmpty());
}

TEST(CrearArchivoBat, AFileThatCannotBeWrittenIsToldAndGivesFalse) {
  TemporaryFolder carpeta;
  ManualClock reloj;
  MensajesSimples mensajes;
  const QString ruta = carpeta.File(QStringLiteral("NOEXISTE/X.BAT"));
  QTimer::singleShot(0, [&reloj] { reloj.Advance(1000); });
  EXPECT_FALSE(CrearArchivoBat(ruta, QStringLiteral("x")));
  ASSERT_EQ(mensajes.textos.size(), 1);
  EXPECT_TRUE(mensajes.textos[0].startsWith(
      QStringLiteral("Error de Creación del Archivo (.bat). Motivo: Cannot create file \"") + ruta))
      << mensajes.textos[0].toStdString();
}

TEST(EsEjecutable, ComparesWithTheRunningProgramsName) {
  // This program runs as "test_core", compared as "TEST_CORE.EXE".
  ASSERT_EQ(Paths::ExecutableName(), QStringLiteral("TEST_CORE.EXE"));
  EXPECT_TRUE(EsEjecutable(QStringLiteral("test_core")));
  EXPECT_TRUE(EsEjecutable(QStringLiteral("TEST_CORE.EXE")));
  EXPECT_TRUE(EsEjecutable(QStringLiteral("CORE")));
  EXPECT_FALSE(EsEjecutable(QStringLiteral("ZEMWIN")));
  EXPECT_FALSE(EsEjecutable(QString()));
}
