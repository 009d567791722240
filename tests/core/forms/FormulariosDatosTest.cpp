#include "core/connections/Conexiones.h"
#include "core/datamodule/ConfiguracionUsuario.h"
#include "core/datamodule/Genemodu.h"
#include "core/forms/ControlesNoVisibles.h"
#include "core/forms/GanchosFormulario.h"
#include "core/forms/PreparacionFormulario.h"
#include "core/forms/TablasFormulario.h"
#include "core/sql/BaseDatosSQL.h"
#include "platform/Form.h"
#include "platform/controls/DBEdit.h"
#include "platform/controls/DBGrid.h"
#include "platform/data/DataSource.h"
#include "platform/data/Database.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"
#include "tests/core/connections/ConexionesFixture.h"

#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QTabWidget>

namespace {

const QString kClave = QStringLiteral("ControlesNoVisibles");

// The embedded-server installation with the users ANA (a hidden-controls
// list) and LUIS (another list, without its last comma), and the data
// module ready.
class FormulariosDatos : public ConexionesFixture, public ModuloConUsuarios {
 protected:
  FormulariosDatos() {
    Iniciar();
    CrearUsuarios(u"Codigo, Categoria, Configuracion"_qs,
                  u"('ANA', 'Normal', 'ControlesNoVisibles=fA.Edit1,fA.Edit2,fA.Pagina2,fA.DBGrid1.Table1Nombre,'), "
                  "('LUIS', 'Normal', 'ControlesNoVisibles=fX.Boton')"_qs);
    ModuloDatosListo = true;
    CodigoUsuarioActual = u"ANA"_qs;
  }
  ~FormulariosDatos() override { ModuloDatosListo = false; }

  // A company table CLIENTES (Codigo, Nombre), created on the company database.
  Table* Clientes(QObject& propietario) {
    Ejecutar(u"CREATE TABLE CLIENTES (Codigo INT NOT NULL, Nombre VARCHAR(20) NULL, "
             "CONSTRAINT CLIENTES_Clave1 PRIMARY KEY (Codigo))"_qs);
    Ejecutar(u"INSERT INTO CLIENTES (Codigo, Nombre) VALUES (1, 'Ana')"_qs);
    auto* tabla = new Table(&propietario);
    tabla->setObjectName(u"Table1"_qs);
    tabla->SetTableName(u"CLIENTES"_qs);
    return tabla;
  }
};

template <typename T>
T* Control(QWidget* padre, const char* nombre) {
  auto* control = new T(padre);
  control->setObjectName(QString::fromLatin1(nombre));
  return control;
}

}  // namespace

TEST_F(FormulariosDatos, TheUsersListHidesControlsTabsAndGridColumnsOfThatFormOnly) {
  ModoControlesNoVisiblesActivado = true;
  Form fA, fB;
  fA.setObjectName(u"fA"_qs);
  fB.setObjectName(u"fB"_qs);
  auto* edit1 = Control<QLineEdit>(&fA, "Edit1");
  auto* edit2 = Control<DBEdit>(&fA, "Edit2");
  auto* edit3 = Control<QLineEdit>(&fA, "Edit3");
  auto* paginas = Control<QTabWidget>(&fA, "PageControl1");
  auto* pagina2 = Control<QWidget>(nullptr, "Pagina2");
  paginas->addTab(Control<QWidget>(nullptr, "Pagina1"), u"Uno"_qs);
  paginas->addTab(pagina2, u"Dos"_qs);
  Table* tabla = Clientes(fA);
  auto* fuente = Control<DataSource>(nullptr, "DataSource1");
  fuente->setParent(&fA);
  fuente->SetDataSet(tabla);
  auto* rejilla = Control<DBGrid>(&fA, "DBGrid1");
  rejilla->SetSource(fuente);
  auto* otro = Control<QLineEdit>(&fB, "Edit1");

  AbrirTablasFormulario(fA);
  PrepararFormulario(fB);
  EXPECT_TRUE(edit1->isHidden());
  EXPECT_TRUE(edit2->isHidden());
  EXPECT_FALSE(edit3->isHidden());
  EXPECT_FALSE(otro->isHidden()) << "the same name on another form";
  EXPECT_FALSE(paginas->isTabVisible(1)) << "a listed page loses its tab";
  EXPECT_EQ(paginas->indexOf(pagina2), 1) << "and keeps its page";
  ASSERT_TRUE(tabla->Active());
  ASSERT_EQ(rejilla->ColumnCount(), 2);
  EXPECT_TRUE(rejilla->ColumnVisible(0));
  EXPECT_FALSE(rejilla->ColumnVisible(1));
  EXPECT_EQ(ControlesNoVisibles.Count(), 4);
}

TEST_F(FormulariosDatos, TheAdministratorsListIsAppendedToEachUserNamed) {
  ModoAdministradorActivado = true;
  ControlesNoVisibles.SetText(u"fA.Edit9\r\nfA.Edit8"_qs);
  mensajes.Expect(u"C"_qs, u"NO"_qs).Expect(u"P"_qs, u"ANA,LUIS"_qs);
  ListaControlesNoVisibles();
  EXPECT_EQ(LeerConfigUsuario(u"ANA"_qs, kClave),
            u"fA.Edit1,fA.Edit2,fA.Pagina2,fA.DBGrid1.Table1Nombre,fA.Edit8,fA.Edit9,"_qs);
  EXPECT_EQ(LeerConfigUsuario(u"LUIS"_qs, kClave), u"fX.Boton,fA.Edit8,fA.Edit9,"_qs)
      << "two lists keep their names apart";
  mensajes.Expect(u"C"_qs, u"NO"_qs).Expect(u"P"_qs, QString());
  ListaControlesNoVisibles();
  EXPECT_EQ(LeerConfigUsuario(u"LUIS"_qs, kClave), u"fX.Boton,fA.Edit8,fA.Edit9,"_qs) << "an empty answer";
}

TEST_F(FormulariosDatos, ClosingWithRecordsNotPosted) {
  Form formulario;
  formulario.SetCaption(u"Clientes"_qs);
  Table* tabla = Clientes(formulario);
  AbrirTablasFormulario(formulario);
  const struct {
    const char* respuesta;
    int codigo;  // 0: first field left empty; 1: a key that exists
    bool cierra;
    DataSetState estado;
    int filas;
  } casos[] = {
      {"SI", 5, true, dsBrowse, 1},
      {"NO", 0, true, dsBrowse, 1},
      {"NO", 1, false, dsInsert, 1},  // Post refuses the duplicate key
      {"NO", 6, true, dsBrowse, 2},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.codigo);
    tabla->Append();
    if (caso.codigo) tabla->FieldByName(u"Codigo"_qs).SetAsInteger(caso.codigo);
    mensajes.Expect(u"C"_qs, QString::fromLatin1(caso.respuesta));
    if (!caso.cierra) mensajes.Expect(u"A"_qs);
    bool cierra = true;
    formulario.OnCloseQuery(formulario, cierra);
    EXPECT_EQ(cierra, caso.cierra);
    EXPECT_EQ(tabla->State(), caso.estado);
    EXPECT_EQ(EjecutarSQL(u"SELECT COUNT(*) FROM CLIENTES"_qs, u"Database"_qs), QString::number(caso.filas));
    if (tabla->State() != dsBrowse) tabla->Cancel();
  }
  EXPECT_EQ(mensajes.Texts().first(),
            u"Hay registros de Clientes (Table1, )  cuya grabación no ha sido confirmada. ¿Desea cancelar la grabación?"_qs);
}

TEST_F(FormulariosDatos, TablesOpenOnTheirDatabaseAndMissingOnesAreCreated) {
  Form formulario;
  formulario.setObjectName(u"fPRUEBA"_qs);
  auto* filtros = Control<Table>(nullptr, "Table1");
  auto* idiomas = Control<Table>(nullptr, "Table2");
  auto* parametros = Control<Table>(nullptr, "Table3");
  for (auto [tabla, nombre] : {std::pair{filtros, "FILTRO"}, {idiomas, "IDIOMA"}, {parametros, "PARAGENE"}}) {
    tabla->setParent(&formulario);
    tabla->SetDatabaseName(u"OTRA"_qs);
    tabla->SetTableName(QString::fromLatin1(nombre));
  }
  EmpresaActual = 0;
  AbrirTablasFormulario(formulario);
  const TConexiones& conexiones = Conexiones(Servicios());
  EXPECT_TRUE(filtros->Active()) << "created from its definition";
  EXPECT_EQ(filtros->DatabaseName(), conexiones.Database->DatabaseName());
  EXPECT_TRUE(filtros->FindField(u"Descripcion"_qs));
  EXPECT_TRUE(idiomas->Active());
  EXPECT_EQ(idiomas->DatabaseName(), conexiones.DatabaseGeneral->DatabaseName());
  EXPECT_FALSE(parametros->Active()) << "no company selected";
}

TEST_F(FormulariosDatos, RightsAndATableThatCannotBeCreated) {
  const struct {
    const char* derecho;
    const char* tabla;
    bool soloLectura;
    bool cierra;
  } casos[] = {
      {"Total", "IDIOMA", false, false},
      {"Solo Lectura", "IDIOMA", true, false},
      {"Ninguno", "IDIOMA", false, true},
      {"Total", "NOEXISTE", false, true},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.derecho + std::string(" ") + caso.tabla);
    Ganchos().DerechoAccesoPrograma = [&](const QString& usuario, const QString& programa) {
      EXPECT_EQ(usuario + programa, u"ANAClientes"_qs);
      return QString::fromLatin1(caso.derecho);
    };
    Form formulario;
    formulario.SetCaption(u"Clientes"_qs);
    int cierres = 0;
    formulario.OnCloseQuery = [&](Form&, bool&) { ++cierres; };
    auto* tabla = Control<Table>(nullptr, "Table1");
    auto* otra = Control<Table>(nullptr, "Table2");
    tabla->setParent(&formulario);
    otra->setParent(&formulario);
    tabla->SetTableName(QString::fromLatin1(caso.tabla));
    otra->SetTableName(u"IDIOMA"_qs);
    if (QLatin1String(caso.tabla) == QLatin1String("NOEXISTE")) mensajes.Expect(u"A"_qs);
    AbrirTablasFormulario(formulario);
    EXPECT_TRUE(otra->Active()) << "the other tables are still opened";
    EXPECT_EQ(otra->ReadOnly(), caso.soloLectura);
    EXPECT_EQ(cierres, 0) << "closed once the set-up is over";
    QCoreApplication::processEvents();
    EXPECT_EQ(cierres, caso.cierra ? 1 : 0);
  }
  EXPECT_TRUE(mensajes.Texts().last().contains(u"NOEXISTE"_qs));
}

TEST_F(FormulariosDatos, RefreshKeepsTheRecordShownAndSeesOtherWrites) {
  Form formulario;
  Table* tabla = Clientes(formulario);
  Ejecutar(u"INSERT INTO CLIENTES (Codigo, Nombre) VALUES (2, 'Luis')"_qs);
  AbrirTablasFormulario(formulario);
  for (const char* modo : {"Apertura/Cierre", "", "Apertura/Cierre"}) {
    SCOPED_TRACE(modo);
    tabla->Last();
    Ejecutar(u"INSERT INTO CLIENTES (Codigo, Nombre) VALUES (0, 'Cero')"_qs);
    RefrescarTablasFormulario(formulario, QString::fromLatin1(modo));
    EXPECT_EQ(tabla->FieldByName(u"Codigo"_qs).AsInteger(), 2);
    if (*modo) {
      EXPECT_EQ(tabla->RecordCount(), 3) << "opened again";
    }
    Ejecutar(u"DELETE FROM CLIENTES WHERE Codigo = 0"_qs);
    RefrescarTablasFormulario(formulario, u"Apertura/Cierre"_qs);
  }
  Ejecutar(u"DELETE FROM CLIENTES"_qs);
  RefrescarTablasFormulario(formulario, u"Apertura/Cierre"_qs);
  EXPECT_TRUE(tabla->Active() && tabla->IsEmpty());
}

TEST_F(FormulariosDatos, ATimeFieldShowsNothingForZeroAndCompletesAWholeHour) {
  Ejecutar(u"CREATE TABLE FICHAJE (Id INT NOT NULL, HoraEntrada DATETIME NULL, Alta DATETIME NULL, "
           "CONSTRAINT FICHAJE_Clave1 PRIMARY KEY (Id))"_qs);
  Form formulario;
  auto* tabla = Control<Table>(nullptr, "Table1");
  tabla->setParent(&formulario);
  tabla->SetTableName(u"FICHAJE"_qs);
  new Field(tabla, u"Id"_qs, ftInteger);
  auto* hora = new Field(tabla, u"HoraEntrada"_qs, ftDateTime);
  hora->setObjectName(u"Table1HoraEntrada"_qs);
  auto* alta = new Field(tabla, u"Alta"_qs, ftDateTime);
  alta->setObjectName(u"Table1Alta"_qs);
  AbrirTablasFormulario(formulario);
  ASSERT_TRUE(tabla->Active());
  tabla->Append();
  tabla->FieldByName(u"Id"_qs).SetAsInteger(1);
  hora->SetAsDateTime(0);
  alta->SetAsDateTime(0);
  EXPECT_EQ(hora->DisplayText(), QString()) << "a zero time";
  EXPECT_EQ(alta->DisplayText(), QString()) << "a zero date";
  const struct {
    const char* tecleado;
    const char* mostrado;
  } casos[] = {{"9", "09:00:00"}, {"14:30", "14:30:00"}, {"", ""}};
  for (const auto& caso : casos) {
    hora->SetText(QString::fromLatin1(caso.tecleado));
    EXPECT_EQ(hora->DisplayText(), QString::fromLatin1(caso.mostrado)) << caso.tecleado;
  }
}

TEST_F(FormulariosDatos, ClosingTheMainWindowLogsTheOpenFormsMdiChildrenIncluded) {
  QStringList registrados;
  Ganchos().RegistrarUso = [&](const QString& accion, QWidget& formulario) {
    registrados.append(accion + u' ' + formulario.objectName());
  };
  QMainWindow principal;
  auto* area = new QMdiArea;
  principal.setCentralWidget(area);
  Form suelto, interno;
  suelto.setObjectName(u"fCLIENTES"_qs);
  interno.setObjectName(u"fGENEUSER"_qs);
  auto* hija = new Form;
  hija->setObjectName(u"fPEDIDOS"_qs);
  area->addSubWindow(hija);
  ListaControlesNoVisibles();
  Ganchos().RegistrarUso = nullptr;
  registrados.sort();
  EXPECT_EQ(registrados, QStringList({u"Close fCLIENTES"_qs, u"Close fPEDIDOS"_qs}));
}
