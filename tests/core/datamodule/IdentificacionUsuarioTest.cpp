#include "core/connections/AperturaTablas.h"
#include "core/connections/Conexiones.h"
#include "core/datamodule/AdministradorInicial.h"
#include "core/datamodule/ConfiguracionUsuario.h"
#include "core/datamodule/Genemodu.h"
#include "core/datamodule/IdentificacionUsuario.h"
#include "core/services/Mensajeria.h"
#include "core/sql/MensajesSQL.h"
#include "core/system/Equipo.h"
#include "platform/data/Database.h"
#include "platform/data/Table.h"
#include "core/messages/Genemens.h"
#include "tests/core/connections/ConexionesFixture.h"
#include "tests/fixtures/Keyboard.h"
#include "tests/fixtures/RemotePresenter.h"
#include "tests/fixtures/SecondProcess.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <memory>
#include <vector>

namespace {

const QString kGeneral = QStringLiteral("DatabaseGeneral");
const QString kCodigo = QStringLiteral("Introduzca el Código de Usuario:");
const QString kClave = QStringLiteral("Introduzca la Clave de Acceso:");
const QString kIncorrecta = QStringLiteral("¡La Clave de Acceso es incorrecta!");
const QString kRevocado =
    QStringLiteral("¡Su derecho de acceso ha sido revocado!. Contacte con el administrador del sistema.");
constexpr char kCarpeta[] = "ZEM_PROGRAM_FOLDER";

// Another running copy of the program logging in; the first instance sees its
// messages and types its answers.
void identificarseEnOtraCopia() {
  QDir::setCurrent(qEnvironmentVariable(kCarpeta));
  const RemotePresenter pantalla;
  TfGENEINIC servicios({});
  TModuloDatos modulo;
  ModuloDatos = &modulo;
  SecondProcess::Report(IdentificarUsuario(CodigoUsuarioActual) ? u"dentro"_qs : u"fuera"_qs);
  ModuloDatos = nullptr;
}

// Another running copy giving the empty user table its administrator; it
// waits for the first instance just before it writes.
void darDeAltaAdministradorEnOtraCopia() {
  QDir::setCurrent(qEnvironmentVariable(kCarpeta));
  const ScriptedPresenter sinMensajes;
  TfGENEINIC servicios({});
  Table usuarios;
  usuarios.SetDatabaseName(Conexiones(servicios).DatabaseGeneral->DatabaseName());
  usuarios.SetTableName(u"USUARIO"_qs);
  usuarios.Open();
  usuarios.BeforePost = [](Dataset&) {
    SecondProcess::Report(u"grabando"_qs);
    SecondProcess::NextLine();
  };
  try {
    DarDeAltaAdministrador(usuarios);
    SecondProcess::Report(u"hecho"_qs);
  } catch (const std::exception& error) {
    SecondProcess::Report(TextoExcepcion(error).section(u'\n', 0, 0));
  }
}

[[maybe_unused]] const bool registrado = SecondProcess::RegisterJob(u"identificarse"_qs, identificarseEnOtraCopia) &&
                                         SecondProcess::RegisterJob(u"alta-administrador"_qs,
                                                                    darDeAltaAdministradorEnOtraCopia);

// The data module's creation makes USUARIO with its administrator JEFE; ANA
// has a password, LUIS takes his rights from the profile user JEFE.
class Identificacion : public ConexionesFixture {
 protected:
  Identificacion() {
    instalacion.Setting(u"CodigoAdministrador"_qs, u"JEFE"_qs);
    Iniciar();
    Reiniciar();
    Ejecutar(u"INSERT INTO USUARIO (Codigo, Nombre, Categoria, ClaveAcceso, Configuracion) VALUES ('ANA', 'Ana', "
             "'Normal', 'pw', 'CamposNoVisibles=Precio'), ('LUIS', 'Luis', 'JEFE', NULL, NULL), ('RAUL', 'Raul', "
             "'Normal', NULL, NULL)"_qs,
             kGeneral);
    Reiniciar();
  }

  // A new run of the program: a new data module on the same databases.
  void Reiniciar() {
    modulo.reset();
    modulo = std::make_unique<TModuloDatos>();
    ModuloDatos = modulo.get();
  }

  // Logs in with the scripted answers; the messages it showed.
  QStringList Entrar(std::initializer_list<std::pair<const char*, const char*>> respuestas, bool esperado) {
    for (const auto& [tipo, respuesta] : respuestas) mensajes.Expect(QLatin1String(tipo), QString::fromUtf8(respuesta));
    const qsizetype antes = mensajes.Messages().size();
    EXPECT_EQ(IdentificarUsuario(CodigoUsuarioActual), esperado);
    return mensajes.Texts().mid(antes);
  }

  static QString Contador() { return LeerConfigUsuario(u"ANA"_qs, u"ContadorAccesos"_qs, u"0"_qs); }

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
  EXPECT_EQ(Entrar({{"P", "NADIE"}, {"A", ""}}, false), QStringList({kCodigo, "¡El usuario no está definido!"}));
  EXPECT_EQ(mensajes.Messages().value(0).defaultAnswer, u"RAUL"_qs);
  EXPECT_EQ(Entrar({{"P", ""}}, false), QStringList{kCodigo});
  EXPECT_EQ(Entrar({{"P", "RAUL"}}, true), QStringList{kCodigo});  // no password, no question
  EXPECT_EQ(CodigoUsuarioActual, u"RAUL"_qs);
}

TEST_F(Identificacion, WrongPasswordsLockTheUserAcrossRunsAndARightOneResetsTheCount) {
  const QStringList incorrecta = {kCodigo, "Introduzca la Clave de Acceso:", "¡La Clave de Acceso es incorrecta!"};
  EXPECT_EQ(Entrar({{"P", "ANA"}, {"P", "mal"}, {"A", ""}}, false), incorrecta);
  EXPECT_EQ(mensajes.Messages().value(1).defaultAnswer, u"Password"_qs);
  Reiniciar();
  EXPECT_EQ(Entrar({{"P", "ANA"}, {"P", "PW"}, {"A", ""}}, false), incorrecta);
  EXPECT_EQ(Contador(), u"2"_qs);
  Reiniciar();
  Entrar({{"P", "ANA"}, {"P", "pw"}}, true);
  EXPECT_EQ(QStringList({Contador(), CodigoUsuarioActual, ClaveUsuarioActual, CamposNoVisiblesUsuario}),
            QStringList({"0", "ANA", "pw", "Precio"}));

  for (int vez = 0; vez < 3; ++vez) {
    Reiniciar();
    Entrar({{"P", "ANA"}, {"P", ""}, {"A", ""}}, false);
  }
  // Locked: refused before the password is asked, even the right one.
  Reiniciar();
  EXPECT_EQ(Entrar({{"P", "ANA"}, {"A", ""}}, false),
            QStringList({kCodigo, "¡Su derecho de acceso ha sido revocado!. Contacte con el administrador del sistema."}));
  EXPECT_EQ(Contador(), u"3"_qs);
}

// The user types the code and the password into the program's own box, as a
// keyboard sends them.
TEST_F(Identificacion, APasswordHoldingAnyCharacterIsTypedIntoTheBoxAndLetsTheUserIn) {
  Ejecutar(u"UPDATE USUARIO SET ClaveAcceso = 'clave_1' WHERE Codigo = 'ANA'"_qs, kGeneral);
  Reiniciar();
  TfGENEMENS caja;
  const MessagePresenterSeam::Scoped enPantalla(caja);
  QStringList tecleadas{u"ANA"_qs, u"clave_1"_qs};
  QStringList preguntas;
  QTimer teclado;
  teclado.callOnTimeout([&] {
    if (!caja.isVisible()) return;
    preguntas << caja.findChild<QLabel*>(u"TextoMensaje"_qs)->text();
    if (tecleadas.isEmpty()) {
      caja.close();  // a message beyond the two questions
      return;
    }
    auto* respuesta = caja.findChild<QLineEdit*>(u"EditRespuesta"_qs);
    TypeAsKeyboard(respuesta, tecleadas.takeFirst());
    QTest::keyClick(respuesta, Qt::Key_Return);
  });
  teclado.start(0);
  EXPECT_TRUE(IdentificarUsuario(CodigoUsuarioActual));
  EXPECT_EQ(preguntas, QStringList({kCodigo, kClave}));
  EXPECT_EQ(CodigoUsuarioActual + u'|' + ClaveUsuarioActual + u'|' + Contador(), u"ANA|clave_1|0"_qs);
}

// A count that is no number counts as none; the other lines stay.
TEST_F(Identificacion, TheCountIsRaisedFromWhatTheRowHolds) {
  const struct {
    const char* configuracion;  // NULL for none
    const char* clave;
    const char* guardada;
  } casos[] = {
      {nullptr, "mal", "ContadorAccesos=1\r\n"},
      {"ContadorAccesos=", "mal", "ContadorAccesos=1\r\n"},
      {"ContadorAccesos=abc\r\nCamposNoVisibles=Precio", "mal", "ContadorAccesos=1\r\nCamposNoVisibles=Precio\r\n"},
      {"CamposNoVisibles=Precio\r\nContadorAccesos=2", "pw", "CamposNoVisibles=Precio\r\nContadorAccesos=0\r\n"},
  };
  for (const auto& caso : casos) {
    const QString valor = caso.configuracion ? u"'"_qs + QString::fromUtf8(caso.configuracion) + u"'"_qs : u"NULL"_qs;
    Ejecutar(u"UPDATE USUARIO SET Configuracion = "_qs + valor + u" WHERE Codigo = 'ANA'"_qs, kGeneral);
    Reiniciar();
    const bool correcta = QLatin1String(caso.clave) == u"pw";
    if (correcta)
      Entrar({{"P", "ANA"}, {"P", caso.clave}}, true);
    else
      Entrar({{"P", "ANA"}, {"P", caso.clave}, {"A", ""}}, false);
    EXPECT_EQ(EjecutarSQL(u"SELECT Configuracion FROM USUARIO WHERE Codigo = 'ANA'"_qs, kGeneral),
              QString::fromUtf8(caso.guardada))
        << (caso.configuracion ? caso.configuracion : "NULL");
  }
}

// Every copy has read the count and asks for the password before any answer
// comes: still, no more than three guesses are weighed.
TEST_F(Identificacion, PasswordsTypedAtOnceInSeveralCopiesAllCount) {
  constexpr int kCopias = 5;
  std::vector<std::unique_ptr<SecondProcess>> copias;
  for (int i = 0; i < kCopias; ++i)
    copias.push_back(std::make_unique<SecondProcess>(u"identificarse"_qs, QMap<QString, QString>{{kCarpeta, carpeta.Path()}}));
  for (auto& copia : copias) {
    ASSERT_EQ(copia->ReadReport(), u"P "_qs + kCodigo);
    copia->Send(u"ANA"_qs);
  }
  for (auto& copia : copias) ASSERT_EQ(copia->ReadReport(), u"P "_qs + kClave);
  for (auto& copia : copias) copia->Send(u"mal"_qs);
  QStringList avisos;
  for (auto& copia : copias) {
    avisos.append(copia->ReadReport());
    EXPECT_EQ(copia->ReadReport(), u"fuera"_qs);
    EXPECT_EQ(copia->Finish(), 0);
  }
  EXPECT_EQ(avisos.count(u"A "_qs + kIncorrecta), 3) << avisos.join(u'\n').toStdString();
  EXPECT_EQ(avisos.count(u"A "_qs + kRevocado), kCopias - 3) << avisos.join(u'\n').toStdString();
  Reiniciar();
  EXPECT_EQ(Contador(), u"3"_qs);
  EXPECT_EQ(Entrar({{"P", "ANA"}, {"A", ""}}, false), QStringList({kCodigo, kRevocado}));
}

TEST_F(Identificacion, WindowsAuthenticationLogsTheLogonNameInWithoutQuestions) {
  AutenticacionWindows = true;
  ParametroU = u"ANA"_qs;  // not used with Windows authentication
  const QString nombre = UsuarioWindows();
  EXPECT_TRUE(Entrar({}, true).isEmpty());
  EXPECT_EQ(CodigoUsuarioActual, nombre);
  const QString donde = u" WHERE Codigo = '"_qs + nombre + u'\'';
  EXPECT_EQ(EjecutarSQL(u"SELECT Nombre, Categoria FROM USUARIO"_qs + donde, kGeneral), nombre + u"|Normal"_qs);

  // A stored password is taken, not asked.
  Ejecutar(u"UPDATE USUARIO SET ClaveAcceso = 'secreta'"_qs + donde, kGeneral);
  modulo->Usuario->Refresh();
  EXPECT_TRUE(Entrar({}, true).isEmpty());
  EXPECT_EQ(ClaveUsuarioActual, u"secreta"_qs);
}

TEST_F(Identificacion, RightsOnProgramsAndTheAdministratorCheck) {
  Ejecutar(u"UPDATE USUARIO SET ProgramasNoAccesibles = 'CONTWIN\r\nNOMIWIN', ProgramasSoloLectura = 'ALMAWIN' "
           "WHERE Codigo = 'JEFE'"_qs,
           kGeneral);
  modulo->Usuario->Refresh();
  mensajes.Expect(u"I"_qs);
  const char* const casos[][3] = {{"LUIS", "&Contwin", "Ninguno"},
                                  {"LUIS", "ALMAWIN", "Solo Lectura"},
                                  {"LUIS", "VENTWIN", "Total"},
                                  {"RAUL", "CONTWIN", "Total"}};
  for (const auto& caso : casos) {
    QString derecho;
    DerechoAccesoPrograma(QLatin1String(caso[0]), QLatin1String(caso[1]), derecho);
    EXPECT_EQ(derecho, QLatin1String(caso[2])) << caso[0] << " " << caso[1];
  }
  EXPECT_EQ(mensajes.Texts(), QStringList{u"Vd. no tiene acceso al programa Contwin"_qs});

  EXPECT_TRUE(ExigirAdministrador(u"JEFE"_qs, QString()) && ExigirAdministrador(u"LUIS"_qs, QString()));
  EXPECT_FALSE(ExigirAdministrador(u"RAUL"_qs, u"Silencio"_qs) || ExigirAdministrador(u"NADIE"_qs, u"Silencio"_qs));
  mensajes.Expect(u"A"_qs);
  EXPECT_FALSE(ExigirAdministrador(u"RAUL"_qs, QString()));
  EXPECT_EQ(mensajes.Texts().last(),
            u"¡Es necesario ser un usuario con categoría de Administrador para realizar este proceso!"_qs);
}

TEST_F(ConexionesFixture, OnParadoxTheModuleMakesTheUserTableInTheGeneralFolder) {
  instalacion.Engine(u"Paradox"_qs);
  Iniciar();
  TModuloDatos modulo;
  EXPECT_TRUE(ModuloDatosListo);
  EXPECT_EQ(EjecutarSQL(u"SELECT Codigo, Categoria FROM USUARIO"_qs, u"DatabaseGeneral"_qs), u"ADMIN|Administrador"_qs);
}

// Both copies find the table empty; the one that writes second finds the
// other's administrator and goes on.
TEST_F(ConexionesFixture, TwoCopiesStartingOnAnEmptyUserTableGiveItOneAdministrator) {
  instalacion.Setting(u"CodigoAdministrador"_qs, u"JEFE"_qs);
  Iniciar();
  Table usuarios;
  usuarios.SetTableName(u"USUARIO"_qs);
  ASSERT_TRUE(AbrirTabla(Servicios(), Servicios(), usuarios));
  ASSERT_TRUE(usuarios.IsEmpty());
  const QMap<QString, QString> entorno{{kCarpeta, carpeta.Path()}};
  SecondProcess primera(u"alta-administrador"_qs, entorno);
  SecondProcess segunda(u"alta-administrador"_qs, entorno);
  ASSERT_EQ(primera.ReadReport(), u"grabando"_qs);
  ASSERT_EQ(segunda.ReadReport(), u"grabando"_qs);
  primera.Send(u"sigue"_qs);
  EXPECT_EQ(primera.ReadReport(), u"hecho"_qs);
  segunda.Send(u"sigue"_qs);
  EXPECT_EQ(segunda.ReadReport(), u"hecho"_qs);
  EXPECT_EQ(primera.Finish(), 0);
  EXPECT_EQ(segunda.Finish(), 0);
  EXPECT_EQ(EjecutarSQL(u"SELECT Codigo, Categoria FROM USUARIO"_qs, u"DatabaseGeneral"_qs), u"JEFE|Administrador"_qs);
}
