#include "core/datamodule/Genemodu.h"
#include "core/datamodule/PrepararTabla.h"
#include "core/datamodule/ServiciosDataSet.h"
#include "core/sql/BaseDatosSQL.h"
#include "platform/Form.h"
#include "platform/FormRegistry.h"
#include "platform/data/Field.h"
#include "platform/data/Query.h"
#include "platform/data/Table.h"
#include "tests/core/connections/ConexionesFixture.h"

#include <QPushButton>

namespace {

// The listing form as the listing services see it: what it was handed, and
// the logical-table button's state while it was shown.
class ListadoPrueba : public Form {
  Q_OBJECT

 public:
  explicit ListadoPrueba(QWidget* owner) : Form(owner) {
    boton_ = new QPushButton(this);
    boton_->setObjectName(u"pbActivarTablaLogica"_qs);
    boton_->setCheckable(true);
  }

  Q_INVOKABLE void MostrarListadoProgramable(Dataset* dataSet, const QString& clave, const QString& titulo,
                                             const QString& opciones) {
    QStringList filas;
    for (dataSet->First(); !dataSet->Eof(); dataSet->Next()) {
      QStringList campos;
      for (int i = 0; i < dataSet->FieldCount(); ++i) campos.append(dataSet->Fields(i).AsString());
      filas.append(campos.join(u'|'));
    }
    auto* tabla = qobject_cast<Table*>(dataSet);
    Vistos = {tabla ? tabla->TableName().section(u'.', -1) : QString(), dataSet->GetFieldNames().join(u';'),
              filas.join(u','), clave, opciones, titulo,
              boton_->isChecked() && boton_->isHidden() ? u"logica"_qs : u"fisica"_qs};
  }

  static inline QStringList Vistos;

 private:
  QPushButton* boton_;
};

class ServiciosDataSet : public ConexionesFixture {
 protected:
  ServiciosDataSet() {
    Iniciar();
    Ejecutar(u"CREATE TABLE ARTICULO (Codigo INTEGER, Nombre VARCHAR(20) NULL, Precio FLOAT NULL, "
             "CONSTRAINT ARTICULO_Clave1 PRIMARY KEY (Codigo))"_qs);
    Ejecutar(u"INSERT INTO ARTICULO VALUES (1, 'uno', 1.5)"_qs);
    Ejecutar(u"INSERT INTO ARTICULO VALUES (2, 'dos', NULL)"_qs);
    FormRegistry::Register(QLatin1String(kFormularioListado), [](QWidget* owner) { return new ListadoPrueba(owner); });
    ListadoPrueba::Vistos.clear();
  }
  ~ServiciosDataSet() override { FormRegistry::Clear(); }

  TModuloDatos modulo;
};

}  // namespace

TEST_F(ServiciosDataSet, TablesAndQueriesAreListedThroughTheirTable) {
  Query consulta;
  consulta.SetDatabaseName(BaseDatosBDE(u"Database"_qs));
  consulta.SQL().SetText(u"SELECT Nombre FROM ARTICULO WHERE Codigo = 2"_qs);
  consulta.Open();
  ListarDataSet(consulta);
  EXPECT_EQ(ListadoPrueba::Vistos, QStringList({u"ARTICULO"_qs, u"Codigo;Nombre;Precio"_qs, u"1|uno|1,5,2|dos|"_qs,
                                                QString(), QString(), QString(), u"fisica"_qs}));
}

TEST_F(ServiciosDataSet, AQueryIsListedFromATemporaryCopyDeletedAfterwards) {
  Query consulta;
  consulta.SetDatabaseName(BaseDatosBDE(u"Database"_qs));
  consulta.SQL().SetText(u"SELECT Precio, Nombre FROM ARTICULO ORDER BY Codigo DESC"_qs);
  consulta.Open();
  consulta.Last();
  ListarEnTablaTemporal(consulta, u"ARTICULOS"_qs, u"Artículos"_qs);
  ASSERT_EQ(ListadoPrueba::Vistos.size(), 7);
  EXPECT_TRUE(ListadoPrueba::Vistos[0].startsWith(u"TEMP"_qs));
  EXPECT_EQ(ListadoPrueba::Vistos.mid(1), QStringList({u"Precio;Nombre"_qs, u"|dos,1,5|uno"_qs, u"ARTICULOS"_qs,
                                                       u"CamposOrdenadosOFF"_qs, u"Artículos"_qs, u"logica"_qs}));
  EXPECT_EQ(consulta.FieldByName(u"Nombre"_qs).AsString(), u"uno"_qs);  // back on its record
  Table temporal;
  temporal.SetDatabaseName(PathArchivosTemporales);
  temporal.SetTableName(ListadoPrueba::Vistos[0]);
  EXPECT_FALSE(temporal.Exists());

  // A field the dataset hides is not listed.
  consulta.FieldByName(u"Precio"_qs).SetVisible(false);
  ListarEnTablaTemporal(consulta, u"ARTICULOS"_qs, u"Artículos"_qs);
  ASSERT_EQ(ListadoPrueba::Vistos.size(), 7);
  EXPECT_EQ(ListadoPrueba::Vistos.mid(1, 2), QStringList({u"Nombre"_qs, u"dos,uno"_qs}));

  consulta.Close();
  ListadoPrueba::Vistos.clear();
  mensajes.Expect(u"I"_qs);
  ListarEnTablaTemporal(consulta, QString(), QString());
  EXPECT_EQ(mensajes.Texts(), QStringList{u"No hay registros para listar"_qs});
  EXPECT_TRUE(ListadoPrueba::Vistos.isEmpty());
}

TEST_F(ServiciosDataSet, MoreThanAThousandRecordsAreListedOnlyWhenTheUserAgrees) {
  Ejecutar(u"CREATE TABLE DIGITO (D INTEGER)"_qs);
  for (int d = 0; d < 10; ++d) Ejecutar(u"INSERT INTO DIGITO VALUES (%1)"_qs.arg(d));
  Query producto;
  producto.SetDatabaseName(BaseDatosBDE(u"Database"_qs));
  producto.SQL().SetText(u"SELECT A.D AS A, B.D AS B, C.D AS C FROM DIGITO A, DIGITO B, DIGITO C"_qs);
  producto.Open();
  ListarEnTablaTemporal(producto, QString(), QString());  // 1000: no question
  EXPECT_EQ(ListadoPrueba::Vistos.value(2).count(u','), 999);

  Ejecutar(u"INSERT INTO DIGITO VALUES (10)"_qs);
  producto.Close();
  producto.Open();
  ListadoPrueba::Vistos.clear();
  mensajes.Expect(u"C"_qs, u"NO"_qs);
  ListarEnTablaTemporal(producto, QString(), QString());
  EXPECT_TRUE(ListadoPrueba::Vistos.isEmpty());
}

TEST_F(ServiciosDataSet, EveryShownRecordIsDeletedAfterTwoConfirmations) {
  Table articulos;
  articulos.SetTableName(u"ARTICULO"_qs);
  ASSERT_TRUE(PrepararTabla(articulos));
  mensajes.Expect(u"C"_qs, u"SI"_qs).Expect(u"C"_qs, u"NO"_qs);
  EXPECT_TRUE(EliminarTodosRegistros(articulos));
  EXPECT_EQ(articulos.RecordCount(), 2);

  articulos.SetFilter(u"Codigo = 2"_qs);
  articulos.SetFiltered(true);
  mensajes.Expect(u"C"_qs, u"SI"_qs).Expect(u"C"_qs, u"SI"_qs);
  EXPECT_TRUE(EliminarTodosRegistros(articulos));
  EXPECT_EQ(EjecutarSQL(u"SELECT Codigo FROM ARTICULO"_qs, u"Database"_qs), u"1"_qs);

  Table soloLectura;
  soloLectura.SetReadOnly(true);
  soloLectura.SetTableName(u"ARTICULO"_qs);
  ASSERT_TRUE(PrepararTabla(soloLectura));
  mensajes.Expect(u"C"_qs, u"SI"_qs).Expect(u"C"_qs, u"SI"_qs).Expect(u"A"_qs);
  EXPECT_FALSE(EliminarTodosRegistros(soloLectura));
  EXPECT_EQ(mensajes.Texts().last(), u"¡Imposible eliminar el registro!"_qs);
}

#include "ServiciosDataSetTest.moc"
