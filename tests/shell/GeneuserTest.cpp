#include "shell/Geneuser.h"

#include "core/datamodule/ConfiguracionUsuario.h"
#include "core/datamodule/EditorRegistroINI.h"
#include "core/datamodule/IdentificacionUsuario.h"
#include "core/startup/GestionExcepciones.h"
#include "platform/controls/DBEdit.h"
#include "platform/FormRegistry.h"
#include "core/sql/BaseDatosSQL.h"
#include "core/startup/Configuracion.h"
#include "core/startup/MapaAyuda.h"
#include "platform/TextFile.h"
#include "platform/controls/DBChoiceControls.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"
#include "shell/LanzamientoModulos.h"
#include "tests/core/connections/ConexionesFixture.h"
#include "tests/fixtures/SecondProcess.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

namespace {

constexpr char kCarpeta[] = "ZEM_PROGRAM_FOLDER";

// Another copy of the program editing user ANA until told to go on.
void editarUsuario() { OtraCopiaEditando(kCarpeta, u"USUARIO"_qs, u"DatabaseGeneral"_qs, u"Codigo"_qs, u"ANA"_qs); }

[[maybe_unused]] const bool registrado = SecondProcess::RegisterJob(u"editar-usuario"_qs, editarUsuario);

class Usuarios : public ConexionesFixture, public ModuloConUsuarios {
 protected:
  Usuarios() {
    Iniciar();
    Ejecutar(u"CREATE TABLE USUARIO (Codigo VARCHAR(50) NOT NULL, Nombre VARCHAR(40) NULL, Empresas TEXT NULL, "
             "Categoria VARCHAR(20) NULL, ProgramasNoAccesibles TEXT NULL, ProgramasSoloLectura TEXT NULL, "
             "ProgramasActivos TEXT NULL, Configuracion TEXT NULL, ClaveAcceso VARCHAR(30) NULL, "
             "NombreUsuarioPerfil VARCHAR(40) NULL, CodigoUsuarioPerfil VARCHAR(12) NULL, "
             "CONSTRAINT USUARIO_Clave1 PRIMARY KEY (Codigo))"_qs,
             u"DatabaseGeneral"_qs);
    Ejecutar(u"INSERT INTO USUARIO (Codigo, Categoria, Empresas, Configuracion) VALUES "
             "('ADMIN', 'Administrador', NULL, NULL), "
             "('ANA', 'Normal', '1\r\n99', 'ContadorAccesos=3\r\nServidorSMTP=smtp.ana'), "
             "('PERFILADO', 'ANA', NULL, NULL)"_qs,
             u"DatabaseGeneral"_qs);
    Ejecutar(u"INSERT INTO EMPRESA (Codigo, Nombre) VALUES (2, 'Dos')"_qs, u"DatabaseGeneral"_qs);
    AbrirUsuarios();
  }
  static void Ir(TfGENEUSER& f, const char* codigo) {
    ASSERT_TRUE(f.Table1->Locate(u"Codigo"_qs, Variant::String(QString::fromLatin1(codigo))));
  }
  static void Editar(TfGENEUSER& f, const char* campo, const QString& valor) {
    f.Table1->Edit();
    f.Table1->FieldByName(QString::fromLatin1(campo)).SetAsString(valor);
  }
  static QStringList Textos(const TfGENEUSER& f, const char* lista) {
    QStringList textos;
    const auto* l = f.findChild<QListWidget*>(QString::fromLatin1(lista));
    for (int i = 0; i < l->count(); ++i) textos << l->item(i)->text();
    return textos;
  }
  static QString Configuracion(const TfGENEUSER& f, const QString& clave) {
    const QStringList lineas = f.findChild<QPlainTextEdit*>(u"EditConfiguracion"_qs)->toPlainText().split(u'\n');
    for (const QString& linea : lineas)
      if (linea.startsWith(clave + u'=')) return linea.mid(clave.size() + 1);
    return u"<ausente>"_qs;
  }
  static QString Guardado(const char* codigo, const char* campo) {
    return EjecutarSQL(u"SELECT %1 FROM USUARIO WHERE Codigo = '%2'"_qs.arg(QLatin1String(campo), QLatin1String(codigo)),
                       u"DatabaseGeneral"_qs);
  }
};

TEST_F(Usuarios, ThePageListsEveryKeyInOrderAndAProfileShowsItsProfilesValues) {
  TfGENEUSER f;
  EXPECT_EQ(f.Caption(), u"Configuración de Usuarios"_qs);
  ASSERT_EQ(TfGENEUSER::ClavesConfiguracion().size(), 50);
  EXPECT_EQ(TfGENEUSER::ClavesConfiguracion()[3].first, u"ContadorAccesos"_qs);
  EXPECT_EQ(TfGENEUSER::ClavesConfiguracion().last().first, u"NumeroCaracteresVisor"_qs);
  Ir(f, "ANA");
  EXPECT_EQ(Configuracion(f, u"ServidorSMTP"_qs), u"smtp.ana"_qs);
  EXPECT_EQ(Configuracion(f, u"ContadorAccesos"_qs), u"3"_qs);
  EXPECT_EQ(Configuracion(f, u"ClienteSMTP"_qs), u"Por Defecto"_qs);
  EXPECT_EQ(Configuracion(f, u"ClienteSMTP(Masivo)"_qs), u"Indy"_qs);
  auto* categoria = f.findChild<DBComboBox*>(u"EditCategoria"_qs);
  EXPECT_EQ(categoria->palette().color(QPalette::Base), QColor(Qt::white));
  Ir(f, "PERFILADO");
  EXPECT_EQ(categoria->palette().color(QPalette::Base), QColor(255, 213, 213));
  EXPECT_EQ(Configuracion(f, u"ServidorSMTP"_qs), u"smtp.ana"_qs) << "the profile's value";
  EXPECT_EQ(Configuracion(f, u"ContadorAccesos"_qs), u"0"_qs) << "the counter is the user's own";
}

// From "Nombre", above the pages, the page keys turn the user's pages.
TEST_F(Usuarios, ThePageKeysTurnTheUsersPagesFromItsName) {
  TfGENEUSER f;
  f.show();
  QApplication::setActiveWindow(&f);
  auto* paginas = f.findChild<QTabWidget*>(u"PageControl1"_qs);
  auto* nombre = f.findChild<DBEdit*>(u"EditNombre"_qs);
  paginas->setCurrentIndex(0);
  nombre->setFocus();
  QTest::keyClick(nombre, Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_EQ(paginas->currentIndex(), 1);
  nombre->setFocus();
  QTest::keyClick(nombre, Qt::Key_PageUp, Qt::ControlModifier);
  EXPECT_EQ(paginas->currentIndex(), 0);
}

TEST_F(Usuarios, CompaniesMoveBetweenTheListsAndAMissingOneIsNotDefined) {
  TfGENEUSER f;
  Ir(f, "ANA");
  EXPECT_EQ(Textos(f, "ListaEmpresasAccesibles"), QStringList({u"1 - EMPRESA 1"_qs, u"99 - No Definida"_qs}));
  EXPECT_EQ(Textos(f, "ListaEmpresasNoAccesibles"), QStringList({u"2 - Dos"_qs}));
  // Another administrator gives ANA company 2 meanwhile: the move starts from the row read again.
  Ejecutar(u"UPDATE USUARIO SET Empresas = '1\r\n99\r\n2' WHERE Codigo = 'ANA'"_qs, u"DatabaseGeneral"_qs);
  f.findChild<QPushButton*>(u"pbANoAccesiblesTodo"_qs)->click();
  EXPECT_EQ(f.Table1->State(), dsEdit);
  EXPECT_TRUE(Textos(f, "ListaEmpresasAccesibles").isEmpty());
  EXPECT_EQ(Textos(f, "ListaEmpresasNoAccesibles").size(), 3);
  EXPECT_FALSE(f.findChild<QPushButton*>(u"pbANoAccesibles"_qs)->isEnabled());
  EXPECT_FALSE(f.findChild<QPushButton*>(u"pbANoAccesiblesTodo"_qs)->isEnabled());
  f.findChild<QListWidget*>(u"ListaEmpresasNoAccesibles"_qs)->item(0)->setSelected(true);
  f.pbAAccesiblesClick();
  f.pbConformeClick();
  EXPECT_EQ(Guardado("ANA", "Empresas"), u"1"_qs);
}

TEST_F(Usuarios, TheOtherListStaysInCodeOrderAfterAMove) {
  Ejecutar(u"INSERT INTO EMPRESA (Codigo, Nombre) VALUES (10, 'Diez'), (3, 'Tres')"_qs, u"DatabaseGeneral"_qs);
  TfGENEUSER f;
  Ir(f, "ANA");
  const QStringList otras{u"2 - Dos"_qs, u"3 - Tres"_qs, u"10 - Diez"_qs};
  EXPECT_EQ(Textos(f, "ListaEmpresasNoAccesibles"), otras);
  f.findChild<QListWidget*>(u"ListaEmpresasAccesibles"_qs)->item(1)->setSelected(true);
  f.pbANoAccesiblesClick();
  EXPECT_EQ(Textos(f, "ListaEmpresasNoAccesibles"), QStringList(otras) << u"99 - No Definida"_qs);
  f.pbANoAccesiblesTodoClick();
  EXPECT_EQ(Textos(f, "ListaEmpresasNoAccesibles"),
            (QStringList{u"1 - EMPRESA 1"_qs, u"2 - Dos"_qs, u"3 - Tres"_qs, u"10 - Diez"_qs, u"99 - No Definida"_qs}));
  f.pbCancelarClick();
}

TEST_F(Usuarios, ACategoryMustBeOneOfTheListOrAUserCode) {
  TfGENEUSER f;
  Ir(f, "ANA");
  Editar(f, "Categoria", u"NADIE"_qs);
  mensajes.Expect(u"A"_qs).Expect(u"A"_qs);
  f.pbConformeClick();
  EXPECT_EQ(Guardado("ANA", "Categoria"), u"Normal"_qs);
  // A mark written at once first saves the edit: refused, its reason is said once per click.
  Editar(f, "Categoria", u"NADIE"_qs);
  mensajes.Expect(u"A"_qs);
  f.findChild<QToolButton*>(u"pbOpenActive"_qs)->click();
  ASSERT_EQ(mensajes.Messages().size(), 3);
  EXPECT_EQ(mensajes.Texts().last(), mensajes.Texts().first()) << "the category's own warning";
  f.pbCancelarClick();
  Editar(f, "Categoria", u"ADMIN"_qs);
  f.pbConformeClick();
  EXPECT_EQ(Guardado("ANA", "Categoria"), u"ADMIN"_qs);
}

TEST_F(Usuarios, ResettingTheCounterFirstSavesThePendingEdit) {
  TfGENEUSER f;
  Ir(f, "ANA");
  Editar(f, "Nombre", u"Ana O'Neill"_qs);
  mensajes.Expect(u"C"_qs, u"NO"_qs).Expect(u"C"_qs, u"SI"_qs);
  f.SpeedButton1Click();
  EXPECT_EQ(f.Table1->State(), dsEdit) << "NO does nothing";
  f.SpeedButton1Click();
  EXPECT_EQ(f.Table1->State(), dsBrowse);
  EXPECT_EQ(Guardado("ANA", "Nombre"), u"Ana O'Neill"_qs);
  EXPECT_EQ(LeerConfigUsuario(u"ANA"_qs, u"ContadorAccesos"_qs), u"0"_qs);
  EXPECT_EQ(Configuracion(f, u"ContadorAccesos"_qs), u"0"_qs);
  EXPECT_EQ(LeerConfigUsuario(u"ANA"_qs, u"ServidorSMTP"_qs), u"smtp.ana"_qs) << "the other lines stay";
}

TEST_F(Usuarios, AResetCounterLetsALockedOutUserLogInAgain) {
  const auto entrar = [] {
    QString codigo;
    return IdentificarUsuario(codigo);
  };
  Ejecutar(u"UPDATE USUARIO SET ClaveAcceso = 'pw' WHERE Codigo = 'ANA'"_qs, u"DatabaseGeneral"_qs);
  usuario.Refresh();
  mensajes.Expect(u"P"_qs, u"ANA"_qs).Expect(u"A"_qs);
  EXPECT_FALSE(entrar()) << "three failures lock the user out before the password is asked";
  TfGENEUSER f;
  Ir(f, "ANA");
  mensajes.Expect(u"C"_qs, u"SI"_qs);
  f.SpeedButton1Click();
  usuario.Refresh();
  mensajes.Expect(u"P"_qs, u"ANA"_qs).Expect(u"P"_qs, u"pw"_qs);
  EXPECT_TRUE(entrar());
  EXPECT_EQ(LeerConfigUsuario(u"ANA"_qs, u"ContadorAccesos"_qs), u"0"_qs);
}

TEST_F(Usuarios, ASecondAdministratorIsWarnedAtTheFirstKeyAndNothingOfHisIsSaved) {
  InstalarGestionExcepciones(Servicios());
  TfGENEUSER f;
  f.show();
  Ir(f, "ANA");
  SecondProcess otra(u"editar-usuario"_qs, {{kCarpeta, carpeta.Path()}});
  ASSERT_EQ(otra.ReadReport(), u"editando"_qs);
  auto* nombre = f.findChild<DBEdit*>(u"EditNombre"_qs);
  const QString antes = nombre->text();
  mensajes.Expect(u"A"_qs);
  QTest::keyClick(nombre, Qt::Key_X);
  EXPECT_EQ(mensajes.Texts().size(), 1) << "warned at once";
  EXPECT_EQ(f.Table1->State(), dsBrowse);
  EXPECT_EQ(nombre->text(), antes);
  otra.Send(u"fin"_qs);
  EXPECT_EQ(otra.Finish(), 0);
  EXPECT_EQ(Guardado("ANA", "Nombre"), antes);
}

TEST_F(Usuarios, AResetRefusedWhileAnotherCopyHoldsTheUserShowsWhatIsStored) {
  TfGENEUSER f;
  Ir(f, "ANA");
  SecondProcess otra(u"editar-usuario"_qs, {{kCarpeta, carpeta.Path()}});
  ASSERT_EQ(otra.ReadReport(), u"editando"_qs);
  mensajes.Expect(u"C"_qs, u"SI"_qs).Expect(u"A"_qs);
  f.SpeedButton1Click();
  EXPECT_EQ(LeerConfigUsuario(u"ANA"_qs, u"ContadorAccesos"_qs), u"3"_qs);
  EXPECT_EQ(Configuracion(f, u"ContadorAccesos"_qs), u"3"_qs);
  otra.Send(u"fin"_qs);
  EXPECT_EQ(otra.Finish(), 0);
}

}  // namespace

namespace {

class DerechosUsuario : public Usuarios {
 protected:
  DerechosUsuario() {
    MapaAyuda.SetText(u"Facturación=10\r\nAlbaranes=11\r\nPedidos=abc\r\nInterno=11000\r\n=5\r\nsin igual\r\nClientes=12"_qs);
  }
  static void Elegir(TfGENEUSER& f, const QStringList& programas) {
    auto* lista = f.findChild<QListWidget*>(u"LBProgramas"_qs);
    lista->clearSelection();
    for (int i = 0; i < lista->count(); ++i)
      if (programas.contains(lista->item(i)->text())) lista->item(i)->setSelected(true);
  }
};

TEST_F(DerechosUsuario, TheProgramsAreTheNumberedTopicsAndTheMarksEndInOneList) {
  TfGENEUSER f;
  EXPECT_EQ(Textos(f, "LBProgramas"), QStringList({u"Facturación"_qs, u"Albaranes"_qs, u"Clientes"_qs}));
  Ir(f, "ANA");
  Elegir(f, {u"Facturación"_qs, u"Albaranes"_qs});
  f.pbReadOnlyClick();
  f.pbDeseleccionarClick();
  EXPECT_EQ(LeerConfigUsuario(u"ANA"_qs, u"ProgramasNoAccesibles"_qs), u"Facturación\r\nAlbaranes"_qs);
  EXPECT_EQ(LeerConfigUsuario(u"ANA"_qs, u"ProgramasSoloLectura"_qs), QString());
  f.pbReadOnlyClick();
  EXPECT_EQ(LeerConfigUsuario(u"ANA"_qs, u"ProgramasNoAccesibles"_qs), QString()) << "read-only wins";
  EXPECT_EQ(LeerConfigUsuario(u"ANA"_qs, u"ProgramasSoloLectura"_qs), u"Facturación\r\nAlbaranes"_qs);
  Elegir(f, {u"Clientes"_qs});
  f.pbOpenActiveClick();
  Elegir(f, {u"Albaranes"_qs});
  f.pbDesmarcarClick();
  EXPECT_EQ(LeerConfigUsuario(u"ANA"_qs, u"ProgramasSoloLectura"_qs), u"Facturación"_qs);
  EXPECT_EQ(LeerConfigUsuario(u"ANA"_qs, u"ProgramasActivos"_qs), u"Clientes"_qs);

  // A profiled user's marks go into the profile's row.
  Ir(f, "PERFILADO");
  Elegir(f, {u"Clientes"_qs});
  f.pbDeseleccionarClick();
  EXPECT_EQ(Guardado("ANA", "ProgramasNoAccesibles"), u"Clientes"_qs);
  EXPECT_EQ(Guardado("PERFILADO", "ProgramasNoAccesibles"), QString());
}

// One click that changes two lists while another copy holds the user's row:
// one warning, and neither list changes.
TEST_F(DerechosUsuario, AMarkRefusedByAnotherCopyIsWarnedOnceAndChangesNoList) {
  Ejecutar(u"UPDATE USUARIO SET ProgramasSoloLectura = 'Facturación', ProgramasActivos = 'Facturación\r\nClientes' "
           "WHERE Codigo = 'ANA'"_qs,
           u"DatabaseGeneral"_qs);
  usuario.Refresh();
  TfGENEUSER f;
  Ir(f, "ANA");
  SecondProcess otra(u"editar-usuario"_qs, {{kCarpeta, carpeta.Path()}});
  ASSERT_EQ(otra.ReadReport(), u"editando"_qs);
  Elegir(f, {u"Facturación"_qs});
  mensajes.Expect(u"A"_qs);
  f.pbDesmarcarClick();
  EXPECT_EQ(mensajes.Texts().size(), 1);
  otra.Send(u"fin"_qs);
  EXPECT_EQ(otra.Finish(), 0);
  EXPECT_EQ(Guardado("ANA", "ProgramasSoloLectura"), u"Facturación"_qs);
  EXPECT_EQ(Guardado("ANA", "ProgramasActivos"), u"Facturación\r\nClientes"_qs);
}

TEST_F(DerechosUsuario, AMarkWithAPendingEditStoresBothTheEditAndTheNewMarks) {
  Ejecutar(u"UPDATE USUARIO SET Configuracion = 'ControlesNoVisibles=fA.EditUno,fA.EditDos' WHERE Codigo = 'ANA'"_qs,
           u"DatabaseGeneral"_qs);
  usuario.Refresh();
  TfGENEUSER f;
  Ir(f, "ANA");
  Editar(f, "Nombre", u"Ana María"_qs);
  Elegir(f, {u"Facturación"_qs, u"Clientes"_qs});
  f.pbDeseleccionarClick();
  EXPECT_EQ(Guardado("ANA", "Nombre"), u"Ana María"_qs);
  EXPECT_EQ(Guardado("ANA", "ProgramasNoAccesibles"), u"Facturación\r\nClientes"_qs);

  // A hidden control just removed is the pending edit.
  auto* arbol = f.findChild<QTreeWidget*>(u"TreeView1"_qs);
  arbol->setCurrentItem(arbol->topLevelItem(0)->child(0));
  f.Eliminardelalista1Click();
  Elegir(f, {u"Albaranes"_qs});
  f.pbReadOnlyClick();
  f.pbOpenActiveClick();
  EXPECT_EQ(Guardado("ANA", "Configuracion"), u"ControlesNoVisibles=fA.EditUno"_qs);
  EXPECT_EQ(Guardado("ANA", "ProgramasSoloLectura"), u"Albaranes"_qs);
  EXPECT_EQ(Guardado("ANA", "ProgramasActivos"), u"Albaranes"_qs);
  EXPECT_EQ(Guardado("ANA", "ProgramasNoAccesibles"), u"Facturación\r\nClientes"_qs);
}

TEST_F(DerechosUsuario, RemovingAControlChangesOnlyThatItemOfTheConfiguration) {
  const QString antes = u"Uno=1\nControlesNoVisibles=fA.EditUno,,fA.EditDos, fB.EditTres ,\nDos=2\r\n\r\nTres=\n"_qs;
  Table usuarios;
  usuarios.SetDatabaseName(BaseDatosBDE(u"DatabaseGeneral"_qs));
  usuarios.SetTableName(u"USUARIO"_qs);
  usuarios.Open();
  ASSERT_TRUE(usuarios.Locate(u"Codigo"_qs, Variant::String(u"ANA"_qs)));
  usuarios.Edit();
  usuarios.FieldByName(u"Configuracion"_qs).SetAsString(antes);
  usuarios.Post();
  usuario.Refresh();
  TfGENEUSER f;
  Ir(f, "ANA");
  auto* arbol = f.findChild<QTreeWidget*>(u"TreeView1"_qs);
  ASSERT_EQ(arbol->topLevelItemCount(), 2);
  arbol->setCurrentItem(arbol->topLevelItem(0)->child(1));  // fA.EditUno
  ASSERT_EQ(TfGENEUSER::RutaNodo(arbol->currentItem()), u"fA.EditUno"_qs);
  f.Eliminardelalista1Click();
  arbol->setCurrentItem(arbol->topLevelItem(1)->child(0));  // fB.EditTres, written with blanks
  f.Eliminardelalista1Click();
  f.pbConformeClick();
  EXPECT_EQ(Guardado("ANA", "Configuracion"), u"Uno=1\nControlesNoVisibles=,fA.EditDos,\nDos=2\r\n\r\nTres=\n"_qs);
}

// The demo's help map names every program the main menu launches.
TEST_F(DerechosUsuario, TheShippedMapOffersEveryProgramTheMenuLaunches) {
  ASSERT_TRUE(QFile::copy(QStringLiteral(ZEMWIN_MAPA_DEMO), carpeta.File(u"ZEMWIN.MAP"_qs)));
  CargarMapaAyuda();
  QStringList lanzados;
  for (const EntradaLanzamiento& entrada : EntradasLanzamiento)
    lanzados << QString::fromLatin1(entrada.ejecutable).trimmed().section(u'.', 0, 0);
  TfGENEUSER f;
  EXPECT_EQ(Textos(f, "LBProgramas"), lanzados);
  Ir(f, "ANA");
  Elegir(f, {u"RAXOWIN"_qs});
  f.pbDeseleccionarClick();
  EXPECT_EQ(Guardado("ANA", "ProgramasNoAccesibles"), u"RAXOWIN"_qs);
}

TEST_F(DerechosUsuario, HiddenControlsMakeATreeAndOnlyTheChosenItemIsRemoved) {
  Ejecutar(u"UPDATE USUARIO SET Configuracion = 'ControlesNoVisibles=fFACTALBA.Panel1.EditCliente,fX.EditCliente,"
           "fFACTALBA.Panel1.EditFecha,fFACTALBA.Panel1.EditCliente2\r\nOtra=fFACTALBA.Panel1.EditFecha,' "
           "WHERE Codigo = 'ANA'"_qs,
           u"DatabaseGeneral"_qs);
  usuario.Refresh();
  TfGENEUSER f;
  Ir(f, "ANA");
  auto* arbol = f.findChild<QTreeWidget*>(u"TreeView1"_qs);
  ASSERT_EQ(arbol->topLevelItemCount(), 2);
  QTreeWidgetItem* raiz = arbol->topLevelItem(0);
  ASSERT_EQ(raiz->text(0), u"fFACTALBA"_qs);
  ASSERT_EQ(raiz->childCount(), 1);
  QTreeWidgetItem* panel = raiz->child(0);
  ASSERT_EQ(panel->childCount(), 3);
  EXPECT_NE(panel->foreground(0).color(), QColor(Qt::red)) << "a qualifying node";
  EXPECT_EQ(panel->child(0)->foreground(0).color(), QColor(Qt::red));
  EXPECT_EQ(TfGENEUSER::RutaNodo(panel->child(2)), u"fFACTALBA.Panel1.EditFecha"_qs);

  mensajes.Expect(u"I"_qs);
  arbol->setCurrentItem(panel);
  f.Eliminardelalista1Click();
  EXPECT_EQ(mensajes.Texts().last(), u"No es posible eliminar un nodo cualificado"_qs);

  arbol->setCurrentItem(panel->child(2));  // EditFecha, the last item but one, and in another key's text
  f.Eliminardelalista1Click();
  arbol->setCurrentItem(panel->child(0));  // EditCliente, not EditCliente2 nor fX.EditCliente
  f.Eliminardelalista1Click();
  EXPECT_EQ(panel->childCount(), 1);
  f.pbConformeClick();
  EXPECT_EQ(Guardado("ANA", "Configuracion"),
            u"ControlesNoVisibles=fX.EditCliente,fFACTALBA.Panel1.EditCliente2\r\nOtra=fFACTALBA.Panel1.EditFecha,"_qs);
  EXPECT_EQ(LeerConfigUsuario(u"ANA"_qs, u"ControlesNoVisibles"_qs), u"fX.EditCliente,fFACTALBA.Panel1.EditCliente2"_qs)
      << "the pages read what was saved";
  EXPECT_EQ(arbol->topLevelItem(0)->child(0)->childCount(), 1);

  mensajes.Expect(u"P"_qs, u"cliente2"_qs);
  f.BuscarunControl1Click();
  EXPECT_EQ(arbol->currentItem()->text(0), u"EditCliente2"_qs);
}

}  // namespace

namespace {

TEST_F(Usuarios, TheCopyFromTheFilesTakesOnlyTheKeysAFileHas) {
  Ejecutar(u"INSERT INTO USUARIO (Codigo, Categoria, ProgramasActivos, Configuracion) VALUES "
           "('LUIS', 'Normal', 'Clientes', 'ContadorAccesos=2'), ('../ANA', 'Normal', 'Clientes', NULL)"_qs,
           u"DatabaseGeneral"_qs);
  // ANA's file is Windows-1252 and lacks ContadorAccesos; LUIS has none.
  QFile archivo(carpeta.File(u"ANA.cfg"_qs));
  ASSERT_TRUE(archivo.open(QIODevice::WriteOnly));
  archivo.write("DatosBusqueda=Clientes;Nombre\r\nProgramasActivos=Facturaci\xf3n,Albaranes\r\nProgramasNoAccesibles=\r\n");
  archivo.close();
  TfGENEUSER f;
  Ir(f, "LUIS");
  mensajes.Expect(u"C"_qs, u"NO"_qs).Expect(u"C"_qs, u"SI"_qs);
  f.CopiarDatosUsuariosDesdeArchivoConfiguracionClick();
  EXPECT_EQ(Guardado("ANA", "ProgramasActivos"), QString());
  f.CopiarDatosUsuariosDesdeArchivoConfiguracionClick();
  EXPECT_EQ(f.Table1->FieldByName(u"Codigo"_qs).AsString(), u"LUIS"_qs) << "back on the user it started from";
  EXPECT_EQ(Guardado("ANA", "ProgramasActivos"), u"Facturación\r\nAlbaranes"_qs);
  EXPECT_EQ(Guardado("ANA", "Configuracion"), u"ContadorAccesos=3\r\nServidorSMTP=smtp.ana\r\nDatosBusqueda=Clientes;Nombre\r\n"_qs)
      << "a key the file lacks stays";
  EXPECT_EQ(Guardado("LUIS", "Configuracion"), u"ContadorAccesos=2"_qs) << "no file, nothing changes";
  EXPECT_EQ(Guardado("LUIS", "ProgramasActivos"), u"Clientes"_qs);
  EXPECT_EQ(Guardado("../ANA", "ProgramasActivos"), u"Clientes"_qs) << "not a file name: no file";
}

}  // namespace

namespace {

// The name=value editor, changing the value of one line and accepting.
void EditorQueCambia(const QString& clave, const QString& valor) {
  FormRegistry::Register(QLatin1String(kFormularioRegistroINI), [](QWidget* owner) {
    auto* formulario = new Form(owner);
    (new QTableWidget(formulario))->setObjectName(u"StringGrid"_qs);
    return formulario;
  });
  QTimer::singleShot(0, [clave, valor] {
    auto* editor = qobject_cast<Form*>(QApplication::activeModalWidget());
    ASSERT_NE(editor, nullptr);
    auto* rejilla = editor->findChild<QTableWidget*>(u"StringGrid"_qs);
    for (int fila = 0; fila < rejilla->rowCount(); ++fila)
      if (rejilla->item(fila, 0)->text() == clave) rejilla->item(fila, 1)->setText(valor);
    editor->SetModalResult(mrOk);
  });
}

TEST_F(Usuarios, TheConfigurationEditorWritesOnlyTheValuesChanged) {
  TfGENEUSER f;
  Ir(f, "ANA");
  EditorQueCambia(u"ServidorSMTP"_qs, u"smtp.nuevo"_qs);
  f.EditConfiguracionDblClick();
  FormRegistry::Clear();
  EXPECT_EQ(Guardado("ANA", "Configuracion"), u"ContadorAccesos=3\r\nServidorSMTP=smtp.nuevo\r\n"_qs)
      << "no default is stored for the keys left as shown";
  EXPECT_EQ(Configuracion(f, u"ServidorSMTP"_qs), u"smtp.nuevo"_qs);
}

}  // namespace

namespace {

TEST_F(Usuarios, DuplicatingAUserCopiesItUnderTheCodeGiven) {
  TfGENEUSER f;
  Ir(f, "ANA");
  f.Table1->Edit();
  f.pbDuplicarClick();  // nothing while editing
  f.Table1->Cancel();
  mensajes.Expect(u"P"_qs, u"BEA"_qs);
  f.pbDuplicarClick();
  EXPECT_EQ(Guardado("BEA", "Configuracion"), Guardado("ANA", "Configuracion"));
  EXPECT_EQ(Guardado("BEA", "Empresas"), u"1\r\n99"_qs);
  EXPECT_EQ(f.Table1->RecordCount(), 4) << "the table is read again";
}

}  // namespace

namespace {

// A user whose code holds a quote, with 10,000 companies and hidden controls
// over 100,000 characters long.
TEST_F(DerechosUsuario, HostileSizesAndQuotesAreKeptWhole) {
  QStringList codigos, controles;
  for (int n = 1; n <= 10000; ++n) codigos << QString::number(n);
  for (int n = 0; n < 4000; ++n) controles << u"fFORM%1.Panel%2.EditConNombreLargo%3"_qs.arg(n % 40).arg(n % 7).arg(n);
  const QString ocultos = controles.join(u',');
  ASSERT_GT(ocultos.size(), 100000);
  Table usuarios;
  usuarios.SetDatabaseName(BaseDatosBDE(u"DatabaseGeneral"_qs));
  usuarios.SetTableName(u"USUARIO"_qs);
  usuarios.Open();
  usuarios.Append();
  usuarios.FieldByName(u"Codigo"_qs).SetAsString(u"O'NEIL"_qs);
  usuarios.FieldByName(u"Categoria"_qs).SetAsString(u"Normal"_qs);
  usuarios.FieldByName(u"Empresas"_qs).SetAsString(codigos.join(u"\r\n"_qs));
  usuarios.FieldByName(u"Configuracion"_qs).SetAsString(u"ControlesNoVisibles="_qs + ocultos + u"\r\nContadorAccesos=3"_qs);
  usuarios.Post();
  usuario.Refresh();
  // Malformed lines of the help map give no program; CR alone ends a line too.
  TextFile::Write(carpeta.File(u"ZEMWIN.MAP"_qs),
                  u"#define Ventas 10\r#define  Doble 11\r\n#define\tTabulado\t12\r\n#define SinNumero\r\n"
                  "#define Letras 1a\r\n#define Cero 0\r\n#define Negativo -3\r\n\r\n#define Compras 10999 extra\r\n"_qs);
  CargarMapaAyuda();

  TfGENEUSER f;
  EXPECT_EQ(Textos(f, "LBProgramas"), QStringList({u"Ventas"_qs, u"Compras"_qs}));
  Ir(f, "O'NEIL");
  EXPECT_EQ(Textos(f, "ListaEmpresasAccesibles").size(), 10000);
  EXPECT_EQ(Textos(f, "ListaEmpresasAccesibles").value(1), u"2 - Dos"_qs);
  EXPECT_TRUE(Textos(f, "ListaEmpresasNoAccesibles").isEmpty());
  f.pbANoAccesiblesTodoClick();
  EXPECT_EQ(Textos(f, "ListaEmpresasNoAccesibles").size(), 10000);
  f.findChild<QListWidget*>(u"ListaEmpresasNoAccesibles"_qs)->item(0)->setSelected(true);
  f.pbAAccesiblesClick();
  f.pbConformeClick();
  EXPECT_EQ(Guardado("O''NEIL", "Empresas"), u"1"_qs);

  auto* arbol = f.findChild<QTreeWidget*>(u"TreeView1"_qs);
  ASSERT_EQ(arbol->topLevelItemCount(), 40);
  QTreeWidgetItem* ultimo = arbol->topLevelItem(39);
  while (ultimo->childCount() > 0) ultimo = ultimo->child(ultimo->childCount() - 1);
  const QString ruta = TfGENEUSER::RutaNodo(ultimo);
  arbol->setCurrentItem(ultimo);
  f.Eliminardelalista1Click();
  f.pbConformeClick();
  QStringList quedan = controles;
  quedan.removeOne(ruta);
  EXPECT_EQ(LeerConfigUsuario(u"O'NEIL"_qs, u"ControlesNoVisibles"_qs), quedan.join(u','));

  Elegir(f, {u"Compras"_qs});
  f.pbDeseleccionarClick();
  EXPECT_EQ(Guardado("O''NEIL", "ProgramasNoAccesibles"), u"Compras"_qs);
  mensajes.Expect(u"C"_qs, u"SI"_qs);
  f.SpeedButton1Click();
  EXPECT_EQ(LeerConfigUsuario(u"O'NEIL"_qs, u"ContadorAccesos"_qs), u"0"_qs);
}

}  // namespace
