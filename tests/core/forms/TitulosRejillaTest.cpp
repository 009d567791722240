#include "core/startup/Configuracion.h"
#include "core/startup/TraduccionFormulario.h"
#include "platform/Form.h"
#include "platform/controls/DBGrid.h"
#include "platform/data/DataSource.h"
#include "platform/data/Table.h"
#include "tests/core/connections/ConexionesFixture.h"

#include <QHeaderView>

namespace {

// A data form whose grid shows a company table, with English texts in
// TXIDIOMA and the interface in English.
class TitulosRejilla : public ConexionesFixture {
 protected:
  TitulosRejilla() {
    Iniciar();
    Ejecutar(u"INSERT INTO TXIDIOMA (Idioma, ClaveTexto, Texto) VALUES ('EN', 'Nombre', 'Name'), "
             "('EN', 'Codigo', 'Code'), ('EN', 'Name', 'Retranslated')"_qs,
             u"DatabaseGeneral"_qs);
    Ejecutar(u"CREATE TABLE CLIENTES (Codigo INT NOT NULL, Nombre VARCHAR(20) NULL, Saldo INT NULL, "
             "CONSTRAINT CLIENTES_Clave1 PRIMARY KEY (Codigo))"_qs);
    Ejecutar(u"INSERT INTO CLIENTES (Codigo, Nombre, Saldo) VALUES (1, 'Ana', 0)"_qs);
    tabla = new Table(&formulario);
    tabla->SetDatabaseName(BaseDatosBDE(u"Database"_qs));
    tabla->SetTableName(u"CLIENTES"_qs);
    tabla->Open();
    auto* fuente = new DataSource(&formulario);
    fuente->SetDataSet(tabla);
    rejilla = new DBGrid(&formulario);
    rejilla->SetSource(fuente);
    IdiomaActual = u"EN"_qs;
  }

  // The titles the grid's header shows.
  QStringList Titulos() const {
    QStringList titulos;
    for (int columna = 0; columna < rejilla->ColumnCount(); ++columna)
      titulos.append(rejilla->horizontalHeader()->model()->headerData(columna, Qt::Horizontal).toString());
    return titulos;
  }

  Form formulario;
  Table* tabla = nullptr;
  DBGrid* rejilla = nullptr;
};

}  // namespace

TEST_F(TitulosRejilla, AGridsColumnTitlesAreTranslatedOnceAndKeptWhenItsTableOpensAgain) {
  ASSERT_EQ(Titulos(), QStringList({u"Codigo"_qs, u"Nombre"_qs, u"Saldo"_qs}));
  TraducirFormulario(&formulario);
  const QStringList ingles = {u"Code"_qs, u"Name"_qs, u"Saldo"_qs};
  EXPECT_EQ(Titulos(), ingles);
  // "Name" has a translation of its own, which a second pass must not apply.
  TraducirFormulario(&formulario);
  EXPECT_EQ(Titulos(), ingles);
  tabla->Close();
  tabla->Open();
  EXPECT_EQ(Titulos(), ingles);
  EXPECT_EQ(rejilla->ColumnTitle(1), u"Name"_qs);
  EXPECT_TRUE(mensajes.Messages().isEmpty());
}
