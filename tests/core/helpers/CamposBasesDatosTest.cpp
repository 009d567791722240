#include "core/helpers/AnchoCampo.h"
#include "core/helpers/BaseDatosEmpresaUnidad.h"
#include "core/startup/Configuracion.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"

#include <gtest/gtest.h>

TEST(AnchoCampo, GivesTheDisplayWidthByFieldType) {
  Table tabla;
  const std::tuple<FieldType, int, int> casos[] = {
      {ftFloat, 0, 13}, {ftInteger, 0, 9},  {ftSmallint, 0, 5}, {ftDate, 0, 10},   {ftDateTime, 0, 10},
      {ftMemo, 0, 10},  {ftTime, 0, 8},     {ftString, 25, 25}, {ftBoolean, 0, 5}, {ftBlob, 0, 10},
  };
  for (const auto& [tipo, tamano, ancho] : casos)
    EXPECT_EQ(AnchoCampo(*new Field(&tabla, QStringLiteral("C%1").arg(tipo), tipo, tamano)), ancho) << tipo;
}

TEST(NombreBaseDatosEmpresaUnidad, FollowsTheModulesEngineRules) {
  PathBaseDatos = QStringLiteral("/datos/zem");
  AliasBaseDatosEmpresa = QStringLiteral("EMP");
  const std::tuple<const char*, int, const char*> casos[] = {
      {"Paradox", 0, "/datos/zem"},   {"Paradox", 12, "/datos/zem/12"},     {"", 3, "/datos/zem/3"},
      {"Microsoft SQL Server", 0, "EMP"}, {"Microsoft SQL Server", 12, "EMP12"}, {"Interbase", 4, "EMP4"},
      {"Microsoft Access", 4, ""},    {"SQL Generica", 0, ""},
  };
  for (const auto& [motor, empresa, nombre] : casos) {
    TipoBaseDatos = QLatin1String(motor);
    EXPECT_EQ(NombreBaseDatosEmpresaUnidad(empresa), QLatin1String(nombre)) << motor << empresa;
  }
}
