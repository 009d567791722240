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

TEST(EjecutarPrograma, StartsARealProgramOrTellsWhyItDidNot) {
  TemporaryFolder carpeta;
  TextFile::Write(QStringLiteral("DATOS.TXT"), QStringLiteral("no es un programa"));
  QDir().mkdir(QStringLiteral("CARPETA.EXE"));
  const std::pair<const char*, const char*> casos[] = {
      {"/bin/true", ""},
      {"true x", ""},  // found in the PATH
      {"NOEXISTE.EXE  L=X U=Y", "El archivo NOEXISTE.EXE  L=X U=Y no ha sido encontrado."},
      {"/noexiste/ZEM/TUVAWIN.EXE L=X", "El camino(path) del archivo /noexiste/ZEM/TUVAWIN.EXE L=X no ha sido encontrado."},
      {"DATOS.TXT", "El archivo DATOS.TXT no es válido o no es una aplicación Win32."},
      {"CARPETA.EXE", "El archivo CARPETA.EXE no es válido o no es una aplicación Win32."},
      {"", "El archivo  no ha sido encontrado."},
  };
  for (const auto& [linea, mensaje] : casos) {
    MensajesSimples mensajes;
    EjecutarPrograma(QString::fromUtf8(linea), QStringLiteral("Normal"));
    EjecutarPrograma(QString::fromUtf8(linea), QStringLiteral("Oculto,SinMensaje"));
    EXPECT_EQ(mensajes.textos.join(u'\n'), QString::fromUtf8(mensaje)) << linea;
  }
}

TEST(EjecutarPrograma, HandsProgramAndParametersToTheLauncher) {
  TemporaryFolder carpeta;
  RecordingLauncher lanzador;
  MensajesSimples mensajes;
  EjecutarPrograma(QStringLiteral("TUVAWIN.EXE  L=/zem/INSTALACION.CFG U=ANA I=ZEMWIN.INI T="), QStringLiteral("Normal"));
  ASSERT_EQ(lanzador.Calls().size(), 1);
  const RecordingLauncher::Call& llamada = lanzador.Calls()[0];
  EXPECT_EQ(llamada.program, QStringLiteral("TUVAWIN.EXE"));
  EXPECT_EQ(llamada.arguments, (QStringList{"L=/zem/INSTALACION.CFG", "U=ANA", "I=ZEMWIN.INI", "T="}));
  EXPECT_EQ(llamada.workingFolder, QDir::currentPath());
  EXPECT_FALSE(llamada.waited);
  lanzador.starts = false;
  EjecutarPrograma(QStringLiteral("CONTWIN.EXE X"), QString());
  EXPECT_EQ(mensajes.textos, QStringList{"El archivo CONTWIN.EXE X no ha sido encontrado."});
}

TEST(EjecutarYEsperar, RunsTheLinuxBinaryOfAWindowsNameHandlingMessagesOrTellsItsFailure) {
  TemporaryFolder carpeta;
  // Writes its parameters, one a line, to "parametros.txt".
  TextFile::Write(QStringLiteral("tuvawin"), QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$@\" > parametros.txt\n"));
  QFile::setPermissions(QStringLiteral("tuvawin"), QFile::permissions(QStringLiteral("tuvawin")) | QFileDevice::ExeOwner);
  TextFile::Write(QStringLiteral("DATOS.TXT"), QStringLiteral("x"));
  MensajesSimples mensajes;
  bool atendido = false;
  QTimer::singleShot(0, [&atendido] { atendido = true; });
  EjecutarYEsperar(QString(), QStringLiteral("TUVAWIN.EXE  L=/zem/a b.cfg \"U=ANA MARIA\""));
  EXPECT_TRUE(atendido);
  EXPECT_EQ(TextFile::Read(QStringLiteral("parametros.txt")), QStringLiteral("L=/zem/a\nb.cfg\nU=ANA MARIA\n"));
  // With the program named apart, the command line's first word stands for it.
  EjecutarYEsperar(carpeta.File(QStringLiteral("TUVAWIN.EXE")), QStringLiteral("TUVAWIN.EXE uno"));
  EXPECT_EQ(TextFile::Read(QStringLiteral("parametros.txt")), QStringLiteral("uno\n"));
  // A program that ends with an error code was created all the same.
  EjecutarYEsperar(QStringLiteral("/bin/sh"), QStringLiteral("sh -c \"exit 3\""));
  EXPECT_TRUE(mensajes.textos.isEmpty()) << mensajes.textos.join(u'\n').toStdString();
  EjecutarYEsperar(QStringLiteral("/noexiste/DEXOWIN.EXE"), QString());
  EjecutarYEsperar(QString(), QStringLiteral("DATOS.TXT"));
  EXPECT_EQ(mensajes.textos, (QStringList{"Error de Creación del Proceso: 2", "Error de Creación del Proceso: 13"}));
}

TEST(Esperar, WaitsForTheClockHandlingMessagesAndZeroOrLessReturnsAtOnce) {
  ManualClock reloj;
  bool atendido = false;
  QTimer::singleShot(0, [&atendido] { atendido = true; });
  Esperar(0);
  Esperar(-5);
  EXPECT_FALSE(atendido);
  QCoreApplication::processEvents();
  ASSERT_TRUE(atendido);

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

TEST(CrearArchivoBat, WritesTheLinesWithCrLfOrTellsWhyNotAndWaitsASecond) {
  TemporaryFolder carpeta;
  ManualClock reloj;
  MensajesSimples mensajes;
  TextFile::Write(QStringLiteral("X.BAT"), QStringLiteral("antiguo\r\nmas\r\n"));
  const QDateTime inicio = reloj.Now();
  QTimer::singleShot(0, [&reloj] { reloj.Advance(1000); });
  EXPECT_TRUE(CrearArchivoBat(carpeta.File(QStringLiteral("X.BAT")), QStringLiteral("/zem/ZEMLEXT.EXE Ñ\nsegunda")));
  EXPECT_EQ(TextFile::ReadBytes(QStringLiteral("X.BAT")), QByteArray("/zem/ZEMLEXT.EXE \xD1\r\nsegunda\r\n"));
  EXPECT_EQ(reloj.Now(), inicio.addMSecs(1000));
  EXPECT_TRUE(mensajes.textos.isEmpty());

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
  for (const char* nombre : {"test_core", "TEST_CORE.EXE", "CORE"}) EXPECT_TRUE(EsEjecutable(QLatin1String(nombre)));
  for (const char* nombre : {"ZEMWIN", ""}) EXPECT_FALSE(EsEjecutable(QLatin1String(nombre)));
}
