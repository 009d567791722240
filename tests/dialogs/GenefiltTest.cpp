#include "core/connections/Conexiones.h"
#include "core/datamodule/CamposNoVisibles.h"
#include "core/startup/Configuracion.h"
#include "dialogs/Genefilt.h"
#include "platform/data/Database.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"
#include "platform/sqlite/Connection.h"
#include "tests/dialogs/BusquedaFixture.h"
#include "tests/dialogs/CapturaFormulario.h"
#include "tests/fixtures/SecondProcess.h"

#include <QApplication>
#include <QDir>

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <sqlite3.h>

namespace {

// The customers' table filtered through the dialog, driven as a user would.
class Genefilt : public BusquedaFixture {
 protected:
  void SetUp() override {
    Preparar();
    fGENEFILT = new TfGENEFILT();
    clientes.SetDatabaseName(BaseDatosBDE(u"Database"_qs));
    clientes.SetTableName(u"CLIENTES"_qs);
    clientes.Open();
  }
  void TearDown() override { delete fGENEFILT; }

  template <class T>
  static T* hijo(QWidget& formulario, const char* nombre) {
    return formulario.findChild<T*>(QString::fromLatin1(nombre));
  }
  static QPlainTextEdit& memo(QWidget& formulario) { return *hijo<QPlainTextEdit>(formulario, "MemoFiltros"); }
  static void agregar(QWidget& formulario, const QString& campo, const QString& operador, const QString& valor) {
    hijo<QComboBox>(formulario, "ListaCampos")->setCurrentText(campo);
    hijo<QComboBox>(formulario, "Operador")->setCurrentText(operador);
    hijo<QLineEdit>(formulario, "Valor")->setText(valor);
    static_cast<TfGENEFILT&>(formulario).pbAgregarClick();
  }
  static void pulsar(QWidget& formulario, const char* boton) { hijo<QPushButton>(formulario, boton)->click(); }

  QString filtros() { return EjecutarSQL(u"SELECT Descripcion FROM FILTRO ORDER BY Descripcion"_qs, u"Database"_qs); }

  Table clientes;
};

}  // namespace

TEST_F(Genefilt, LinesAreComposedFromFieldOperatorAndValueAndApplied) {
  QStringList campos;
  QString texto;
  AlMostrarse([&](QWidget& formulario) {
    for (int i = 0; i < hijo<QComboBox>(formulario, "ListaCampos")->count(); ++i)
      campos.append(hijo<QComboBox>(formulario, "ListaCampos")->itemText(i));
    agregar(formulario, u"Codigo"_qs, u">="_qs, u"100"_qs);
    agregar(formulario, u"Nombre"_qs, u"="_qs, QString());  // no value, no line
    agregar(formulario, u"Codigo"_qs, u"<"_qs, u"103"_qs);
    texto = memo(formulario).toPlainText();
    pulsar(formulario, "pbAplicar");
  });
  FiltrarTabla(clientes);
  EXPECT_EQ(fGENEFILT->Caption(), u"Filtrar Registros de la Tabla CLIENTES"_qs);
  // Memo fields never appear.
  EXPECT_EQ(campos, QStringList({u"Codigo"_qs, u"Nombre"_qs}));
  EXPECT_EQ(texto, u"(Codigo >= '100') AND\n(Codigo < '103')"_qs);
  EXPECT_TRUE(clientes.Filtered());
  EXPECT_EQ(clientes.RecordCount(), 3);
  EXPECT_EQ(clientes.FieldByName(u"Codigo"_qs).AsInteger(), 100);

  // A filtered table opens with its own filter; Restablecer removes it.
  AlMostrarse([&](QWidget& formulario) {
    texto = memo(formulario).toPlainText();
    pulsar(formulario, "pbRestablecer");
  });
  FiltrarTabla(clientes);
  EXPECT_EQ(texto, u"(Codigo >= '100') AND\n(Codigo < '103')"_qs);
  EXPECT_EQ(clientes.RecordCount(), 250);

  // Fields the user may not see are not offered.
  CamposNoVisiblesUsuario = u"Nombre"_qs;
  AlMostrarse([&](QWidget& formulario) {
    campos.clear();
    for (int i = 0; i < hijo<QComboBox>(formulario, "ListaCampos")->count(); ++i)
      campos.append(hijo<QComboBox>(formulario, "ListaCampos")->itemText(i));
    pulsar(formulario, "pbCancelar");
  });
  FiltrarTabla(clientes);
  EXPECT_EQ(campos, QStringList{u"Codigo"_qs});
}

TEST_F(Genefilt, AFilterTheEngineRefusesLeavesTheTableUnfiltered) {
  for (const QString& malo : {u"(Codigo >= '1' AND"_qs, QString(300, u'(') + u"Codigo = '1'"_qs + QString(300, u')')}) {
    mensajes.Expect(u"A"_qs);
    AlMostrarse([&](QWidget& formulario) {
      memo(formulario).setPlainText(malo);
      pulsar(formulario, "pbAplicar");
    });
    FiltrarTabla(clientes);
    EXPECT_FALSE(clientes.Filtered());
    EXPECT_EQ(clientes.RecordCount(), 250);
  }
  EXPECT_EQ(mensajes.Texts(), QStringList(2, u"¡La lista de filtros es incorrecta! Inténtelo de nuevo."_qs));
}

TEST_F(Genefilt, FiltersAreSavedUnderADescriptionAndLoadedAgain) {
  // The side tables a deleted record's rows are taken from.
  for (const char* tabla : {"RESPDOC", "DOCUTRON", "BLOBTAB", "GRANTAB"})
    Ejecutar(u"CREATE TABLE %1 (NombreTabla VARCHAR(30) NULL, ClaveTabla VARCHAR(250) NULL)"_qs.arg(QLatin1String(tabla)));
  Ejecutar(u"CREATE TABLE CONTACTO (NombreTabla VARCHAR(30) NULL, CodigoTabla VARCHAR(250) NULL)"_qs);
  Ejecutar(u"CREATE TABLE RELACION (NombreTablaA VARCHAR(30) NULL, ClaveTablaA VARCHAR(250) NULL, "
           "NombreTablaB VARCHAR(30) NULL, ClaveTablaB VARCHAR(250) NULL)"_qs);
  mensajes.Expect(u"P"_qs, u"Grandes"_qs);
  mensajes.Expect(u"P"_qs, u"Grandes"_qs);
  mensajes.Expect(u"A"_qs);
  mensajes.Expect(u"P"_qs, u"Pequeños"_qs);
  AlMostrarse([&](QWidget& formulario) {
    auto& dialogo = static_cast<TfGENEFILT&>(formulario);
    agregar(formulario, u"Codigo"_qs, u">"_qs, u"200"_qs);
    dialogo.GuardarComo1Click();
    dialogo.GuardarComo1Click();  // the same description again
    memo(formulario).setPlainText(u"(Codigo < '5')"_qs);
    dialogo.GuardarComo1Click();
    memo(formulario).setPlainText(u"(Codigo < '3')"_qs);
    dialogo.Guardar1Click();  // the one selected: Pequeños
    pulsar(formulario, "pbCancelar");
  });
  FiltrarTabla(clientes);
  EXPECT_EQ(mensajes.Texts().value(2), u"¡Imposible grabar el registro!"_qs);
  EXPECT_EQ(filtros(), u"Grandes\r\nPequeños"_qs);
  EXPECT_EQ(EjecutarSQL(u"SELECT Filtro FROM FILTRO WHERE Descripcion = 'Pequeños'"_qs, u"Database"_qs),
            u"(Codigo < '3')"_qs);
  EXPECT_FALSE(clientes.Filtered());

  // Reopened, the first saved filter is shown; choosing another loads it; the
  // last one deleted leaves the list empty.
  QString texto;
  AlMostrarse([&](QWidget& formulario) {
    auto& dialogo = static_cast<TfGENEFILT&>(formulario);
    CapturaFormulario(formulario, u"filtro"_qs);
    texto = memo(formulario).toPlainText();
    auto* lista = hijo<QComboBox>(formulario, "EditDescripcionFiltro");
    lista->setCurrentIndex(1);
    emit lista->activated(1);
    texto += u'|' + memo(formulario).toPlainText();
    dialogo.Eliminar1Click();
    dialogo.Eliminar1Click();
    texto += u'|' + QString::number(lista->count()) + u'|' + memo(formulario).toPlainText();
    pulsar(formulario, "pbAplicar");
  });
  FiltrarTabla(clientes);
  EXPECT_EQ(texto, u"(Codigo > '200')|(Codigo < '3')|0|"_qs);
  EXPECT_EQ(filtros(), QString());
  EXPECT_EQ(clientes.RecordCount(), 250);
}

namespace {

constexpr auto kCarpetaFiltro = "ZEM_PROGRAM_FOLDER";

// Another copy of the program editing the saved filter until told to stop.
void otraCopiaEditaFiltro() { OtraCopiaEditando(kCarpetaFiltro, u"FILTRO"_qs); }

[[maybe_unused]] const bool editando = SecondProcess::RegisterJob(u"filtro-otra-copia"_qs, otraCopiaEditaFiltro);

}  // namespace

TEST_F(Genefilt, AFilterAnotherCopyIsEditingIsNotSaved) {
  Ejecutar(u"INSERT INTO FILTRO (NombreTabla, Descripcion, Filtro) VALUES ('CLIENTES', 'Grandes', '(Codigo > ''200'')')"_qs);
  SecondProcess otra(u"filtro-otra-copia"_qs, {{QString::fromLatin1(kCarpetaFiltro), carpeta.Path()}});
  ASSERT_EQ(otra.ReadReport(), u"editando"_qs);
  mensajes.Expect(u"A"_qs);
  AlMostrarse([&](QWidget& formulario) {
    memo(formulario).setPlainText(u"(Codigo > '1')"_qs);
    static_cast<TfGENEFILT&>(formulario).Guardar1Click();
    pulsar(formulario, "pbCancelar");
  });
  FiltrarTabla(clientes);
  otra.Send(u"fin"_qs);
  EXPECT_EQ(otra.Finish(), 0);
  EXPECT_EQ(mensajes.Texts(), QStringList{u"¡El registro está siendo utilizado por otro usuario!"_qs});
  EXPECT_EQ(EjecutarSQL(u"SELECT Filtro FROM FILTRO"_qs, u"Database"_qs), u"(Codigo > '200')"_qs);
}

namespace {

// Counts the rows the engine hands over on the company database's
// connection, which every dataset on that file shares.
class FilasEntregadas {
 public:
  explicit FilasEntregadas(const QString& archivo) : conexion_(OpenConnection(archivo)) {
    sqlite3_trace_v2(conexion_->Handle(), SQLITE_TRACE_ROW, &FilasEntregadas::contar, this);
  }
  ~FilasEntregadas() { sqlite3_trace_v2(conexion_->Handle(), 0, nullptr, nullptr); }
  qint64 Filas() const { return filas_; }

 private:
  static int contar(unsigned, void* contador, void*, void*) {
    ++static_cast<FilasEntregadas*>(contador)->filas_;
    return 0;
  }
  std::shared_ptr<Connection> conexion_;
  qint64 filas_ = 0;
};

}  // namespace

TEST_F(Genefilt, AFilterOnAHundredThousandRecordsReadsOnlyToItsFirstPage) {
  const QString archivo = Conexiones(Servicios()).Database->FileName();
  OpenConnection(archivo)->Execute(
      u"WITH RECURSIVE n(i) AS (SELECT 1001 UNION ALL SELECT i + 1 FROM n WHERE i < 100250) "
      "INSERT INTO CLIENTES (Codigo, Nombre) SELECT i, 'Socio ' || i FROM n"_qs);
  clientes.Refresh();
  AlMostrarse([](QWidget& formulario) {
    agregar(formulario, u"Codigo"_qs, u">="_qs, u"50000"_qs);
    pulsar(formulario, "pbAplicar");
  });
  const FilasEntregadas entregadas(archivo);
  FiltrarTabla(clientes);
  QStringList pagina;
  for (int fila = 0; fila < 50 && !clientes.Eof(); ++fila, clientes.Next())
    pagina << clientes.FieldByName(u"Codigo"_qs).AsString();
  EXPECT_EQ(EjecutarSQL(u"SELECT COUNT(*) FROM CLIENTES"_qs, u"Database"_qs), u"99500"_qs);
  clientes.Next();
  EXPECT_EQ(clientes.FieldByName(u"Codigo"_qs).AsInteger(), 50051);
  ASSERT_EQ(pagina.size(), 50);
  EXPECT_EQ(pagina.front() + u'-' + pagina.back(), u"50000-50049"_qs);
  EXPECT_LT(entregadas.Filas(), 1000) << "the filtered table is read a block at a time, not whole";
}

TEST_F(Genefilt, AltAAddsTheLineItsThreeOwnersWouldShare) {
  QString texto;
  bool abierto = false;
  AlMostrarse([&](QWidget& formulario) {
    QApplication::setActiveWindow(&formulario);
    hijo<QComboBox>(formulario, "ListaCampos")->setCurrentText(u"Codigo"_qs);
    auto* valor = hijo<QLineEdit>(formulario, "Valor");
    valor->setText(u"7"_qs);
    valor->setFocus();
    QTest::keyClick(valor, Qt::Key_A, Qt::AltModifier);
    // "&Aplicar" has taken another letter: Alt+A presses "&Agregar", before the menu.
    (void)QTest::qWaitFor([&] { return !memo(formulario).toPlainText().isEmpty(); }, 5000);
    texto = memo(formulario).toPlainText();
    abierto = formulario.isVisible();
    pulsar(formulario, "pbCancelar");
  });
  FiltrarTabla(clientes);
  EXPECT_EQ(texto, u"(Codigo = '7')"_qs);
  EXPECT_TRUE(abierto) << "\"&Aplicar\" was not pressed";
}
