#include "core/connections/AperturaTablas.h"
#include "core/connections/CreacionTablas.h"
#include "core/sql/ConsultasSQL.h"
#include "core/sql/EjecucionSQL.h"
#include "core/tables/CreacionTabla.h"
#include "platform/data/Field.h"
#include "platform/data/Query.h"
#include "platform/data/Table.h"
#include "tests/core/connections/ConexionesFixture.h"
#include "tests/fixtures/SecondProcess.h"

#include <QDir>

#include <ostream>

namespace {

constexpr char kCarpeta[] = "ZEM_PROGRAM_FOLDER";
constexpr char kCamino[] = "ZEM_CAMINO";

// What the second instance answers once the table it found missing is there.
QString usarTablaFILTRO(TfGENEINIC& servicios, const QString& camino) {
  if (camino == u"AbrirTabla") {
    Table tabla;
    tabla.SetTableName(u"FILTRO"_qs);
    return AbrirTabla(servicios, servicios, tabla) && tabla.Active() ? u"abierta"_qs : u"no abierta"_qs;
  }
  if (camino == u"AbrirOEjecutarConsulta") {
    Query consulta;
    consulta.SQL().SetText(u"SELECT COUNT(*) FROM FILTRO"_qs);
    return AbrirOEjecutarConsulta(consulta) ? consulta.Fields(0).AsString() : u"no abierta"_qs;
  }
  return EjecutarSQL(u"SELECT COUNT(*) FROM FILTRO"_qs, u"Database"_qs);
}

// A second running instance that finds FILTRO missing; its creation waits
// until the first instance, which found it missing too, has made it.
void usarTablaQueOtroCrea() {
  QDir::setCurrent(qEnvironmentVariable(kCarpeta));
  const ScriptedPresenter sinMensajes;
  TfGENEINIC servicios({});
  InstalarCreacionTabla([](Table& tabla, const QString& definicion, int empresa) {
    SecondProcess::Report(u"falta"_qs);
    SecondProcess::NextLine();
    return CrearTabla(tabla, definicion, empresa);
  });
  SecondProcess::Report(usarTablaFILTRO(servicios, qEnvironmentVariable(kCamino)));
}

[[maybe_unused]] const bool registrado = SecondProcess::RegisterJob(u"tabla-que-otro-crea"_qs, usarTablaQueOtroCrea);

}  // namespace

struct Carrera {
  const char* motor;
  const char* camino;
  const char* respuesta;
};

void PrintTo(const Carrera& carrera, std::ostream* salida) { *salida << carrera.motor << ", " << carrera.camino; }

class CreacionSimultanea : public ConexionesFixture, public ::testing::WithParamInterface<Carrera> {};

TEST_P(CreacionSimultanea, TheInstanceThatLosesTheRaceUsesTheTableTheOtherMade) {
  instalacion.Engine(QString::fromLatin1(GetParam().motor));
  Iniciar();
  SecondProcess segunda(u"tabla-que-otro-crea"_qs,
                        {{kCarpeta, carpeta.Path()}, {kCamino, QString::fromLatin1(GetParam().camino)}});
  ASSERT_EQ(segunda.ReadReport(), u"falta"_qs);
  Table tabla;
  tabla.SetTableName(u"FILTRO"_qs);
  ASSERT_TRUE(AbrirTabla(Servicios(), Servicios(), tabla));
  segunda.Send(u"sigue"_qs);
  EXPECT_EQ(segunda.ReadReport(), QString::fromLatin1(GetParam().respuesta));
  EXPECT_EQ(segunda.Finish(), 0);
}

INSTANTIATE_TEST_SUITE_P(Caminos, CreacionSimultanea,
                         ::testing::Values(Carrera{"Microsoft SQL Server", "AbrirTabla", "abierta"},
                                           Carrera{"Microsoft SQL Server", "EjecutarSQL", "0"},
                                           Carrera{"Microsoft SQL Server", "AbrirOEjecutarConsulta", "0"},
                                           Carrera{"Paradox", "AbrirTabla", "abierta"},
                                           Carrera{"Paradox", "EjecutarSQL", "0"}));
