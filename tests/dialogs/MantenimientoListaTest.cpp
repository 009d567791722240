#include "core/services/MantenimientoLista.h"
#include "core/services/PosicionFormulario.h"
#include "dialogs/Genemlis.h"
#include "platform/FormRegistry.h"
#include "platform/controls/DBGrid.h"
#include "platform/controls/DatasetModel.h"
#include "platform/data/DataSource.h"
#include "platform/data/Field.h"
#include "platform/data/Session.h"
#include "platform/data/Table.h"
#include "platform/sqlite/Connection.h"
#include "tests/core/connections/ConexionesFixture.h"
#include "tests/dialogs/FilasTabla.h"
#include "tests/dialogs/FormularioEnPantalla.h"
#include "tests/fixtures/SecondProcess.h"

#include <QDir>

#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace {

const QString kEmpresas = u"Titulo=Selección de Empresa\r\nModo=Consulta\r\nFormato=0,0,300,300\r\nNumeroCampos=2\r\n"
                          "DefinicionCampos=Codigo,ftInteger,0;Nombre,ftString,40;"_qs;
const QString kLineas = u"1|Alfa\r\n2|Beta"_qs;

QString conModo(const QString& modo) { return QString(kEmpresas).replace(u"Modo=Consulta"_qs, u"Modo="_qs + modo); }

void pulsar(QWidget& formulario, const char* boton) {
  QTest::mouseClick(formulario.findChild<QPushButton*>(QLatin1String(boton)), Qt::LeftButton);
}


constexpr char kCarpeta[] = "ZEM_PROGRAM_FOLDER";

// A second running program with its own list open: it reports the table it
// shows, waits for a line, and reports what it got back.
void listaEnOtraInstancia() {
  QDir::setCurrent(qEnvironmentVariable(kCarpeta));
  const ScriptedPresenter sinMensajes;
  TfGENEINIC servicios({});
  RegistrarGENEMLIS();
  AlMostrarse<TfGENEMLIS>(fGENEMLIS, [](TfGENEMLIS& formulario) {
    SecondProcess::Report(formulario.Temporal().TableName());
    SecondProcess::NextLine();
    formulario.SetModalResult(mrOk);
  });
  SecondProcess::Report(MantenimientoLista(conModo(u"Normal"_qs), u"7|Otra"_qs));
  SecondProcess::NextLine();
}

[[maybe_unused]] const bool registrado = SecondProcess::RegisterJob(u"lista-en-otra-instancia"_qs, listaEnOtraInstancia);

}  // namespace

class MantenimientoListaTest : public ConexionesFixture {
 protected:
  MantenimientoListaTest() {
    Iniciar();
    RegistrarGENEMLIS();
  }
  ~MantenimientoListaTest() override { FormRegistry::Clear(); }

  // The temporary table the form showed, which must be gone afterwards.
  void RecordarTabla(TfGENEMLIS& formulario) {
    tablaVista = formulario.Temporal().TableName();
    baseVista = formulario.Temporal().DatabaseName();
  }
  bool TablaBorrada() {
    Table tabla;
    tabla.SetDatabaseName(baseVista);
    tabla.SetTableName(tablaVista);
    return !tablaVista.isEmpty() && !tabla.Exists();
  }

  QString tablaVista;
  QString baseVista;
};

TEST_F(MantenimientoListaTest, AConsultationGivesTheChosenRowOrNothing) {
  AlMostrarse<TfGENEMLIS>(fGENEMLIS, [this](TfGENEMLIS& formulario) {
    RecordarTabla(formulario);
    EXPECT_EQ(formulario.Caption(), u"Selección de Empresa"_qs);
    EXPECT_EQ(formulario.size(), QSize(300, 300));
    EXPECT_TRUE(formulario.DBGrid1().ReadOnly());
    EXPECT_TRUE(formulario.findChild<QPushButton*>(u"pbRestablecer"_qs)->isHidden());
    EXPECT_EQ(formulario.findChild<QPushButton*>(u"pbAceptar"_qs)->text(), u"&Conforme"_qs);
    EXPECT_EQ(formulario.findChild<QPushButton*>(u"pbCancelar"_qs)->toolTip(), u"Abandonar sin seleccionar ningún dato"_qs);
    EXPECT_FALSE(formulario.DBGrid1().ColumnVisible(0));  // the line number
    formulario.Temporal().Last();
    pulsar(formulario, "pbAceptar");
  });
  EXPECT_EQ(MantenimientoLista(kEmpresas, kLineas), u"2|Beta"_qs);
  EXPECT_TRUE(TablaBorrada());

  AlMostrarse<TfGENEMLIS>(fGENEMLIS, [this](TfGENEMLIS& formulario) {
    RecordarTabla(formulario);
    pulsar(formulario, "pbCancelar");
  });
  EXPECT_EQ(MantenimientoLista(kEmpresas, kLineas), QString());
  EXPECT_TRUE(TablaBorrada());
}

TEST_F(MantenimientoListaTest, ConsultingWithDeletionGivesTheRowsLeftOrTheListGiven) {
  AlMostrarse<TfGENEMLIS>(fGENEMLIS, [](TfGENEMLIS& formulario) {
    EXPECT_FALSE(formulario.DBGrid1().ReadOnly());
    formulario.Temporal().First();
    formulario.Temporal().Delete();
    pulsar(formulario, "pbAceptar");
  });
  EXPECT_EQ(MantenimientoLista(conModo(u"Consulta,Eliminar"_qs), kLineas + u"\r\n3|Gamma"_qs), u"2|Beta\r\n3|Gamma"_qs);

  AlMostrarse<TfGENEMLIS>(fGENEMLIS, [](TfGENEMLIS& formulario) {
    formulario.Temporal().Delete();
    pulsar(formulario, "pbCancelar");
  });
  EXPECT_EQ(MantenimientoLista(conModo(u"Consulta,Eliminar"_qs), kLineas), kLineas);
}

TEST_F(MantenimientoListaTest, CancellingMaintenanceAsksWhetherToBlankTheList) {
  for (const auto& [respuesta, esperado] : {std::pair{u"NO"_qs, kLineas}, std::pair{u"SI"_qs, QString()}}) {
    AlMostrarse<TfGENEMLIS>(fGENEMLIS, [this](TfGENEMLIS& formulario) {
      RecordarTabla(formulario);
      EXPECT_EQ(formulario.findChild<QPushButton*>(u"pbCancelar"_qs)->toolTip(), u"Rechazar los datos y Abandonar"_qs);
      formulario.Temporal().First();
      formulario.Temporal().Edit();
      formulario.Temporal().FieldByName(u"Nombre"_qs).SetAsString(u"Cambiado"_qs);
      formulario.Temporal().Post();
      pulsar(formulario, "pbCancelar");
    });
    mensajes.Expect(u"C"_qs, respuesta);
    EXPECT_EQ(MantenimientoLista(conModo(u"Normal"_qs), kLineas + u"\r\n"_qs), esperado);
    EXPECT_EQ(mensajes.Texts().last(), u"¿Desea dejar en blanco la lista de datos?"_qs);
    EXPECT_TRUE(TablaBorrada());
  }
}

TEST_F(MantenimientoListaTest, HostileLinesLoadWhatFitsAndMemosKeepOneLinePerRow) {
  const QString opciones = u"NumeroCampos=3\r\nDefinicionCampos=Codigo,ftInteger,0;Nombre,ftString,10;Nota,ftMemo,0"_qs;
  AlMostrarse<TfGENEMLIS>(fGENEMLIS, [](TfGENEMLIS& formulario) {
    EXPECT_EQ(FilasTabla(formulario.Temporal()),
              QStringList({u"1|1|uno|a\r\nb"_qs, u"2||dos|"_qs, u"3|3||"_qs}));
    pulsar(formulario, "pbAceptar");
  });
  EXPECT_EQ(MantenimientoLista(opciones, u"1|uno|a·b|sobra|otra\r\nX|dos\r\n3"_qs), u"1|uno|a·b\r\n|dos|\r\n3||"_qs);
}

TEST_F(MantenimientoListaTest, WithoutAUsableNumberOfFieldsNothingIsShown) {
  for (const QString& numero : {u"0"_qs, u"dos"_qs, u"3"_qs, QString()}) {
    QString opciones = conModo(u"Normal"_qs).replace(u"NumeroCampos=2"_qs, u"NumeroCampos="_qs + numero);
    EXPECT_EQ(MantenimientoLista(opciones, kLineas), kLineas) << numero.toStdString();
    EXPECT_EQ(MantenimientoLista(QString(opciones).replace(u"Modo=Normal"_qs, u"Modo=Consulta"_qs), kLineas), QString());
  }
}

TEST_F(MantenimientoListaTest, FormatSetsEachNumberItHoldsAndKeepsTheRest) {
  PosicionGENEMLIS = {5, 6, 250, 200};
  AlMostrarse<TfGENEMLIS>(fGENEMLIS, [](TfGENEMLIS& formulario) {
    EXPECT_EQ(formulario.size(), QSize(430, 250));
    pulsar(formulario, "pbAceptar");
  });
  MantenimientoLista(QString(kEmpresas).replace(u"0,0,300,300"_qs, u"0,0,430,0;"_qs), kLineas);
  EXPECT_EQ(PosicionGENEMLIS.Width, 430);
  EXPECT_EQ(PosicionGENEMLIS.Height, 250);
}

TEST_F(MantenimientoListaTest, NoResizingOptionKeepsTheWidthsGiven) {
  const QString opciones = u"NumeroCampos=2\r\nOpciones=NoRedimensionarGrid\r\n"
                           "DefinicionCampos=Codigo,ftInteger,0,,,60;Precio,ftFloat,0"_qs;
  AlMostrarse<TfGENEMLIS>(fGENEMLIS, [](TfGENEMLIS& formulario) {
    formulario.resize(formulario.width() + 200, formulario.height());
    QCoreApplication::processEvents();
    EXPECT_EQ(formulario.DBGrid1().ColumnWidth(1), 60);
    EXPECT_EQ(formulario.DBGrid1().ColumnWidth(2), 100);
    pulsar(formulario, "pbAceptar");
  });
  MantenimientoLista(opciones, u"1|2,5"_qs);

  AlMostrarse<TfGENEMLIS>(fGENEMLIS, [](TfGENEMLIS& formulario) {
    const int antes = formulario.DBGrid1().ColumnWidth(1) + formulario.DBGrid1().ColumnWidth(2);
    formulario.resize(formulario.width() + 200, formulario.height());
    QCoreApplication::processEvents();
    EXPECT_GT(formulario.DBGrid1().ColumnWidth(1) + formulario.DBGrid1().ColumnWidth(2), antes + 100);
  });
  mensajes.Expect(u"C"_qs, u"NO"_qs);
  MantenimientoLista(QString(opciones).remove(u"Opciones=NoRedimensionarGrid\r\n"_qs), u"1|2,5"_qs);
}

TEST_F(MantenimientoListaTest, AFilteredListStillGivesEveryRow) {
  AlMostrarse<TfGENEMLIS>(fGENEMLIS, [](TfGENEMLIS& formulario) {
    formulario.Temporal().SetFilter(u"(Codigo = '2')"_qs);
    formulario.Temporal().SetFiltered(true);
    EXPECT_EQ(formulario.Temporal().RecordCount(), 1);
    pulsar(formulario, "pbAceptar");
  });
  EXPECT_EQ(MantenimientoLista(conModo(u"Normal"_qs), kLineas), kLineas);
}

TEST_F(MantenimientoListaTest, TwoProgramsWithAListOpenEachGetTheirOwnRowsBack) {
  SecondProcess segunda(u"lista-en-otra-instancia"_qs, {{kCarpeta, carpeta.Path()}});
  const QString tablaOtra = segunda.ReadReport();
  AlMostrarse<TfGENEMLIS>(fGENEMLIS, [&](TfGENEMLIS& formulario) {
    RecordarTabla(formulario);
    EXPECT_NE(formulario.Temporal().TableName(), tablaOtra);
    EXPECT_TRUE(tablaOtra.startsWith(u"TEMP"_qs));
    // The other's rows are committed, though not waited for on the disk.
    Table otra;
    otra.SetDatabaseName(baseVista);
    otra.SetTableName(tablaOtra);
    otra.Open();
    EXPECT_EQ(otra.RecordCount(), 1);
    otra.Close();
    segunda.Send(u"adelante"_qs);
    EXPECT_EQ(segunda.ReadReport(), u"7|Otra"_qs);
    formulario.SetModalResult(mrOk);
  });
  EXPECT_EQ(MantenimientoLista(conModo(u"Normal"_qs), kLineas), kLineas);
  EXPECT_EQ(segunda.Finish(), 0);
  EXPECT_TRUE(TablaBorrada());
  tablaVista = tablaOtra;
  EXPECT_TRUE(TablaBorrada());
  // Every other commit on that database waits for the disk again.
  const SqlRows nivel = Session::Default().OpenDatabase(baseVista)->QueryRows(u"PRAGMA main.synchronous"_qs);
  EXPECT_EQ(nivel.rows.value(0).value(0).toInt(), 2);
}

TEST_F(MantenimientoListaTest, AHundredThousandLinesLoadAndTheGridReadsOnlyWhatItShows) {
  constexpr int kFilas = 100000;
  QString lista;
  for (int i = 1; i <= kFilas; ++i) lista += QString::number(i) + u"|Nombre "_qs + QString::number(i) + u"\r\n"_qs;
  AlMostrarse<TfGENEMLIS>(fGENEMLIS, [&](TfGENEMLIS& formulario) {
    QCoreApplication::processEvents();
    EXPECT_EQ(formulario.Temporal().RecordCount(), kFilas);
    EXPECT_LE(formulario.DBGrid1().Model()->RecordsRead(), 4 * DatasetModel::kWindow);
    EXPECT_EQ(formulario.findChild<QLabel*>(u"LBTotales"_qs)->text(), u"5.000.050.000,00       \r\n"_qs);
    formulario.Temporal().SetFilter(u"(Codigo >= '99999')"_qs);
    formulario.Temporal().SetFiltered(true);
    formulario.CalcularTotales();
    EXPECT_EQ(formulario.findChild<QLabel*>(u"LBTotales"_qs)->text(), u"199.999,00       \r\n"_qs);
    formulario.Temporal().Last();
    formulario.SetModalResult(mrOk);
  });
  const QString resultado = MantenimientoLista(u"NumeroCampos=2\r\nModo=Consulta\r\nCamposTotalizadores=Codigo\r\n"
                                               "DefinicionCampos=Codigo,ftInteger,0;Nombre,ftString,20"_qs, lista);
  EXPECT_EQ(resultado, u"100000|Nombre 100000"_qs);
}

TEST(DefinicionTablaLista, TheTemporaryTableIsDefinedAsTheStructureTextsWriteIt) {
  EXPECT_EQ(DefinicionTablaLista({u"Codigo,ftInteger,0"_qs, u"Nombre,ftString,40,ReadOnly"_qs, u"Raro,ftCosa"_qs,
                                  u"Nota,ftMemo,x"_qs}),
            u"Tabla Temporal\r\n/C/1/GENEMLISLinea/ftInteger/0/*/\r\n/C/2/Codigo/ftInteger/0/\r\n"
            "/C/3/Nombre/ftString/40/\r\n/C/4/Raro/ftUnknown/0/\r\n/C/5/Nota/ftMemo/0/\r\n/I/1/<Primary>/GENEMLISLinea"_qs);
}
