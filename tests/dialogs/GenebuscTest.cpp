#include "core/connections/ConexionEmpresa.h"
#include "core/connections/Conexiones.h"
#include "core/datamodule/Genemodu.h"
#include "core/datamodule/TextosPlantilla.h"
#include "core/forms/FormatosCampo.h"
#include "core/services/RutinasBusqueda.h"
#include "core/startup/Configuracion.h"
#include "dialogs/Genebusa.h"
#include "dialogs/Genebusc.h"
#include "dialogs/Genebusq.h"
#include "dialogs/PatronAproximado.h"
#include "platform/controls/DBGrid.h"
#include "platform/data/ClientDataset.h"
#include "platform/data/Field.h"
#include "platform/format/Format.h"
#include "tests/dialogs/BusquedaFixture.h"
#include "tests/dialogs/CapturaFormulario.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTableWidget>

namespace {

QStringList texto(const Variant& claves) {
  if (claves.IsNull()) return {u"Null"_qs};
  QStringList valores;
  for (const Variant& clave : claves.Elements()) valores.append(clave.AsString());
  return valores;
}

// The launcher on the record search, driven as a user would.
class Lanzador : public BusquedaFixture {
 protected:
  void SetUp() override {
    Preparar();
    InstalarRutinasBusqueda(::Genebusc::Rutinas());
    fGENEBUSQ = new TfGENEBUSQ();
  }
  void TearDown() override { delete fGENEBUSQ; }

  // In the dialog: the value typed, searched by the fields, and the first row
  // accepted (nothing accepted with aceptar false).
  static void Elegir(const QString& campos, const QString& dato, bool aceptar = true, QString* visto = nullptr) {
    AlMostrarse([=](QWidget& formulario) {
      auto& busqueda = static_cast<TfGENEBUSQ&>(formulario);
      if (visto) *visto = busqueda.findChild<QLineEdit*>(u"DatoABuscar"_qs)->text() + u'|' + busqueda.UltimaSentencia();
      if (!campos.isEmpty()) {
        busqueda.findChild<QComboBox*>(u"ListaCamposBusqueda"_qs)->setCurrentText(campos);
        busqueda.findChild<QLineEdit*>(u"DatoABuscar"_qs)->setText(dato);
        busqueda.pbBuscarClick(false);
      }
      if (aceptar)
        busqueda.pbConformeClick();
      else
        busqueda.findChild<QPushButton*>(u"pbCancelar"_qs)->click();
    });
  }
};

}  // namespace

TEST_F(Lanzador, GivesTheChosenKeyOrNull) {
  Elegir(u"Nombre"_qs, u"Cliente 005"_qs);
  EXPECT_EQ(texto(BuscarDato(u"CLIENTES"_qs, 0)), QStringList{u"5"_qs});
  Elegir(u"Nombre"_qs, u"Cliente 005"_qs, false);
  EXPECT_EQ(texto(BuscarDato(u"CLIENTES"_qs, 0)), QStringList{u"Null"_qs});
  EXPECT_EQ(texto(BuscarDato(QString(), 0)), QStringList{u"Null"_qs});
  // Nothing found: accepting chooses nothing.
  Elegir(u"Nombre"_qs, u"Zzz"_qs);
  EXPECT_EQ(texto(BuscarDato(u"CLIENTES"_qs, 0)), QStringList{u"Null"_qs});
}

TEST_F(Lanzador, AConditionAndADefaultValueHoldForOneRequestOnly) {
  QString visto;
  Elegir(QString(), QString(), true, &visto);
  EXPECT_EQ(texto(BuscarDatoFiltrado(u"CLIENTES"_qs, 0, u"Codigo > 200"_qs)), QStringList{u"201"_qs});
  // CLIENTES has no remembered search: its results are not ordered.
  EXPECT_EQ(visto, u"|SELECT TOP 100 Codigo,Nombre FROM CLIENTES WITH(NOLOCK)  WHERE Codigo > 200"_qs);
  Elegir(QString(), QString(), false, &visto);
  BuscarDato(u"CLIENTES"_qs, 0);
  EXPECT_EQ(visto, u"|"_qs);  // no condition: the dialog waits for the user

  Elegir(QString(), QString(), false, &visto);
  EXPECT_EQ(texto(BuscarDatoPorDefecto(u"CLIENTES"_qs, 0, QString(), u"Cliente 009"_qs)), QStringList{u"Null"_qs});
  EXPECT_EQ(visto, u"Cliente 009|"_qs);
  Elegir(QString(), QString(), false, &visto);
  BuscarDato(u"CLIENTES"_qs, 0);
  EXPECT_EQ(visto, u"|"_qs);
}

TEST_F(Lanzador, ARecordSearchStartsFromTheCurrentKeyAndMovesToTheChosenOne) {
  Table clientes;
  clientes.SetDatabaseName(BaseDatosBDE(u"Database"_qs));
  clientes.SetTableName(u"CLIENTES"_qs);
  clientes.Open();
  ASSERT_TRUE(clientes.Locate(u"Codigo"_qs, Variant::Integer(7)));
  QString visto;
  Elegir(u"Codigo"_qs, u"12"_qs, true, &visto);
  EXPECT_EQ(texto(BuscarRegistro(clientes, 0)), QStringList{u"12"_qs});
  EXPECT_EQ(visto, u"7|"_qs);
  EXPECT_EQ(clientes.FieldByName(u"Nombre"_qs).AsString(), u"Cliente 012"_qs);
}

TEST_F(Lanzador, ACompanyIsChosenThroughTheDialog) {
  QString visto;
  // The companies table is made, with company 1, when first read.
  ASSERT_EQ(EjecutarSQL(u"SELECT COUNT(*) FROM EMPRESA"_qs, u"DatabaseGeneral"_qs), u"1"_qs);
  Elegir(QString(), QString(), true, &visto);
  SeleccionarEmpresa(Servicios());
  EXPECT_EQ(EmpresaActual, 1);
  // A general table is searched as soon as the dialog opens.
  EXPECT_TRUE(visto.contains(u"FROM EMPRESA WITH(NOLOCK)"_qs)) << visto.toStdString();
}

TEST_F(Lanzador, ATemplateTextIsChosenWithItsCodeAsTheSearchsValue) {
  Ejecutar(u"CREATE TABLE TEXTO (Codigo VARCHAR(10) NOT NULL, Descripcion VARCHAR(40) NULL, Tipo VARCHAR(20) NULL, "
           "Texto TEXT NULL, CONSTRAINT TEXTO_Clave1 PRIMARY KEY (Codigo))"_qs);
  Ejecutar(u"INSERT INTO TEXTO (Codigo, Descripcion, Tipo, Texto) VALUES ('SALUDO', 'Saludo', 'Texto', 'Hola')"_qs);
  QString visto;
  Elegir(u"Codigo"_qs, u"SAL"_qs, true, &visto);
  EXPECT_EQ(TextoPlantilla(u"SAL"_qs), u"Hola"_qs);
  EXPECT_EQ(visto, u"SAL|"_qs);
  Elegir(QString(), QString(), false);
  EXPECT_EQ(TextoPlantilla(u"SAL"_qs), QString());  // cancelled: nothing chosen
}

TEST(PatronAproximado, WidensAccentsAndLettersThatSoundAlike) {
  const std::pair<const char16_t*, const char16_t*> casos[] = {
      {u"Chávez", u"[ct][hxz][aá][bv][eé]z"}, {u"Yoli", u"[iíy][oó]l[iíy]"},    {u"kilo", u"[ck][iíy]l[oó]"},
      {u"Txabez", u"[ct][hxz][aá][bv][eé]z"}, {u"ÁNGEL", u"Áng[eé]l"},             {u"50%_", u"50%_"},
  };
  for (const auto& [valor, patron] : casos)
    EXPECT_EQ(PatronAproximado(QString::fromUtf16(valor)), QString::fromUtf16(patron)) << QString::fromUtf16(valor).toStdString();
}

namespace {

// The launcher on the approximate search.
class Genebusa : public BusquedaFixture, public ::testing::WithParamInterface<const char*> {
 protected:
  void SetUp() override {
    Preparar(QString::fromLatin1(GetParam()));
    Ejecutar(u"UPDATE CLIENTES SET Nombre = 'Chávez' WHERE Codigo = 77"_qs);
    InstalarRutinasBusqueda(::Genebusc::Rutinas());
    BusquedaAproximadaActivada = true;
    fGENEBUSA = new TfGENEBUSA();
  }
  void TearDown() override { delete fGENEBUSA; }

  // Fills the criteria, searches and accepts with the default button.
  static void Buscar(const QMap<QString, QString>& valores, QString* visto = nullptr) {
    AlMostrarse([=](QWidget& formulario) {
      auto& busqueda = static_cast<TfGENEBUSA&>(formulario);
      auto* criterios = busqueda.findChild<QTableWidget*>(u"ValueListEditor"_qs);
      QStringList filas;
      for (int fila = 0; fila < criterios->rowCount(); ++fila) {
        const QString columna = criterios->item(fila, 0)->data(Qt::UserRole).toString();
        filas.append(columna);
        criterios->item(fila, 1)->setText(valores.value(columna));
      }
      busqueda.pbBuscarClick();
      CapturaFormulario(busqueda, u"busqueda-aproximada-"_qs + QString::number(valores.size()));
      if (visto) *visto = filas.join(u',') + u'|' + busqueda.Condicion() + u'|' + busqueda.UltimaSentencia();
      busqueda.findChild<QPushButton*>(u"pbConforme"_qs)->click();
    });
  }
};

}  // namespace

TEST_P(Genebusa, EveryFilledColumnIsAContainsMatch) {
  QString visto;
  Buscar({{u"Codigo"_qs, u"2"_qs}, {u"Nombre"_qs, u"e 12"_qs}}, &visto);
  EXPECT_EQ(texto(BuscarDato(u"CLIENTES"_qs, 0)), QStringList{u"120"_qs});
  const QString nombre = EsSQLServer() ? u"[eé] 12"_qs : u"e 12"_qs;
  EXPECT_EQ(visto, u"Codigo,Nombre| WHERE (Codigo LIKE '%2%') AND (Nombre LIKE '%"_qs + nombre +
                       u"%')|SELECT TOP 100 * FROM CLIENTES WHERE (Codigo LIKE '%2%') AND (Nombre LIKE '%"_qs + nombre +
                       u"%') ORDER BY Codigo"_qs);

  // On SQL Server the value is widened: tx sounds as ch, b as v.
  Buscar({{u"Nombre"_qs, u"Txabez"_qs}});
  EXPECT_EQ(texto(BuscarDato(u"CLIENTES"_qs, 0)), EsSQLServer() ? QStringList{u"77"_qs} : QStringList{u"Null"_qs});
  // Accepting with no row chooses nothing; a quote is searched as typed.
  Buscar({{u"Nombre"_qs, u"O'Brien"_qs}});
  EXPECT_EQ(texto(BuscarDato(u"CLIENTES"_qs, 0)), QStringList{u"Null"_qs});
  EXPECT_EQ(fGENEBUSA->ModalResult(), mrCancel);

  // Columns the user may not see are not offered.
  CamposNoVisiblesUsuario = u"Nombre"_qs;
  Buscar({{u"Codigo"_qs, u"250"_qs}}, &visto);
  EXPECT_EQ(texto(BuscarDato(u"CLIENTES"_qs, 0)), QStringList{u"250"_qs});
  EXPECT_TRUE(visto.startsWith(u"Codigo|"_qs)) << visto.toStdString();
}

TEST_P(Genebusa, NoValueTypedAsksForOne) {
  mensajes.Expect(u"I"_qs);
  AlMostrarse([](QWidget& formulario) {
    static_cast<TfGENEBUSA&>(formulario).pbBuscarClick();
    formulario.close();
  });
  EXPECT_EQ(texto(BuscarDato(u"CLIENTES"_qs, 0)), QStringList{u"Null"_qs});
  EXPECT_EQ(mensajes.Texts(), QStringList{u"¡Debe introducir alguna restricción para realizar la búsqueda!"_qs});
}

// The rows found draw a float in the suite's number format and a date-time
// field named for an hour as the time alone; other date-times as they are.
TEST_P(Genebusa, TheGridShowsFloatsInTheNumberFormatAndHoursAsTheTimeAlone) {
  Ejecutar(u"CREATE TABLE TURNOS (Codigo INTEGER NOT NULL, Precio FLOAT NULL, HoraEntrada DATETIME NULL, "
           "Fecha DATETIME NULL, CONSTRAINT TURNOS_Clave1 PRIMARY KEY (Codigo))"_qs);
  Ejecutar(u"INSERT INTO TURNOS (Codigo, Precio, HoraEntrada, Fecha) VALUES "
           "(1, 1234.5, '2024-05-03 08:30:00', '2024-05-03 08:30:00')"_qs);
  // The prices' template, so that a float shown without it tells.
  const QScopedValueRollback plantillaPrecios(PlantillasNumericas[2], u"#,##0.00"_qs);
  QMap<QString, QString> celdas;
  AlMostrarse([&celdas](QWidget& formulario) {
    auto& busqueda = static_cast<TfGENEBUSA&>(formulario);
    auto* criterios = busqueda.findChild<QTableWidget*>(u"ValueListEditor"_qs);
    for (int fila = 0; fila < criterios->rowCount(); ++fila)
      if (criterios->item(fila, 0)->data(Qt::UserRole).toString() == u"Codigo")
        criterios->item(fila, 1)->setText(u"1"_qs);
    busqueda.pbBuscarClick();
    auto* rejilla = busqueda.findChild<DBGrid*>(u"DBGrid1"_qs);
    for (int columna = 0; columna < rejilla->ColumnCount(); ++columna)
      celdas.insert(rejilla->ColumnFieldName(columna), rejilla->model()->index(0, columna).data().toString());
    CapturaFormulario(busqueda, u"busqueda-aproximada-formatos"_qs);
    busqueda.findChild<QPushButton*>(u"pbConforme"_qs)->click();
  });
  EXPECT_EQ(texto(BuscarDato(u"TURNOS"_qs, 0)), QStringList{u"1"_qs});
  EXPECT_EQ(celdas.value(u"Precio"_qs), u"1.234,50"_qs);
  EXPECT_EQ(celdas.value(u"HoraEntrada"_qs), u"08:30:00"_qs);
  EXPECT_TRUE(celdas.value(u"Fecha"_qs).startsWith(u"03/05/2024"_qs)) << celdas.value(u"Fecha"_qs).toStdString();
}

INSTANTIATE_TEST_SUITE_P(Motores, Genebusa, ::testing::Values("Microsoft SQL Server", "Paradox"));
