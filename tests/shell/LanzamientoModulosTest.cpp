#include "core/startup/Configuracion.h"
#include "shell/LanzamientoModulos.h"
#include "tests/core/system/MensajesSimples.h"
#include "tests/fixtures/RecordingLauncher.h"
#include "tests/fixtures/TemporaryFolder.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

class LanzamientoModulos : public ::testing::Test {
 protected:
  LanzamientoModulos() {
    CarpetaPrograma = carpeta.Path() + u'/';
    ParametroL = u"/inst/zem.ini"_qs;
    ParametroI = u"/inst/mi zemwin.ini"_qs;
    ParametroT = u"ES"_qs;
    CodigoUsuarioActual = u"ANA LUISA"_qs;
  }
  TemporaryFolder carpeta;
};

const QString kParametros = u" L=/inst/zem.ini U=ANA LUISA I=/inst/mi zemwin.ini T=ES"_qs;

}  // namespace

TEST_F(LanzamientoModulos, CommandTextsOfModulesAndSpecialApplications) {
  EXPECT_EQ(LineaComandosModulo(u"TUVAWIN.EXE "_qs), u"TUVAWIN.EXE "_qs + kParametros);
  EXPECT_EQ(EntradasLanzamiento[21].ejecutable, std::string("eZOB.exe "));
  QFile programa(carpeta.Path() + u"/Mi Programa"_qs);
  ASSERT_TRUE(programa.open(QIODevice::WriteOnly));
  const std::pair<QString, QString> especiales[] = {
      {QString(), u"ESPE2WIN.EXE "_qs + kParametros},
      {u"TALLER.EXE"_qs, u"TALLER.EXE "_qs + kParametros},
      {u"/opt/taller /s"_qs, u"/opt/taller /s"_qs},
      {u"Mi Programa"_qs, u"\"Mi Programa\""_qs},
  };
  for (const auto& [texto, linea] : especiales) EXPECT_EQ(LineaComandosAplicacionEspecial(2, texto), linea) << texto.toStdString();
}

TEST_F(LanzamientoModulos, TheCommandStartsItsProgramFromTheProgramFolderWithItsWordsAsArguments) {
  RecordingLauncher lanzador;
  const QString largo(300, u'x');
  ParametroI = largo;
  LanzarModulo(LineaComandosModulo(u"SGA.exe "_qs));
  LanzarModulo(u"\"Mi Programa\""_qs);
  ASSERT_EQ(lanzador.Calls().size(), 2);
  EXPECT_EQ(lanzador.Calls()[0].program, u"SGA.exe"_qs);
  EXPECT_EQ(lanzador.Calls()[0].arguments, QStringList({"L=/inst/zem.ini", "U=ANA", "LUISA", u"I="_qs + largo, "T=ES"}));
  EXPECT_EQ(QDir(lanzador.Calls()[0].workingFolder), QDir(carpeta.Path()));
  EXPECT_EQ(lanzador.Calls()[1].program, u"Mi Programa"_qs);
  EXPECT_TRUE(lanzador.Calls()[1].arguments.isEmpty());
}

// A module that cannot start is told with its whole command line, the
// common parameters included, whatever kept it from starting.
TEST_F(LanzamientoModulos, AModuleThatCannotStartIsToldWithItsCommandLine) {
  QFile texto(carpeta.Path() + u"/novale"_qs);
  ASSERT_TRUE(texto.open(QIODevice::WriteOnly));
  texto.write("no es un programa\n");
  texto.close();
  const QString modulo = LineaComandosModulo(u"TUVAWIN.EXE "_qs);
  const std::pair<QString, QString> casos[] = {
      {modulo, u"El archivo "_qs + modulo + u" no ha sido encontrado."_qs},
      {u"\"Mi Programa\" X=1"_qs, u"El archivo \"Mi Programa\" X=1 no ha sido encontrado."_qs},
      {u"/noexiste/ZEM/JUPEWIN.EXE L=X"_qs,
       u"El camino(path) del archivo /noexiste/ZEM/JUPEWIN.EXE L=X no ha sido encontrado."_qs},
      {u"NOVALE.EXE X=1"_qs, u"El archivo NOVALE.EXE X=1 no es válido o no es una aplicación Win32."_qs},
  };
  for (const auto& [linea, mensaje] : casos) {
    MensajesSimples mensajes;
    LanzarModulo(linea);
    EXPECT_EQ(mensajes.textos, QStringList{mensaje}) << linea.toStdString();
  }
}

TEST_F(LanzamientoModulos, AModuleRunsForRealWithTheCommonParameters) {
  // The script reports its arguments through a pipe, which the test reads to its end.
  const QString tuberia = carpeta.Path() + u"/argumentos"_qs;
  ASSERT_EQ(mkfifo(QFile::encodeName(tuberia).constData(), 0600), 0);
  QFile script(carpeta.Path() + u"/tuvawin"_qs);
  ASSERT_TRUE(script.open(QIODevice::WriteOnly));
  script.write("#!/bin/sh\nprintf '%s\\n' \"$@\" > argumentos\n");
  script.close();
  script.setPermissions(script.permissions() | QFile::ExeOwner);
  LanzarModulo(LineaComandosModulo(u"TUVAWIN.EXE "_qs));
  QFile salida(tuberia);
  ASSERT_TRUE(salida.open(QIODevice::ReadOnly));
  EXPECT_EQ(salida.readAll(), QByteArray("L=/inst/zem.ini\nU=ANA\nLUISA\nI=/inst/mi\nzemwin.ini\nT=ES\n"));
}
