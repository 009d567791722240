#include "core/startup/Configuracion.h"
#include "dialogs/Genebusq.h"
#include "platform/data/ClientDataset.h"
#include "platform/data/Field.h"
#include "tests/dialogs/BusquedaFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

#include <algorithm>
#include <tuple>

// A search walked to its last row a packet at a time brings every match
// once, on a table with a key and on one without, ordered or not, however
// many rows share the value searched by, and when rows are added between
// two packets.

namespace {

using Apunte = std::tuple<int, QString, double>;  // Cuenta, Concepto, Importe

class BusquedaHastaElFinal : public BusquedaFixture, public ::testing::WithParamInterface<const char*> {
 protected:
  void SetUp() override {
    Preparar(QString::fromLatin1(GetParam()));
    busqueda = std::make_unique<TfGENEBUSQ>();
    filas = busqueda->findChild<ClientDataset*>(u"ClientDataSet1"_qs);
    Ejecutar(u"CREATE TABLE SINCLAVE (Cuenta INTEGER NULL, Concepto VARCHAR(40) NULL, Importe FLOAT NULL)"_qs);
    Ejecutar(u"CREATE INDEX SINCLAVE_Clave2 ON SINCLAVE (Concepto)"_qs);
    Ejecutar(u"CREATE TABLE CONCLAVE (Numero INTEGER NOT NULL, Cuenta INTEGER NULL, Concepto VARCHAR(40) NULL, "
             "Importe FLOAT NULL, CONSTRAINT CONCLAVE_Clave1 PRIMARY KEY (Numero))"_qs);
    Ejecutar(u"CREATE INDEX CONCLAVE_Clave2 ON CONCLAVE (Concepto, Numero)"_qs);
    // 1,200 rows: each concept 8 times, and each row of the table without a key twice.
    for (int i = 0; i < 1200; ++i)
      tabla.append({i % 600 % 4, u"Concepto %1"_qs.arg(i % 150, 3, 10, QLatin1Char('0')), (i % 600) * 0.5});
    insertar(tabla, 0);
  }

  void insertar(const QList<Apunte>& apuntes, int primerNumero) {
    for (qsizetype desde = 0; desde < apuntes.size(); desde += 200) {
      QStringList sinClave, conClave;
      for (qsizetype i = desde; i < std::min(desde + 200, apuntes.size()); ++i) {
        const auto& [cuenta, concepto, importe] = apuntes[i];
        const QString valores = u"%1, '%2', %3"_qs.arg(cuenta).arg(concepto).arg(importe);
        sinClave << u'(' + valores + u')';
        conClave << u"(%1, "_qs.arg(primerNumero + i) + valores + u')';
      }
      Ejecutar(u"INSERT INTO SINCLAVE (Cuenta, Concepto, Importe) VALUES "_qs + sinClave.join(u", "_qs));
      Ejecutar(u"INSERT INTO CONCLAVE (Numero, Cuenta, Concepto, Importe) VALUES "_qs + conClave.join(u", "_qs));
    }
  }

  void buscar(const QString& tabla, bool ordenados, const QString& dato, const char* modo) {
    busqueda->hide();
    busqueda->TablaBusqueda = tabla;
    busqueda->CamposSeleccion.clear();
    busqueda->show();
    busqueda->findChild<QComboBox*>(u"NumeroMaximoRegistros"_qs)->setCurrentText(u"Ilimitado"_qs);
    busqueda->findChild<QComboBox*>(u"ListaCamposBusqueda"_qs)->setCurrentText(u"Concepto"_qs);
    busqueda->findChild<QRadioButton*>(QString::fromLatin1(modo))->click();
    busqueda->findChild<QCheckBox*>(u"ResultadosOrdenados"_qs)->setChecked(ordenados);
    busqueda->findChild<QLineEdit*>(u"DatoABuscar"_qs)->setText(dato);
    busqueda->pbBuscarClick(false);
  }

  Apunte apunte() const {
    return {filas->FieldByName(u"Cuenta"_qs).AsInteger(), filas->FieldByName(u"Concepto"_qs).AsString(),
            filas->FieldByName(u"Importe"_qs).AsFloat()};
  }

  QList<Apunte> tabla;
  std::unique_ptr<TfGENEBUSQ> busqueda;
  ClientDataset* filas = nullptr;
};

}  // namespace

TEST_P(BusquedaHastaElFinal, EveryMatchComesOnceAlsoWithRowsAddedBetweenPackets) {
  // Added after the first packets: names before, among and after those read.
  QList<Apunte> nuevos;
  for (int i = 0; i < 60; ++i) nuevos.append({100 + i, u"Concepto %1"_qs.arg(i * 5, 3, 10, QLatin1Char('0')), -1.0 - i});
  const struct {
    const char* modo;
    const char* dato;
    QString desde;  // the matches are the concepts from it on, or those holding it
  } busquedas[] = {{"BusquedaParcial", "Concepto 0", u"Concepto 0"_qs},
                   {"BusquedaAproximada", "Concepto 040", u"Concepto 040"_qs},
                   {"BusquedaFonetica", "o 1", u"o 1"_qs}};
  int numero = 10000;
  for (const char* nombre : {"SINCLAVE", "CONCLAVE"})
    for (const bool ordenados : {false, true})
      for (const auto& b : busquedas) {
        SCOPED_TRACE(std::string(nombre) + (ordenados ? " ordered " : " unordered ") + b.modo);
        const auto coincide = [&b](const Apunte& a) {
          const QString& concepto = std::get<1>(a);
          if (QLatin1String(b.modo) == u"BusquedaAproximada") return concepto >= b.desde;
          if (QLatin1String(b.modo) == u"BusquedaParcial") return concepto.startsWith(b.desde);
          return concepto.contains(b.desde);
        };
        QList<Apunte> esperados;
        std::copy_if(tabla.begin(), tabla.end(), std::back_inserter(esperados), coincide);
        ASSERT_GT(esperados.size(), 300);

        buscar(QString::fromLatin1(nombre), ordenados, QString::fromLatin1(b.dato), b.modo);
        ASSERT_TRUE(filas->Active());
        QList<Apunte> leidos;
        filas->First();
        for (int i = 0; i < 150 && !filas->Eof(); ++i, filas->Next()) leidos.append(apunte());
        insertar(nuevos, numero);
        numero += 1000;
        for (; !filas->Eof(); filas->Next()) leidos.append(apunte());

        QList<Apunte> antiguos, anadidos;
        for (const Apunte& a : leidos) (std::get<2>(a) < 0 ? anadidos : antiguos).append(a);
        std::sort(antiguos.begin(), antiguos.end());
        std::sort(esperados.begin(), esperados.end());
        EXPECT_EQ(antiguos.size(), esperados.size());
        EXPECT_TRUE(antiguos == esperados) << "a row came twice or not at all";
        std::sort(anadidos.begin(), anadidos.end());
        EXPECT_TRUE(std::adjacent_find(anadidos.begin(), anadidos.end()) == anadidos.end()) << "an added row came twice";
        for (const Apunte& a : anadidos) EXPECT_TRUE(coincide(a)) << std::get<1>(a).toStdString();
        // Unordered, a range on the index's first field is read in the index's order, not sorted again.
        if (ordenados || QLatin1String(b.modo) != u"BusquedaFonetica") {
          EXPECT_TRUE(std::is_sorted(leidos.begin(), leidos.end(), [](const Apunte& a, const Apunte& b) {
            return std::get<1>(a).compare(std::get<1>(b), Qt::CaseInsensitive) < 0;
          })) << "out of the order asked for or of the index";
        }

        // The rows added are gone for the next search.
        Ejecutar(u"DELETE FROM SINCLAVE WHERE Importe < 0"_qs);
        Ejecutar(u"DELETE FROM CONCLAVE WHERE Importe < 0"_qs);
      }
}

INSTANTIATE_TEST_SUITE_P(Motores, BusquedaHastaElFinal, ::testing::Values("Microsoft SQL Server", "Paradox"));
