#include "core/connections/BaseDatosEmpresa.h"
#include "core/connections/ConexionEmpresa.h"
#include "core/connections/CopiasSQLServer.h"
#include "core/datamodule/CicloModuloDatos.h"
#include "core/forms/GanchosFormulario.h"
#include "core/progress/Geneprog.h"
#include "core/services/RutinasBusqueda.h"
#include "core/services/SeleccionArchivoCarpeta.h"
#include "dialogs/Genedeta.h"
#include "platform/Exceptions.h"
#include "platform/Form.h"
#include "platform/FormRegistry.h"
#include "platform/IniFile.h"
#include "shell/ConflictosBloqueo.h"
#include "shell/Genemenu.h"
#include "tests/core/connections/ConexionesFixture.h"
#include "tests/core/connections/OtraCopiaAbierta.h"
#include "tests/dialogs/CapturaFormulario.h"
#include "tests/fixtures/ManualClock.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QTimer>

namespace {

using Manejador = void (TfGENEMENU::*)();

// What the forms opened by class name went through, in order: "+" created,
// "*" shown, "-" freed, each followed by the class name.
QStringList historia;
QString claseQueFalla;  // its creation raises

class FormularioRegistrado : public Form {
 public:
  FormularioRegistrado(QWidget* owner, QString clase) : Form(owner), clase_(std::move(clase)) {
    if (clase_ == claseQueFalla) throw Exception(u"fallo del asistente"_qs);
    historia.append(u'+' + clase_);
  }
  ~FormularioRegistrado() override { historia.append(u'-' + clase_); }

 protected:
  void showEvent(QShowEvent* event) override {
    Form::showEvent(event);
    historia.append(u'*' + clase_);
    if (clase_ == u"TfGENEACTS"_qs) ResultadoActualizacion = u"Tablas: 2"_qs;
    QTimer::singleShot(0, this, [this] { SetModalResult(mrOk); });
  }

 private:
  QString clase_;
};

// The file and folder chooser, which picks the path given to it.
class ArbolPrueba : public QWidget {
  Q_OBJECT
  Q_PROPERTY(QString Root MEMBER root)
  Q_PROPERTY(QStringList ObjectTypes MEMBER tipos)
  Q_PROPERTY(QString Path MEMBER path)

 public:
  QString root;
  QStringList tipos;
  QString path;
};

struct Eleccion {
  QString elegido;
  QStringList vistos;  // title | root | kinds
};
Eleccion eleccion;

class SelectorPrueba : public Form {
 public:
  explicit SelectorPrueba(QWidget* owner) : Form(owner) {
    (new QLabel(this))->setObjectName(u"Titulo"_qs);
    (new ArbolPrueba)->setParent(this);
    findChild<ArbolPrueba*>()->setObjectName(u"ShellTreeView"_qs);
  }

 protected:
  void showEvent(QShowEvent* event) override {
    Form::showEvent(event);
    auto* arbol = findChild<ArbolPrueba*>();
    eleccion.vistos.append(findChild<QLabel*>()->text() + u'|' + arbol->root + u'|' + arbol->tipos.join(u','));
    arbol->path = eleccion.elegido;
    QTimer::singleShot(0, this, [this] { SetModalResult(mrOk); });
  }
};

[[maybe_unused]] const bool registrado = SecondProcess::RegisterJob(u"copia-abierta"_qs, OtraCopiaAbierta);

// Another copy of the program working on company 3 until its input ends.
void trabajarEnEmpresa3() {
  QDir::setCurrent(qEnvironmentVariable(kCarpetaOtraCopia));
  const ScriptedPresenter sinMensajes;
  TfGENEINIC servicios({});
  ConectarEmpresa(servicios, 3);
  SecondProcess::Report(u"en la empresa 3"_qs);
  SecondProcess::NextLine();
}
[[maybe_unused]] const bool registradoEmpresa3 = SecondProcess::RegisterJob(u"empresa-3"_qs, trabajarEnEmpresa3);

const QString kOtrasSesiones =
    u"¡Hay otros usuarios utilizando la aplicación, o bien, tiene Vd. otras aplicaciones abiertas. Debe finalizar "
    "todas las aplicaciones para utilizar esta opción."_qs;

class MenuUtilidades : public ConexionesFixture, public ModuloConUsuarios {
 protected:
  MenuUtilidades() {
    historia.clear();
    claseQueFalla.clear();
    eleccion = {};
    for (const char* clase : {"TfGENEIMPR", "TfGENEACTS", "TfGENEACTU", "TfGENECCHR", "TfGENEBSQL", "TfGENEINAP",
                              "TfGENECINA", "TfGENETEST"}) {
      const QString nombre = QLatin1String(clase);
      FormRegistry::Register(nombre, [nombre](QWidget* owner) { return new FormularioRegistrado(owner, nombre); });
    }
    FormRegistry::Register(QLatin1String(kFormularioSeleccionArchivoCarpeta),
                           [](QWidget* owner) { return new SelectorPrueba(owner); });
    Iniciar();
    CrearUsuarios(u"Codigo, Categoria"_qs, u"('ADMIN', 'Administrador'), ('ANA', 'Normal')"_qs);
  }
  ~MenuUtilidades() override {
    LiberarModuloDatos();
    FormRegistry::Clear();
    InstalarRutinasBusqueda({});
    InstalarObservadorTraza({});
  }

  TfGENEMENU ventana;
};

}  // namespace

// Every command that opens a form of another folder: the administrator's
// check, the question asked first, and the form created, shown (the printed
// forms only for a current company) and freed.
TEST_F(MenuUtilidades, EachCommandChecksItsUserAndOpensItsFormModally) {
  struct Caso {
    Manejador manejador;
    const char* clase;
    bool administrador;
    const char* pregunta;
    bool conEmpresa;
  } casos[] = {
      {&TfGENEMENU::ConfiguracindeImpresos1Click, "TfGENEIMPR", true, nullptr, true},
      {&TfGENEMENU::ActualizacionBaseDatosClick, "TfGENEACTS", true,
       "¿Está seguro de que desea Actualizar la Base de Datos?", false},
      {&TfGENEMENU::TraspasoDatosParadoxInterbaseClick, "TfGENEACTU", true,
       "¿Está seguro de querer Traspasar Datos desde Paradox/Interbase?", false},
      {&TfGENEMENU::ConversorJuegosCaracteresClick, "TfGENECCHR", true,
       "¿ Está seguro de querer seguir con la Conversión de Caracteres ?", false},
      {&TfGENEMENU::GestionCopiasSeguridadSQLServerClick, "TfGENEBSQL", true, nullptr, false},
      {&TfGENEMENU::IntroduccindeIncidenciasdelaAplicacin1Click, "TfGENEINAP", false, nullptr, false},
      {&TfGENEMENU::ConsultadeIncidenciasdelaAplicacin1Click, "TfGENECINA", false, nullptr, false},
      {&TfGENEMENU::TestdeRendimiento1Click, "TfGENETEST", false, nullptr, false},
  };
  for (const Caso& caso : casos) {
    const QString clase = QLatin1String(caso.clase);
    SCOPED_TRACE(caso.clase);
    CodigoUsuarioActual = u"ANA"_qs;
    historia.clear();
    if (caso.administrador) mensajes.Expect(u"A"_qs);
    (ventana.*caso.manejador)();
    EXPECT_EQ(historia, caso.administrador ? QStringList() : QStringList({u'+' + clase, u'*' + clase, u'-' + clase}));

    CodigoUsuarioActual = u"ADMIN"_qs;
    for (int empresa : {0, 3}) {
      EmpresaActual = empresa;
      historia.clear();
      if (caso.pregunta) {
        mensajes.Expect(u"C"_qs, u"NO"_qs);
        (ventana.*caso.manejador)();
        EXPECT_EQ(mensajes.Texts().last(), QString::fromUtf8(caso.pregunta));
        mensajes.Expect(u"C"_qs, u"SI"_qs);
      }
      (ventana.*caso.manejador)();
      const bool mostrado = !caso.conEmpresa || empresa != 0;
      EXPECT_EQ(historia, mostrado ? QStringList({u'+' + clase, u'*' + clase, u'-' + clase})
                                   : QStringList({u'+' + clase, u'-' + clase}));
    }
  }
  EmpresaActual = 0;
  // A class the program does not register is said to be missing.
  FormRegistry::Clear();
  EXPECT_THROW(ventana.TestdeRendimiento1Click(), Exception);
}

// The update runs with a new data module, even when the wizard fails, and
// hands its result to the incident trace.
TEST_F(MenuUtilidades, TheUpdateRecreatesTheDataModuleAndRecordsItsResult) {
  QStringList incidencias;
  InstalarObservadorTraza([&](const QString& texto, const QString&, const QVariant&) { incidencias.append(texto); });
  CodigoUsuarioActual = u"ADMIN"_qs;
  const TModuloDatos* anterior = ModuloDatos;
  mensajes.Expect(u"C"_qs, u"SI"_qs);
  ventana.ActualizacionBaseDatosClick();
  EXPECT_EQ(incidencias, QStringList{u"Actualización de la Base de Datos.\r\nTablas: 2"_qs});
  ASSERT_NE(ModuloDatos, nullptr);
  EXPECT_NE(ModuloDatos, anterior);
  ASSERT_TRUE(ModuloDatos->Usuario);
  EXPECT_TRUE(ModuloDatos->Usuario->Active());

  claseQueFalla = u"TfGENEACTS"_qs;
  mensajes.Expect(u"C"_qs, u"SI"_qs);
  EXPECT_THROW(ventana.ActualizacionBaseDatosClick(), Exception);
  ASSERT_NE(ModuloDatos, nullptr);
  EXPECT_TRUE(ModuloDatos->Usuario->Active());
  EXPECT_EQ(incidencias.size(), 1);  // a failed wizard left no result
}

// With another copy running, the update warns and still asks; the transfer
// warns and stops; the character conversion warns and asks its own question.
TEST_F(MenuUtilidades, AnotherRunningCopyIsWarnedOf) {
  CodigoUsuarioActual = u"ADMIN"_qs;
  SecondProcess segunda(u"copia-abierta"_qs, {{kCarpetaOtraCopia, carpeta.Path()}});
  ASSERT_EQ(segunda.ReadReport(), u"abierta"_qs);
  mensajes.Expect(u"A"_qs).Expect(u"C"_qs, u"NO"_qs);
  ventana.ActualizacionBaseDatosClick();
  mensajes.Expect(u"A"_qs);
  ventana.TraspasoDatosParadoxInterbaseClick();
  mensajes.Expect(u"A"_qs).Expect(u"C"_qs, u"NO"_qs);
  ventana.ConversorJuegosCaracteresClick();
  EXPECT_EQ(mensajes.Texts(),
            QStringList({kOtrasSesiones, u"¿Está seguro de que desea Actualizar la Base de Datos?"_qs, kOtrasSesiones,
                         kOtrasSesiones, u"¿ Está seguro de querer seguir con la Conversión de Caracteres ?"_qs}));
  EXPECT_TRUE(historia.isEmpty());
  EXPECT_EQ(segunda.Finish(), 0);
}

// Company 3 is backed up into the chosen folder and restored from the file;
// only "NO" stops, and a cancelled search does nothing.
TEST_F(MenuUtilidades, ACompanyIsBackedUpAndRestoredOnTheServer) {
  ManualClock reloj(QDateTime(QDate(2024, 1, 31), QTime(15, 45, 0)));
  CodigoUsuarioActual = u"ADMIN"_qs;
  ASSERT_TRUE(CrearBaseDatosEmpresa(2));
  ASSERT_TRUE(CrearBaseDatosEmpresa(3));
  ConectarEmpresa(Servicios(), 3);
  const QString base = u"Database"_qs;
  Ejecutar(u"CREATE TABLE CLIENTES (Nombre VARCHAR(40))"_qs, base);
  Ejecutar(u"INSERT INTO CLIENTES (Nombre) VALUES ('antes')"_qs, base);
  QStringList busquedas;
  Variant elegida = Variant::Null();
  RutinasBusqueda rutinas;
  rutinas.BuscarDato = [&](const QString& tabla, int indice) {
    busquedas.append(tabla + u'/' + QString::number(indice));
    return elegida;
  };
  InstalarRutinasBusqueda(rutinas);
  ventana.CopiadeSeguridadInstantneadeunaEmpresa1Click();
  EXPECT_TRUE(mensajes.Messages().isEmpty());

  elegida = Variant::Array({Variant::String(u"3"_qs)});
  eleccion.elegido = carpeta.File(u"Copias de O'Donnell"_qs);
  QDir().mkpath(eleccion.elegido);
  mensajes.Expect(u"C"_qs).Expect(u"I"_qs);  // neither "SI" nor "NO"
  ventana.CopiadeSeguridadInstantneadeunaEmpresa1Click();
  EXPECT_EQ(busquedas, QStringList({"EMPRESA/0", "EMPRESA/0"}));
  EXPECT_EQ(mensajes.Texts(),
            QStringList({u"¿Está seguro de que quiere realizar una copia de seguridad de la empresa 3?"_qs,
                         u"La copia de seguridad de la empresa 3 se ha realizado correctamente."_qs}));
  const QString copia = NombreCopiaSeguridad(eleccion.elegido, u"ZEMEMP3"_qs);
  EXPECT_TRUE(copia.endsWith(u"dbb_ZEMEMP3_20240131154500.bak"_qs));
  EXPECT_TRUE(QFileInfo::exists(QString(copia).replace(u'\\', u'/')));

  Ejecutar(u"UPDATE CLIENTES SET Nombre = 'después'"_qs, base);
  mensajes.Expect(u"C"_qs, u"NO"_qs);
  ventana.Restaurarcopiadeseguridaddeunaempresa1Click();
  EXPECT_EQ(EjecutarSQL(u"SELECT Nombre FROM CLIENTES"_qs, base), u"después"_qs);
  eleccion.elegido = copia;
  // Over the company this program has open, the server refuses, as SQL
  // Server does, and the failure says why.
  const QString kNoRestaurada = u"¡No ha sido posible restaurar la copia de seguridad!. Motivo: "_qs;
  mensajes.Expect(u"C"_qs, u"SI"_qs).Expect(u"I"_qs).Expect(u"A"_qs);
  ventana.Restaurarcopiadeseguridaddeunaempresa1Click();
  EXPECT_TRUE(mensajes.Texts().last().startsWith(kNoRestaurada) &&
              mensajes.Texts().last().contains(u"Exclusive access could not be obtained because the database is in use."_qs))
      << mensajes.Texts().last().toStdString();
  EXPECT_EQ(EjecutarSQL(u"SELECT Nombre FROM CLIENTES"_qs, base), u"después"_qs);

  ConectarEmpresa(Servicios(), 2);
  mensajes.Expect(u"C"_qs, u"SI"_qs).Expect(u"I"_qs).Expect(u"I"_qs);
  ventana.Restaurarcopiadeseguridaddeunaempresa1Click();
  EXPECT_EQ(mensajes.Texts().mid(6),
            QStringList({u"¿Está seguro de que quiere RESTAURAR una copia de seguridad sobre la empresa 3?"_qs,
                         u"Tenga en cuenta que no será posible restaurar la copia de seguridad si hay usuarios "
                         "trabajando sobre la empresa 3."_qs,
                         u"La copia de seguridad se ha restaurado correctamente sobre la empresa 3."_qs}));
  ConectarEmpresa(Servicios(), 3);
  EXPECT_EQ(EjecutarSQL(u"SELECT Nombre FROM CLIENTES"_qs, base), u"antes"_qs);
  EXPECT_EQ(eleccion.vistos.size(), 3);

  // Over a company another copy works on, the server refuses after the
  // notice: nothing changes and the progress window is gone.
  SecondProcess otra(u"empresa-3"_qs, {{kCarpetaOtraCopia, carpeta.Path()}});
  ASSERT_EQ(otra.ReadReport(), u"en la empresa 3"_qs);
  Ejecutar(u"UPDATE CLIENTES SET Nombre = 'de la otra copia'"_qs, base);
  ConectarEmpresa(Servicios(), 2);
  mensajes.Expect(u"C"_qs, u"SI"_qs).Expect(u"I"_qs).Expect(u"A"_qs);
  ventana.Restaurarcopiadeseguridaddeunaempresa1Click();
  EXPECT_TRUE(mensajes.Texts().last().startsWith(kNoRestaurada)) << mensajes.Texts().last().toStdString();
  ConectarEmpresa(Servicios(), 3);
  EXPECT_EQ(EjecutarSQL(u"SELECT Nombre FROM CLIENTES"_qs, base), u"de la otra copia"_qs);
  EXPECT_TRUE(!fGENEPROG || !fGENEPROG->isVisible());
  EXPECT_EQ(otra.Finish(), 0);
}

// The backup folder of the settings is shown in the chooser; without one
// nothing opens.
TEST_F(MenuUtilidades, TheBackupFolderIsShownOnlyWhenSet) {
  for (const QString& ubicacion : {QString(), u"/copias/con blanco"_qs}) {
    IniFile(ArchivoINI).WriteString(u"Backup MS SQL Server"_qs, u"UbicacionArchivosCopia"_qs, ubicacion);
    ventana.VerlaUbicacindelosArchivosdeCopiaClick();
  }
  EXPECT_EQ(eleccion.vistos,
            QStringList{u"Ubicación de los Archivos de Copia de Seguridad|/copias/con blanco|otNonFolders"_qs});
}

// No entry of the four menus is disabled.
TEST_F(MenuUtilidades, EveryEntryOfTheFourMenusIsEnabled) {
  for (const char* nombre : {"BaseDatos1", "Configuracin1", "Utilidades1", "Ayuda1"}) {
    for (const QAction* item : ventana.findChild<QMenu*>(QLatin1String(nombre))->actions())
      EXPECT_TRUE(item->isSeparator() || item->isEnabled()) << item->objectName().toStdString();
  }
}

// An entry whose form the program has not registered cannot run: it is
// disabled when its menu opens, and enabled again once the form is there.
TEST_F(MenuUtilidades, AnEntryIsEnabledExactlyWhenItsCommandCanRun) {
  const QStringList deFormularios{u"ConfiguracindeImpresos1"_qs,
                                  u"ActualizacionBaseDatos"_qs,
                                  u"TraspasoDatosParadoxInterbase"_qs,
                                  u"ConversorJuegosCaracteres"_qs,
                                  u"GestionCopiasSeguridadSQLServer"_qs,
                                  u"CopiadeSeguridadInstantneadeunaEmpresa1"_qs,
                                  u"Restaurarcopiadeseguridaddeunaempresa1"_qs,
                                  u"VerlaUbicacindelosArchivosdeCopia"_qs,
                                  u"IntroduccindeIncidenciasdelaAplicacin1"_qs,
                                  u"ConsultadeIncidenciasdelaAplicacin1"_qs,
                                  u"TestdeRendimiento1"_qs};
  const auto abrirMenus = [this] {
    for (const char* nombre : {"BaseDatos1", "Configuracin1", "Utilidades1", "Ayuda1"})
      emit ventana.findChild<QMenu*>(QLatin1String(nombre))->aboutToShow();
  };
  const auto entrada = [this](const QString& nombre) { return ventana.findChild<QAction*>(nombre); };
  abrirMenus();
  for (const QString& nombre : deFormularios) EXPECT_TRUE(entrada(nombre)->isEnabled()) << nombre.toStdString();

  FormRegistry::Clear();
  abrirMenus();
  for (const QString& nombre : deFormularios) EXPECT_FALSE(entrada(nombre)->isEnabled()) << nombre.toStdString();
  for (const char* propia : {"Empresas1", "ConfiguracionDeUsuarios", "ListadeUsuariosdelBDE1", "InformacionConflictosBloqueo"})
    EXPECT_TRUE(entrada(QLatin1String(propia))->isEnabled()) << propia;
  CodigoUsuarioActual = u"ADMIN"_qs;
  entrada(u"TestdeRendimiento1"_qs)->trigger();  // nothing runs, nothing is said
  EXPECT_TRUE(mensajes.Messages().isEmpty());

  FormRegistry::Register(u"TfGENETEST"_qs, [](QWidget* owner) { return new FormularioRegistrado(owner, u"TfGENETEST"_qs); });
  abrirMenus();
  EXPECT_TRUE(entrada(u"TestdeRendimiento1"_qs)->isEnabled());
  EXPECT_FALSE(entrada(u"ConsultadeIncidenciasdelaAplicacin1"_qs)->isEnabled());
  entrada(u"TestdeRendimiento1"_qs)->trigger();
  EXPECT_EQ(historia, QStringList({u"+TfGENETEST"_qs, u"*TfGENETEST"_qs, u"-TfGENETEST"_qs}));
}

// The four menus and both reports as a person sees them; ZEMWIN_CAPTURAS
// keeps the pictures.
TEST_F(MenuUtilidades, TheMenusAndBothReportsAreDrawn) {
  QList<QImage> menus;
  for (const char* nombre : {"BaseDatos1", "Configuracin1", "Utilidades1", "Ayuda1"}) {
    QMenu* menu = ventana.findChild<QMenu*>(QLatin1String(nombre));
    menu->popup(QPoint(0, 0));
    const QImage imagen = CapturaFormulario(*menu, u"GENEMENU-"_qs + QLatin1String(nombre));
    menu->hide();
    EXPECT_FALSE(menus.contains(imagen)) << nombre;
    menus.append(imagen);
  }

  Ganchos().MostrarDetalle = &MostrarDetalle;
  QStringList vistos;
  const auto verAlMostrarse = [&vistos](const QString& nombre) {
    QTimer::singleShot(0, [&vistos, nombre] {
      vistos.append(fGENEDETA->windowTitle());
      CapturaFormulario(*fGENEDETA, nombre);
      fGENEDETA->SetModalResult(mrOk);
    });
  };
  verAlMostrarse(u"GENEMENU-InformacionSistema"_qs);
  ventana.ListadeUsuariosdelBDE1Click();
  verAlMostrarse(u"GENEMENU-ConflictosBloqueo"_qs);
  mensajes.Expect(u"C"_qs, u"NO"_qs);
  InformacionConflictosBloqueo([](const QString& sql) {
    return sql.contains(u"T2.blocked"_qs) ? u"    Usuario de Red:|pepe|SPID|51"_qs
                                          : u"    Usuario de Red:|ana|SPID|52|bloqueado por SPID|51"_qs;
  });
  Ganchos().MostrarDetalle = nullptr;
  delete fGENEDETA;  // made on first use, it must go before the application
  EXPECT_EQ(vistos, QStringList({u"Información del Sistema"_qs, u"Información de conflictos de bloqueo"_qs}));
}

#include "MenuUtilidadesTest.moc"
