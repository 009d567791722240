#include "core/connections/Conexiones.h"
#include "core/connections/DiagnosticoInstalacion.h"
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

#include <optional>
#include <vector>

namespace {

const QString kSQLServer = u"Microsoft SQL Server"_qs;
const QString kConfiguracion = u"Configuración"_qs;

// Job "privadas": in the network folder ZEM_FOLDER takes ZEM_SESIONES session numbers and holds the private
// folders PRIVDIR/n listed in ZEM_PRIVADAS, each in a session of its own, until its input ends.
void privadasJob() {
  const QString carpeta = qEnvironmentVariable("ZEM_FOLDER");
  const int sesiones = qEnvironmentVariable("ZEM_SESIONES").toInt();
  const QStringList privadas = qEnvironmentVariable("ZEM_PRIVADAS").split(u',', Qt::SkipEmptyParts);
  std::vector<std::unique_ptr<Session>> abiertas;
  for (int i = 0; i < std::max<int>(sesiones, privadas.size()); ++i) {
    Session& sesion = *abiertas.emplace_back(std::make_unique<Session>());
    sesion.SetNetFileDir(carpeta);
    if (i < sesiones) sesion.SessionNumber();
    if (i < privadas.size()) {
      QDir(carpeta).mkpath(u"PRIVDIR/"_qs + privadas[i]);
      sesion.SetPrivateDir(carpeta + u"/PRIVDIR/"_qs + privadas[i]);
    }
  }
  SecondProcess::Report(u"held"_qs);
  SecondProcess::NextLine();
}

[[maybe_unused]] const bool registrado = SecondProcess::RegisterJob(u"privadas"_qs, privadasJob);

// A diagnosis form as the maintenance tools register it, noting the groups it is run with.
class DiagnosticoPrueba : public Form {
  Q_OBJECT

 public:
  using Form::Form;
  Q_INVOKABLE bool DiagnosticarInstalacion(const QString& grupo) {
    grupos.append(grupo);
    return true;
  }
  static inline QStringList grupos;
};

bool Terminado() { return Application::Instance()->Terminated(); }

}  // namespace

TEST(SesionInicio, EachInstanceTakesTheHighestFreePrivateFolderFromItsSessionNumberDownAfterTheDiagnosis) {
  FormRegistry::Register(QLatin1String(kFormularioDiagnostico), [](QWidget* owner) { return new DiagnosticoPrueba(owner); });
  // BDEPrivateDir, ArchivosTemporalesEnBD, DesactivarDiagnostico, this session's user name, the sessions and
  // private folders another running instance holds, SesionBDE, and the folder taken (-1: none made, 0: the
  // conflict).
  const std::tuple<const char*, const char*, const char*, const char*, int, const char*, int, int> casos[] = {
      {"AUTO", "NO", "NO", "", 2, "3,2", 3, 1}, {"AUTO", "NO", "NO", "", 2, "1,2,3", 3, 0},
      {"auto", "NO", "SI", "", 1, "", 2, 2},
      {"AUTO", "SI", "NO", "", 0, "", 1, -1},  // temporary files in the database
      {"C:\\PRIV", "NO", "NO", "", 0, "", 1, -1}, {"AUTO", "NO", "NO", "otro", 0, "", 0, 0},  // no session of this user
  };
  ScriptedPresenter mensajes;
  for (const auto& [valor, enBD, sinDiagnostico, usuario, sesiones, privadas, sesion, obtenida] : casos) {
    const TemporaryFolder programa;
    InstallationBuilder instalacion(programa.Path());
    instalacion.Ini(kConfiguracion, u"BDEPrivateDir"_qs, QLatin1String(valor))
        .Ini(kConfiguracion, u"ArchivosTemporalesEnBD"_qs, QLatin1String(enBD))
        .Ini(kConfiguracion, u"DesactivarDiagnostico"_qs, QLatin1String(sinDiagnostico))
        .Write();
    const QString temporal = programa.File(u"PRIVDIR/1/TEMP000001_X.DB"_qs);
    QDir(programa.Path()).mkpath(u"PRIVDIR/1"_qs);
    TextFile::Write(temporal, u"x"_qs);
    std::optional<SecondProcess> otra;
    if (sesiones) {
      otra.emplace(u"privadas"_qs, QMap<QString, QString>{{"ZEM_FOLDER", programa.Path()},
                                                          {"ZEM_SESIONES", QString::number(sesiones)},
                                                          {"ZEM_PRIVADAS", QLatin1String(privadas)}});
      ASSERT_EQ(otra->ReadReport(), u"held"_qs);
    }
    Session::ResetDefault();
    Session::Default().SetNetUserName(QLatin1String(usuario));
    Application::Instance()->ResetTerminated();
    if (!obtenida) mensajes.Expect(u"A"_qs);
    TfGENEINIC servicios({});
    EXPECT_EQ(SesionBDE, sesion) << valor << privadas;
    if (obtenida > 0) {
      EXPECT_EQ(Session::Default().PrivateDir(), programa.File(u"PRIVDIR/"_qs + QString::number(obtenida)));
    }
    EXPECT_EQ(QFileInfo::exists(temporal), obtenida != 1) << valor << privadas;
    // The conflict ends the program with its one warning, before any database is opened.
    EXPECT_EQ(Terminado(), !obtenida) << valor << privadas;
    EXPECT_EQ(Conexiones(servicios).Database->Connected(), obtenida != 0) << valor << privadas;
    if (otra) {
      EXPECT_EQ(otra->Finish(), 0);
    }
  }
  EXPECT_EQ(mensajes.Texts(),
            QStringList(2, "Se ha producido un conflicto con otro usuario (o aplicación). Inténtelo de nuevo."));
  EXPECT_EQ(DiagnosticoPrueba::grupos, QStringList(5, "Configuracion"));
}

TEST(SesionInicio, AWrongStoredPasswordIsAskedForUntilTheServerTakesOneOrTheQuestionIsClosed) {
  // The login's password on the server, the messages with their answers ("-" closed), the password the INI
  // file keeps afterwards (null: start-up ended and it keeps the old one).
  const std::tuple<const char*, QStringList, const char*> casos[] = {
      {"buena", {"P mala", "P ", "C NO", "P buena"}, "buena"}, {"", {"P ", "C SI"}, ""},
      {"buena", {"P -", "E "}, nullptr}, {"buena", {"P ", "C -", "E "}, nullptr},
  };
  const QString vieja = EncriptarClave(u"vieja"_qs);
  for (const auto& [servidor, guion, guardada] : casos) {
    const TemporaryFolder programa;
    InstallationBuilder instalacion(programa.Path());
    instalacion.Ini(kSQLServer, u"PasswordInicioSesion"_qs, vieja).Write();
    SqlRouting::Login(instalacion.ServerFolder(), u"ZEM"_qs, QLatin1String(servidor));
    Application::Instance()->ResetTerminated();
    ScriptedPresenter mensajes;
    QStringList esperados;
    for (const QString& paso : guion) {
      const QString tipo = paso.left(1), respuesta = paso.mid(2);
      respuesta == u"-" ? mensajes.ExpectClosed(tipo) : mensajes.Expect(tipo, respuesta);
      esperados << (tipo == u"P" ? "La clave de inicio de sesión de SQL Server no coincide con la registrada. Puede "
                                   "introducirla ahora si lo desea: "
                    : tipo == u"C" ? "¿Está seguro de que desea dejar la contraseña en blanco?"
                                   : "¡Imposible iniciar la aplicación!. Motivo: Unknown user name or password");
    }
    TfGENEINIC servicios({});
    QStringList vistos = mensajes.Texts();
    if (!guardada) vistos.last() = vistos.last().section(u'\n', 0, 0);
    EXPECT_EQ(vistos, esperados);
    EXPECT_EQ(IniFile(programa.File(u"ZEMWIN.INI"_qs)).ReadString(kSQLServer, u"PasswordInicioSesion"_qs, u"-"_qs),
              guardada ? EncriptarClave(QLatin1String(guardada)) : vieja);
    // Both databases and the ADO twin open with the password taken, which stays for the session.
    EXPECT_EQ(Terminado(), !guardada);
    if (!guardada) continue;
    EXPECT_EQ(ClaveInicioSesion, QLatin1String(guardada));
    EXPECT_TRUE(Conexiones(servicios).DatabaseGeneral->Connected() && Conexiones(servicios).ADOConnection->Connected());
  }
}

#include "SesionInicioTest.moc"
