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
  TextFile::Write(u"DATOS.TXT"_qs, u"no es un programa"_qs);
  QDir().mkdir(u"CARPETA.EXE"_qs);
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
    EjecutarPrograma(QString::fromUtf8(linea), u"Normal"_qs);
    EjecutarPrograma(QString::fromUtf8(linea), u"Oculto,SinMensaje"_qs);
    EXPECT_EQ(mensajes.textos.join(u'\n'), QString::fromUtf8(mensaje)) << linea;
  }
}

TEST(EjecutarPrograma, HandsProgramAndParametersToTheLauncher) {
  TemporaryFolder carpeta;
  RecordingLauncher lanzador;
  MensajesSimples mensajes;
  EjecutarPrograma(u"TUVAWIN.EXE  L=/zem/INSTALACION.CFG U=ANA I=ZEMWIN.INI T="_qs, u"Normal"_qs);
  ASSERT_EQ(lanzador.Calls().size(), 1);
  const RecordingLauncher::Call& llamada = lanzador.Calls()[0];
  EXPECT_EQ(llamada.program, u"TUVAWIN.EXE"_qs);
  EXPECT_EQ(llamada.arguments, (QStringList{"L=/zem/INSTALACION.CFG", "U=ANA", "I=ZEMWIN.INI", "T="}));
  EXPECT_EQ(llamada.workingFolder, QDir::currentPath());
  EXPECT_FALSE(llamada.waited);
  lanzador.starts = false;
  EjecutarPrograma(u"CONTWIN.EXE X"_qs, QString());
  EXPECT_EQ(mensajes.textos, QStringList{"El archivo CONTWIN.EXE X no ha sido encontrado."});
}

TEST(EjecutarYEsperar, RunsTheLinuxBinaryOfAWindowsNameHandlingMessagesOrTellsItsFailure) {
  TemporaryFolder carpeta;
  // Writes its parameters, one a line, to "parametros.txt".
  TextFile::Write(u"tuvawin"_qs, u"#!/bin/sh\nprintf '%s\\n' \"$@\" > parametros.txt\n"_qs);
  QFile::setPermissions(u"tuvawin"_qs, QFile::permissions(u"tuvawin"_qs) | QFileDevice::ExeOwner);
  TextFile::Write(u"DATOS.TXT"_qs, u"x"_qs);
  MensajesSimples mensajes;
  bool atendido = false;
  QTimer::singleShot(0, [&atendido] { atendido = true; });
  EjecutarYEsperar(QString(), u"TUVAWIN.EXE  L=/zem/a b.cfg \"U=ANA MARIA\""_qs);
  EXPECT_TRUE(atendido);
  EXPECT_EQ(TextFile::Read(u"parametros.txt"_qs), u"L=/zem/a\nb.cfg\nU=ANA MARIA\n"_qs);
  // With the program named apart, the command line's first word stands for it.
  EjecutarYEsperar(carpeta.File(u"TUVAWIN.EXE"_qs), u"TUVAWIN.EXE uno"_qs);
  EXPECT_EQ(TextFile::Read(u"parametros.txt"_qs), u"uno\n"_qs);
  // A program that ends with an error code was created all the same.
  EjecutarYEsperar(u"/bin/sh"_qs, u"sh -c \"exit 3\""_qs);
  EXPECT_TRUE(mensajes.textos.isEmpty()) << mensajes.textos.join(u'\n').toStdString();
  EjecutarYEsperar(u"/noexiste/DEXOWIN.EXE"_qs, QString());
  EjecutarYEsperar(QString(), u"DATOS.TXT"_qs);
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
  TextFile::Write(u"X.BAT"_qs, u"antiguo\r\nmas\r\n"_qs);
  const QDateTime inicio = reloj.Now();
  QTimer::singleShot(0, [&reloj] { reloj.Advance(1000); });
  EXPECT_TRUE(CrearArchivoBat(carpeta.File(u"X.BAT"_qs), u"/zem/ZEMLEXT.EXE Ñ\nsegunda"_qs));
  EXPECT_EQ(TextFile::ReadBytes(u"X.BAT"_qs), QByteArray("/zem/ZEMLEXT.EXE \xD1\r\nsegunda\r\n"));
  EXPECT_EQ(reloj.Now(), inicio.addMSecs(1000));
  EXPECT_TRUE(mensajes.textos.isEmpty());

  const QString ruta = carpeta.File(u"NOEXISTE/X.BAT"_qs);
  QTimer::singleShot(0, [&reloj] { reloj.Advance(1000); });
  EXPECT_FALSE(CrearArchivoBat(ruta, u"x"_qs));
  ASSERT_EQ(mensajes.textos.size(), 1);
  EXPECT_TRUE(mensajes.textos[0].startsWith(
      u"Error de Creación del Archivo (.bat). Motivo: Cannot create file \""_qs + ruta))
      << mensajes.textos[0].toStdString();
}

TEST(EsEjecutable, ComparesWithTheRunningProgramsName) {
  // This program runs as "test_core", compared as "TEST_CORE.EXE".
  ASSERT_EQ(Paths::ExecutableName(), u"TEST_CORE.EXE"_qs);
  for (const char* nombre : {"test_core", "TEST_CORE.EXE", "CORE"}) EXPECT_TRUE(EsEjecutable(QLatin1String(nombre)));
  for (const char* nombre : {"ZEMWIN", ""}) EXPECT_FALSE(EsEjecutable(QLatin1String(nombre)));
}
