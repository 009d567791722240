#include "core/services/RutinasBusqueda.h"
#include "core/sql/BaseDatosSQL.h"
#include "dialogs/Genekpad.h"
#include "dialogs/Genevmem.h"
#include "platform/controls/DBEdit.h"
#include "platform/controls/DBGrid.h"
#include "platform/controls/DatasetModel.h"
#include "platform/data/DataSource.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"
#include "tests/core/connections/ConexionesFixture.h"

#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

namespace {

void pulsar(TfGENEKPAD& teclado, const QString& teclas) {
  for (const QString& tecla : teclas.split(u' '))
    for (PanelTecla* panel : teclado.findChildren<PanelTecla*>())
      if (panel->text() == tecla) QTest::mouseClick(panel, Qt::LeftButton);
}

}  // namespace

class VisorYTeclado : public ConexionesFixture {
 protected:
  VisorYTeclado() {
    Iniciar();
    Ejecutar(u"CREATE TABLE ARTICULO (Codigo INTEGER, Nombre VARCHAR(20) NULL, Texto TEXT NULL, "
             "CONSTRAINT ARTICULO_Clave1 PRIMARY KEY (Codigo))"_qs);
    Ejecutar(u"INSERT INTO ARTICULO VALUES (1, 'uno', NULL)"_qs);
    Ejecutar(u"INSERT INTO ARTICULO VALUES (2, 'dos', NULL)"_qs);
    articulos.SetDatabaseName(BaseDatosBDE(u"Database"_qs));
    articulos.SetTableName(u"ARTICULO"_qs);
    articulos.Open();
    articulos.Edit();
    articulos.FieldByName(u"Texto"_qs).SetAsString(u"a\r\nb\r\n\r\n"_qs);
    articulos.Post();
  }

  Table articulos;
};

TEST_F(VisorYTeclado, TheMemoViewerDropsTrailingEmptyLinesWhenItCloses) {
  TfGENEVMEM visor;
  visor.DataSource1().SetDataSet(&articulos);
  visor.Memo().SetDataField(u"Texto"_qs);
  EXPECT_EQ(visor.Caption(), u"Visor de Campos de Texto"_qs);
  visor.show();
  EXPECT_EQ(visor.Memo().toPlainText(), u"a\nb\n\n"_qs);
  visor.close();
  EXPECT_EQ(visor.Memo().toPlainText(), u"a\nb"_qs);
  EXPECT_FALSE(visor.isVisible());
}

TEST_F(VisorYTeclado, ADoubleClickOnTheMemoAppendsTheChosenKeyOrField) {
  RutinasBusqueda rutinas;
  rutinas.BuscarDato = [](const QString& tabla, int indice) {
    EXPECT_EQ(tabla + QString::number(indice), u"ARTICULO0"_qs);
    return Variant::Array({Variant::String(u"2"_qs)});
  };
  InstalarRutinasBusqueda(rutinas);
  articulos.Last();
  TfGENEVMEM visor;
  visor.DataSource1().SetDataSet(&articulos);
  visor.Memo().SetDataField(u"Texto"_qs);
  visor.show();
  QTest::mouseDClick(visor.Memo().viewport(), Qt::LeftButton);
  EXPECT_EQ(visor.Memo().toPlainText(), QString());  // no search set
  visor.setProperty("BusquedaMemo", u"ARTICULO;0"_qs);
  QTest::mouseDClick(visor.Memo().viewport(), Qt::LeftButton);
  visor.setProperty("BusquedaMemo", u"ARTICULO;0;Nombre"_qs);
  QTest::mouseDClick(visor.Memo().viewport(), Qt::LeftButton);
  EXPECT_EQ(visor.Memo().toPlainText(), u"2\ndos\n"_qs);
  articulos.Post();
  EXPECT_EQ(articulos.FieldByName(u"Texto"_qs).AsString().count(u"dos"_qs), 1);
}

TEST_F(VisorYTeclado, TheKeypadTypesIntoAnEditAndMovesOnWithIntro) {
  QWidget destino;
  auto* primera = new QLineEdit(&destino);
  auto* segunda = new QLineEdit(&destino);
  auto* distribucion = new QVBoxLayout(&destino);
  distribucion->addWidget(primera);
  distribucion->addWidget(segunda);
  destino.show();
  primera->setFocus();
  TfGENEKPAD teclado;
  EXPECT_EQ(teclado.Caption(), u"Teclado Numérico"_qs);
  teclado.SetFormularioDestino(&destino);
  teclado.show();
  pulsar(teclado, u"1 2 , 5 Supr x 3"_qs);
  EXPECT_EQ(primera->text(), u"12,x3"_qs);
  pulsar(teclado, u"Intro 9"_qs);
  EXPECT_EQ(segunda->text(), u"9"_qs);
  EXPECT_EQ(destino.focusWidget(), segunda);
}

TEST_F(VisorYTeclado, TheKeypadDrivesAGridInBrowseEditAndInsert) {
  QWidget destino;
  DataSource fuente;
  fuente.SetDataSet(&articulos);
  auto* rejilla = new DBGrid(&destino);
  rejilla->SetSource(&fuente);
  rejilla->SetColumns({u"Codigo"_qs, u"Nombre"_qs});
  (new QVBoxLayout(&destino))->addWidget(rejilla);
  destino.show();
  rejilla->setFocus();
  articulos.First();
  rejilla->setCurrentIndex(rejilla->Model()->index(0, 1));
  TfGENEKPAD teclado;
  teclado.SetFormularioDestino(&destino);
  teclado.show();

  pulsar(teclado, u", 5"_qs);  // browse: the field goes to edit, the comma waits for the next key
  EXPECT_EQ(articulos.State(), dsEdit);
  EXPECT_EQ(articulos.FieldByName(u"Nombre"_qs).AsString(), u"uno,5"_qs);
  EXPECT_TRUE(teclado.ComaPendiente().isEmpty());
  pulsar(teclado, u"Supr 6"_qs);
  EXPECT_EQ(articulos.FieldByName(u"Nombre"_qs).AsString(), u"uno,6"_qs);
  pulsar(teclado, u"Intro"_qs);  // last column while editing: posted, next row
  EXPECT_EQ(articulos.State(), dsBrowse);
  EXPECT_EQ(articulos.FieldByName(u"Codigo"_qs).AsInteger(), 2);
  EXPECT_EQ(rejilla->currentIndex().column(), 0);
  pulsar(teclado, u"Intro"_qs);  // to the next column
  EXPECT_EQ(rejilla->currentIndex().column(), 1);
  pulsar(teclado, u"Intro"_qs);  // browse at the end: a new row
  EXPECT_EQ(articulos.State(), dsInsert);
  pulsar(teclado, u"3 Intro 7 Intro"_qs);  // inserting: posted and another new row
  EXPECT_EQ(articulos.State(), dsInsert);
  articulos.Cancel();
  ASSERT_TRUE(articulos.Locate(u"Codigo"_qs, Variant::Integer(3)));
  EXPECT_EQ(articulos.FieldByName(u"Nombre"_qs).AsString(), u"7"_qs);
  articulos.First();
  EXPECT_EQ(articulos.FieldByName(u"Nombre"_qs).AsString(), u"uno,6"_qs);
}
