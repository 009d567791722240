#include "printing/ClasificacionListado.h"

#include "core/datamodule/Genemodu.h"
#include "core/progress/Geneprog.h"
#include "platform/data/Field.h"
#include "platform/data/Query.h"
#include "platform/data/Table.h"
#include "tests/core/connections/ConexionesFixture.h"

#include <gtest/gtest.h>

#include <QTimer>

namespace {

class ClasificacionListado : public ConexionesFixture {
 protected:
  ClasificacionListado() {
    Iniciar();
    QString columnas;
    for (int i = 1; i <= 11; ++i) columnas += u"C%1 INTEGER NULL, "_qs.arg(i);
    Ejecutar(u"CREATE TABLE ANCHA (Notas TEXT NULL, %1Nombre VARCHAR(20) NULL)"_qs.arg(columnas));
    Ejecutar(u"CREATE TABLE PEDIDO (Numero INTEGER, Cliente VARCHAR(10) NULL, Notas TEXT NULL, "
             "CONSTRAINT PEDIDO_Clave1 PRIMARY KEY (Numero))"_qs);
    Ejecutar(u"INSERT INTO PEDIDO VALUES (1, 'B', 'primero'), (2, 'A', 'segundo'), (3, 'B', 'tercero'), "
             "(4, 'A', 'cuarto'), (5, 'B', 'quinto')"_qs);
  }

  static QStringList Filas(Dataset& dataSet) {
    QStringList filas;
    for (dataSet.First(); !dataSet.Eof(); dataSet.Next())
      filas.append(dataSet.FieldByName(u"Cliente"_qs).AsString() + dataSet.FieldByName(u"Notas"_qs).AsString());
    return filas;
  }

  TModuloDatos modulo;
};

TEST_F(ClasificacionListado, TenFieldsSortThenTheCounterThenTheMemos) {
  Table ancha;
  ancha.SetDatabaseName(BaseDatosBDE(u"Database"_qs));
  ancha.SetTableName(u"ANCHA"_qs);
  ancha.Open();
  QString esperada = u"Tabla Temporal\r\n"_qs;
  for (int i = 1; i <= 10; ++i) esperada += u"/C/%1/C%1/ftInteger/0/*/\r\n"_qs.arg(i);
  esperada += u"/C/11/ContadorAutoLP/ftInteger/0/*/\r\n/C/12/C11/ftInteger/0/\r\n/C/13/Nombre/ftString/20/\r\n"
              "/C/14/Notas/ftMemo/0/\r\n/I/1/<Primary>/C1;C2;C3;C4;C5;C6;C7;C8;C9;C10;ContadorAutoLP\r\n"_qs;
  EXPECT_EQ(DefinicionClasificacion(ancha), esperada);
}

TEST_F(ClasificacionListado, EqualKeysKeepTheSourceOrderAndTheCopyGoesWithItsRun) {
  Query pedidos;
  pedidos.SetDatabaseName(BaseDatosBDE(u"Database"_qs));
  pedidos.SQL().SetText(u"SELECT Cliente, Notas FROM PEDIDO ORDER BY Numero"_qs);
  pedidos.Open();
  EXPECT_EQ(DefinicionClasificacion(pedidos),
            u"Tabla Temporal\r\n/C/1/Cliente/ftString/10/*/\r\n/C/2/ContadorAutoLP/ftInteger/0/*/\r\n"
            "/C/3/Notas/ftMemo/0/\r\n/I/1/<Primary>/Cliente;ContadorAutoLP\r\n"_qs);
  pedidos.SetRecNo(3);
  QString nombre, base;
  {
    CopiaClasificada copia(&modulo);
    ASSERT_TRUE(copia.ClasificarEnTablaTemporal(pedidos));
    EXPECT_EQ(Filas(copia.Temporal()),
              (QStringList{u"Asegundo"_qs, u"Acuarto"_qs, u"Bprimero"_qs, u"Btercero"_qs, u"Bquinto"_qs}));
    nombre = copia.Temporal().TableName();
    base = copia.Temporal().DatabaseName();
    EXPECT_EQ(pedidos.RecNo(), 3);
  }
  Table temporal;
  temporal.SetDatabaseName(base);
  temporal.SetTableName(nombre);
  EXPECT_FALSE(temporal.Exists());
}

TEST_F(ClasificacionListado, EscStopsTheCopyAndDeletesWhatItMade) {
  QString valores;
  for (int numero = 6; numero <= 250; ++numero) valores += u"INSERT INTO PEDIDO VALUES (%1, 'C', NULL); "_qs.arg(numero);
  Ejecutar(valores);
  Table pedidos;
  pedidos.SetDatabaseName(BaseDatosBDE(u"Database"_qs));
  pedidos.SetTableName(u"PEDIDO"_qs);
  pedidos.Open();
  pedidos.SetRecNo(7);
  // Esc, as the progress window answers it, while the first records are copied.
  QTimer::singleShot(0, [] { CancelarListado = true; });
  CopiaClasificada copia(&modulo);
  EXPECT_FALSE(copia.ClasificarEnTablaTemporal(pedidos));
  EXPECT_FALSE(copia.Temporal().Active());
  Table temporal;
  temporal.SetDatabaseName(copia.Temporal().DatabaseName());
  temporal.SetTableName(copia.Temporal().TableName());
  EXPECT_FALSE(temporal.Exists());
  EXPECT_EQ(pedidos.RecNo(), 7);
  EXPECT_EQ(fGENEPROG, nullptr);
}

}  // namespace
