#include "core/connections/Conexiones.h"
#include "core/connections/DiagnosticoInstalacion.h"
#include "core/connections/SesionInicio.h"
#include "core/startup/Clave.h"
#include "platform/Form.h"
#include "platform/FormRegistry.h"
#include "platform/IniFile.h"
#include "platform/TextFile.h"
#include "platform/data/AdoConnection.h"
#include "platform/data/Database.h"
#include "platform/data/Session.h"
#include "platform/data/SqlRouting.h"
#include "tests/core/connections/ConexionesFixture.h"
#include "tests/fixtures/SecondProcess.h"

#include <QDir>
#include <QFileInfo>

#include <memory>
#include <vector>

namespace {

const QString kSQLServer = QStringLiteral("Microsoft SQL Server");
const QString kPregunta =
    QStringLiteral("La clave de inicio de sesión de SQL Server no coincide con la registrada. Puede introducirla "
                   "ahora si lo desea: ");
const QString kEnBlanco = QStringLiteral("¿Está seguro de que desea dejar la contraseña en blanco?");
const QString kConflicto =
    QStringLiteral("Se ha producido un conflicto con otro usuario (o aplicación). Inténtelo de nuevo.");

// Job "privadas": in the network folder ZEM_FOLDER, takes ZEM_SESIONES
// session numbers and holds the private folders PRIVDIR/n of the program
// folder ZEM_FOLDER for the numbers listed in ZEM_PRIVADAS, each in a session
// of its own, until its input ends.
void privadasJob() {
  const QString carpeta = qEnvironmentVariable("ZEM_FOLDER");
  const int sesiones = qEnvironmentVariable("ZEM_SESIONES").toInt();
  const QStringList privadas = qEnvironmentVariable("ZEM_PRIVADAS").split(u',', Qt::SkipEmptyParts);
  std::vector<std::unique_ptr<Session>> abiertas;
  for (int i = 0; i < std::max<int>(sesiones, privadas.size()); ++i) {
    auto& sesion = *abiertas.emplace_back(std::make_unique<Session>());
    sesion.SetNetFileDir(carpeta);
    if (i < sesiones) sesion.SessionNumber();
    if (i < privadas.size()) {
      const QString privada = carpeta + QStringLiteral("/PRIVDIR/") + privadas[i];
      QDir().mkpath(privada);
      sesion.SetPrivateDir(privada);
    }
  }
  SecondProcess::Report(QStringLiteral("held"));
  SecondProcess::NextLine();
}

[[maybe_unused]] const bool registrado = SecondProcess::RegisterJob(QStringLiteral("privadas"), privadasJob);

// A diagnosis form as the maintenance tools register it, noting the groups it is run with.
class DiagnosticoPrueba : public Form {
  Q_OBJECT

 public:
  using Form::Form;
  Q_INVOKABLE int DiagnosticarInstalacion(const QString& grupo) {
    grupos.append(grupo);
    return 3;
  }
  static inline QStringList grupos;
};

class SesionInicio : public ConexionesFixture {
 protected:
  bool Abiertas() {
    return Conexiones(Servicios()).Database->Connected() && Conexiones(Servicios()).DatabaseGeneral->Connected();
  }
  static bool Terminado() { return Application::Instance()->Terminated(); }
};

}  // namespace

TEST_F(SesionInicio, EachInstanceTakesTheHighestFreePrivateFolderFromItsSessionNumberDown) {
  // Sessions and private folders another running instance holds; the folder this one gets (0: the conflict).
  const std::tuple<int, const char*, int> casos[] = {{2, "3,2", 1}, {2, "1,2,3", 0}, {1, "", 2}};
  for (const auto& [sesiones, privadas, obtenida] : casos) {
    const TemporaryFolder programa;
    InstallationBuilder otra(programa.Path());
    otra.Ini(QStringLiteral("Configuración"), QStringLiteral("BDEPrivateDir"), QStringLiteral("AUTO"));
    otra.Ini(QStringLiteral("Configuración"), QStringLiteral("ArchivosTemporalesEnBD"), QStringLiteral("NO"));
    otra.Write();
    QDir(programa.Path()).mkpath(QStringLiteral("PRIVDIR/1"));
    TextFile::Write(programa.File(QStringLiteral("PRIVDIR/1/TEMP000001_X.DB")), QStringLiteral("x"));
    SecondProcess instancia(QStringLiteral("privadas"), {{QStringLiteral("ZEM_FOLDER"), programa.Path()},
                                                         {QStringLiteral("ZEM_SESIONES"), QString::number(sesiones)},
                                                         {QStringLiteral("ZEM_PRIVADAS"), QLatin1String(privadas)}});
    ASSERT_EQ(instancia.ReadReport(), QStringLiteral("held"));
    Application::Instance()->ResetTerminated();
    if (!obtenida) mensajes.Expect(QStringLiteral("A"));
    TfGENEINIC servicios({});
    EXPECT_EQ(SesionBDE, sesiones + 1) << privadas;
    const QString privada = programa.Path() + QStringLiteral("/PRIVDIR/") + QString::number(obtenida);
    EXPECT_EQ(Session::Default().PrivateDir(), obtenida ? privada : QString()) << privadas;
    EXPECT_EQ(QFileInfo::exists(programa.File(QStringLiteral("PRIVDIR/1/TEMP000001_X.DB"))), obtenida != 1);
    // The conflict ends the program with its one warning, before any database is opened.
    EXPECT_EQ(Terminado(), !obtenida) << privadas;
    EXPECT_EQ(Conexiones(servicios).Database->Connected(), obtenida != 0) << privadas;
    EXPECT_EQ(instancia.Finish(), 0);
    Session::ResetDefault();
  }
  EXPECT_EQ(mensajes.Texts(), QStringList{kConflicto});
}

TEST_F(SesionInicio, ThePrivateFolderIsAutomaticOnlyWhenAskedForAndTemporaryFilesAreNotInTheDatabase) {
  // BDEPrivateDir, ArchivosTemporalesEnBD, this session's user name, the private folder (-: none, !: the conflict).
  const std::tuple<const char*, const char*, const char*, const char*> casos[] = {
      {"auto", "NO", "", "PRIVDIR/1"},
      {"AUTO", "", "", "-"},  // temporary files in the database by default
      {"C:\\PRIV", "NO", "", "-"},
      {"AUTO", "NO", "otro", "!"},  // no session of this user: number 0
  };
  for (const auto& [valor, enBD, usuario, esperada] : casos) {
    const TemporaryFolder programa;
    InstallationBuilder otra(programa.Path());
    otra.Ini(QStringLiteral("Configuración"), QStringLiteral("BDEPrivateDir"), QLatin1String(valor));
    if (*enBD) otra.Ini(QStringLiteral("Configuración"), QStringLiteral("ArchivosTemporalesEnBD"), QLatin1String(enBD));
    otra.Write();
    Session::ResetDefault();
    Application::Instance()->ResetTerminated();
    Session::Default().SetNetUserName(QLatin1String(usuario));
    const bool conflicto = *esperada == '!';
    if (conflicto) mensajes.Expect(QStringLiteral("A"));
    const TfGENEINIC servicios({});
    EXPECT_EQ(SesionBDE, conflicto ? 0 : 1) << valor;
    const QString privada = *esperada == '-' || conflicto ? QString() : programa.File(QLatin1String(esperada));
    if (!conflicto) {
      EXPECT_EQ(Session::Default().PrivateDir(), privada) << valor;
    }
    EXPECT_EQ(QFileInfo::exists(programa.File(QStringLiteral("PRIVDIR"))), *esperada != '-') << valor;
    EXPECT_EQ(Terminado(), conflicto) << valor;
  }
  EXPECT_EQ(mensajes.Texts(), QStringList{kConflicto});
}

TEST_F(SesionInicio, TheInstallationDiagnosisRunsWithItsGroupUnlessSwitchedOff) {
  FormRegistry::Register(QLatin1String(kFormularioDiagnostico), [](QWidget* owner) { return new DiagnosticoPrueba(owner); });
  DiagnosticoPrueba::grupos.clear();
  Iniciar();
  EXPECT_EQ(DiagnosticoPrueba::grupos, QStringList{QStringLiteral("Configuracion")});
  EXPECT_EQ(DiagnosticoInstalacion(Servicios(), QStringLiteral("Motor")), 3);
  const auto formularios = Servicios().findChildren<DiagnosticoPrueba*>();
  ASSERT_EQ(formularios.size(), 2);
  EXPECT_FALSE(formularios[0]->isVisible() || formularios[1]->isVisible());

  instalacion.Ini(QStringLiteral("Configuración"), QStringLiteral("DesactivarDiagnostico"), QStringLiteral("SI"));
  Iniciar();
  EXPECT_EQ(DiagnosticoPrueba::grupos, QStringList({QStringLiteral("Configuracion"), QStringLiteral("Motor")}));
  EXPECT_TRUE(Abiertas());
}

TEST_F(SesionInicio, AWrongStoredPasswordIsAskedForUntilTheServerTakesOne) {
  // The login's password on the server, the answers given (C: the blank one confirmed or not), what the INI
  // file keeps afterwards (-: as it was).
  struct Caso {
    const char* servidor;
    QList<QPair<QString, QString>> respuestas;
    const char* guardada;
  };
  const QString p = QStringLiteral("P"), c = QStringLiteral("C");
  const Caso casos[] = {
      {"buena", {{p, "mala"}, {p, ""}, {c, "NO"}, {p, "buena"}}, "buena"},
      {"", {{p, ""}, {c, "SI"}}, ""},
  };
  for (const Caso& caso : casos) {
    const TemporaryFolder programa;
    InstallationBuilder otra(programa.Path());
    otra.Ini(kSQLServer, QStringLiteral("PasswordInicioSesion"), EncriptarClave(QStringLiteral("vieja")));
    otra.Write();
    SqlRouting::Reset();
    SqlRouting::Login(otra.ServerFolder(), QStringLiteral("ZEM"), QLatin1String(caso.servidor));
    ScriptedPresenter guion;
    for (const auto& [tipo, respuesta] : caso.respuestas) guion.Expect(tipo, respuesta);
    TfGENEINIC servicios({});
    QStringList esperados;
    for (const auto& [tipo, respuesta] : caso.respuestas) esperados << (tipo == p ? kPregunta : kEnBlanco);
    EXPECT_EQ(guion.Texts(), esperados);
    EXPECT_EQ(ClaveInicioSesion, QLatin1String(caso.guardada));
    const IniFile ini(otra.ProgramFolder() + QStringLiteral("/ZEMWIN.INI"));
    EXPECT_EQ(ini.ReadString(kSQLServer, QStringLiteral("PasswordInicioSesion"), QStringLiteral("-")),
              EncriptarClave(QLatin1String(caso.guardada)));
    // Both databases and the ADO twin are open with the password taken.
    const TConexiones& conexiones = Conexiones(servicios);
    EXPECT_TRUE(conexiones.Database->Connected() && conexiones.DatabaseGeneral->Connected() &&
                conexiones.ADOConnection->Connected());
    EXPECT_FALSE(Terminado());
  }
}

TEST_F(SesionInicio, ClosingThePasswordQuestionOrItsConfirmationEndsTheStartUp) {
  const QString vieja = EncriptarClave(QStringLiteral("vieja"));
  for (const bool cerrarConfirmacion : {false, true}) {
    const TemporaryFolder programa;
    InstallationBuilder otra(programa.Path());
    otra.Ini(kSQLServer, QStringLiteral("PasswordInicioSesion"), vieja);
    otra.Write();
    SqlRouting::Reset();
    SqlRouting::Login(otra.ServerFolder(), QStringLiteral("ZEM"), QStringLiteral("buena"));
    Application::Instance()->ResetTerminated();
    ScriptedPresenter guion;
    if (cerrarConfirmacion)
      guion.Expect(QStringLiteral("P")).ExpectClosed(QStringLiteral("C"));
    else
      guion.ExpectClosed(QStringLiteral("P"));
    guion.Expect(QStringLiteral("E"));
    const TfGENEINIC servicios({});
    const QString error = guion.Texts().last();
    EXPECT_TRUE(error.startsWith(QStringLiteral("¡Imposible iniciar la aplicación!. Motivo: Unknown user name or "
                                                "password")))
        << error.toStdString();
    EXPECT_TRUE(Terminado());
    EXPECT_EQ(IniFile(otra.ProgramFolder() + QStringLiteral("/ZEMWIN.INI"))
                  .ReadString(kSQLServer, QStringLiteral("PasswordInicioSesion"), QString()),
              vieja);
  }
}

#include "SesionInicioTest.moc"
