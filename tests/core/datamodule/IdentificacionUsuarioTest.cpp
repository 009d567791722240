#include "core/datamodule/ConfiguracionUsuario.h"
#include "core/datamodule/Genemodu.h"
#include "core/datamodule/IdentificacionUsuario.h"
#include "core/services/Mensajeria.h"
#include "core/system/Equipo.h"
#include "platform/data/Table.h"
#include "tests/core/connections/ConexionesFixture.h"

#include <memory>

namespace {

const QString kGeneral = QStringLiteral("DatabaseGeneral");

// The data module's creation makes USUARIO with its administrator JEFE; ANA
// has a password, LUIS takes his rights from the profile user JEFE.
class Identificacion : public ConexionesFixture {
 protected:
  Identificacion() {
    instalacion.Setting(u"CodigoAdministrador"_qs, u"JEFE"_qs);
    Iniciar();
    Reiniciar();
    for (const char* fila : {"'ANA', 'Ana', 'Normal', 'pw', 'CamposNoVisibles=Precio'",
                             "'LUIS', 'Luis', 'JEFE', NULL, NULL", "'RAUL', 'Raul', 'Normal', NULL, NULL"})
      Ejecutar(u"INSERT INTO USUARIO (Codigo, Nombre, Categoria, ClaveAcceso, Configuracion) VALUES (%1)"_qs.arg(
                   QLatin1String(fila)),
               kGeneral);
    Reiniciar();
  }

  // A new run of the program: a new data module on the same databases.
  void Reiniciar() {
    modulo.reset();
    modulo = std::make_unique<TModuloDatos>();
    ModuloDatos = modulo.get();
  }

  // Logs in from the code prompt with the scripted answers.
  bool Entrar(std::initializer_list<std::pair<const char*, const char*>> respuestas) {
    for (const auto& [tipo, respuesta] : respuestas) mensajes.Expect(QLatin1String(tipo), QString::fromUtf8(respuesta));
    CodigoUsuarioActual.clear();
    return IdentificarUsuario(CodigoUsuarioActual);
  }

  static QString Contador(const char* usuario) {
    return LeerConfigUsuario(QLatin1String(usuario), u"ContadorAccesos"_qs, u"0"_qs);
  }

  std::unique_ptr<TModuloDatos> modulo;
};

}  // namespace

TEST_F(Identificacion, TheModuleGivesAnEmptyUserTableOneAdministratorAndIsReady) {
  EXPECT_TRUE(ModuloDatosListo);
  EXPECT_EQ(EjecutarSQL(u"SELECT Codigo, Nombre, Categoria FROM USUARIO ORDER BY Codigo"_qs, kGeneral),
            u"ANA|Ana|Normal\r\nJEFE|Administrador|Administrador\r\nLUIS|Luis|JEFE\r\nRAUL|Raul|Normal"_qs);
  EXPECT_EQ(FormatoNumericoEstandar + u'|' + PlantillasNumericas[1] + u'|' + PlantillasNumericas[5],
            u"#,###.##|#,###.##|#,###.##"_qs);
  modulo.reset();
  EXPECT_FALSE(ModuloDatosListo);
}

TEST_F(Identificacion, TheLoginRefusesUnknownUsersAndEndsOnAnEmptyCode) {
  ParametroU = u"RAUL"_qs;
  EXPECT_FALSE(Entrar({{"P", "NADIE"}, {"A", ""}}));
  EXPECT_FALSE(Entrar({{"P", ""}}));
  EXPECT_TRUE(Entrar({{"P", "RAUL"}}));  // no password, no question
  EXPECT_EQ(mensajes.Texts(), QStringList({"Introduzca el Código de Usuario:", "¡El usuario no está definido!",
                                           "Introduzca el Código de Usuario:", "Introduzca el Código de Usuario:"}));
  EXPECT_EQ(mensajes.Messages().value(0).defaultAnswer, u"RAUL"_qs);
  EXPECT_EQ(CodigoUsuarioActual, u"RAUL"_qs);
}

TEST_F(Identificacion, WrongPasswordsLockTheUserAcrossRunsAndARightOneResetsTheCount) {
  EXPECT_FALSE(Entrar({{"P", "ANA"}, {"P", "mal"}, {"A", ""}}));
  EXPECT_EQ(mensajes.Messages().value(1).defaultAnswer, u"Password"_qs);
  EXPECT_EQ(mensajes.Texts().value(2), u"¡La Clave de Acceso es incorrecta!"_qs);
  Reiniciar();
  EXPECT_FALSE(Entrar({{"P", "ANA"}, {"P", "PW"}, {"A", ""}}));
  EXPECT_EQ(Contador("ANA"), u"2"_qs);
  Reiniciar();
  EXPECT_TRUE(Entrar({{"P", "ANA"}, {"P", "pw"}}));
  EXPECT_EQ(QStringList({Contador("ANA"), CodigoUsuarioActual, ClaveUsuarioActual, CamposNoVisiblesUsuario}),
            QStringList({"0", "ANA", "pw", "Precio"}));

  for (int vez = 0; vez < 3; ++vez) {
    Reiniciar();
    EXPECT_FALSE(Entrar({{"P", "ANA"}, {"P", ""}, {"A", ""}}));
  }
  // Locked: refused before the password is asked, even the right one.
  Reiniciar();
  const qsizetype antes = mensajes.Messages().size();
  EXPECT_FALSE(Entrar({{"P", "ANA"}, {"A", ""}}));
  EXPECT_EQ(mensajes.Texts().mid(antes),
            QStringList({"Introduzca el Código de Usuario:",
                         "¡Su derecho de acceso ha sido revocado!. Contacte con el administrador del sistema."}));
  EXPECT_EQ(Contador("ANA"), u"3"_qs);
}

TEST_F(Identificacion, WindowsAuthenticationLogsTheLogonNameInWithoutQuestions) {
  AutenticacionWindows = true;
  ParametroU = u"ANA"_qs;  // not used with Windows authentication
  const QString nombre = UsuarioWindows();
  EXPECT_TRUE(IdentificarUsuario(CodigoUsuarioActual));
  EXPECT_EQ(CodigoUsuarioActual, nombre);
  EXPECT_EQ(EjecutarSQL(u"SELECT Nombre, Categoria FROM USUARIO WHERE Codigo = "_qs + u'\'' + nombre + u'\'', kGeneral),
            nombre + u"|Normal"_qs);
  EXPECT_TRUE(mensajes.Messages().isEmpty());

  // A stored password is taken, not asked.
  Ejecutar(u"UPDATE USUARIO SET ClaveAcceso = 'secreta' WHERE Codigo = '"_qs + nombre + u'\'', kGeneral);
  modulo->Usuario->Close();
  modulo->Usuario->Open();
  EXPECT_TRUE(IdentificarUsuario(CodigoUsuarioActual));
  EXPECT_EQ(ClaveUsuarioActual, u"secreta"_qs);
}

TEST_F(Identificacion, RightsOnProgramsAndTheAdministratorCheck) {
  Ejecutar(u"UPDATE USUARIO SET ProgramasNoAccesibles = 'CONTWIN\r\nNOMIWIN', ProgramasSoloLectura = 'ALMAWIN' "
           "WHERE Codigo = 'JEFE'"_qs,
           kGeneral);
  Reiniciar();
  mensajes.Expect(u"I"_qs);
  struct Caso {
    const char* usuario;
    const char* programa;
    const char* derecho;
  };
  const Caso casos[] = {{"LUIS", "&Contwin", "Ninguno"},
                        {"LUIS", "ALMAWIN", "Solo Lectura"},
                        {"LUIS", "VENTWIN", "Total"},
                        {"RAUL", "CONTWIN", "Total"}};
  for (const Caso& caso : casos) {
    QString derecho;
    DerechoAccesoPrograma(QLatin1String(caso.usuario), QLatin1String(caso.programa), derecho);
    EXPECT_EQ(derecho, QLatin1String(caso.derecho)) << caso.usuario << " " << caso.programa;
  }
  EXPECT_EQ(mensajes.Texts(), QStringList{u"Vd. no tiene acceso al programa Contwin"_qs});

  EXPECT_TRUE(ExigirAdministrador(u"JEFE"_qs, QString()));
  EXPECT_TRUE(ExigirAdministrador(u"LUIS"_qs, QString()));
  EXPECT_FALSE(ExigirAdministrador(u"RAUL"_qs, u"Silencio"_qs));
  EXPECT_FALSE(ExigirAdministrador(u"NADIE"_qs, u"Silencio"_qs));
  mensajes.Expect(u"A"_qs);
  EXPECT_FALSE(ExigirAdministrador(u"RAUL"_qs, QString()));
  EXPECT_EQ(mensajes.Texts().last(),
            u"¡Es necesario ser un usuario con categoría de Administrador para realizar este proceso!"_qs);
}

TEST_F(ConexionesFixture, OnParadoxTheModuleMakesTheUserTableInTheGeneralFolder) {
  instalacion.Engine(u"Paradox"_qs);
  Iniciar();
  TModuloDatos modulo;
  ModuloDatos = &modulo;
  EXPECT_TRUE(ModuloDatosListo);
  EXPECT_EQ(EjecutarSQL(u"SELECT Codigo, Categoria FROM USUARIO"_qs, u"DatabaseGeneral"_qs), u"ADMIN|Administrador"_qs);
  mensajes.Expect(u"P"_qs, u"ADMIN"_qs);
  EXPECT_TRUE(IdentificarUsuario(CodigoUsuarioActual));
}
