#include "core/helpers/AnchoCampo.h"
#include "core/helpers/BaseDatosEmpresaUnidad.h"
#include "core/helpers/Estilos.h"
#include "core/helpers/Rangos.h"
#include "core/helpers/TiposCampo.h"
#include "core/helpers/Valores.h"
#include "core/startup/Configuracion.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

TEST(Valores, VarianteATexto) {
  const std::pair<Variant, const char16_t*> cases[] = {
      {Variant::Array({Variant::String(u"A"_qs), Variant::String(u"B"_qs)}), u"A"},
      {Variant::Array({Variant::Integer(5)}), u"5"}, {Variant::Array({}), u""},
      {Variant::String(u"texto"_qs), u"texto"}, {Variant::OleStr(u"año"_qs), u"año"}, {Variant::Integer(42), u"42"},
      {Variant::Smallint(-3), u"-3"}, {Variant::Int64(9000000000LL), u"9000000000"}, {Variant::Byte(7), u""},
      {Variant::Null(), u""}, {Variant(), u""}, {Variant::Double(1.5), u"1,5"}, {Variant::Date(45306), u"15/01/2024"},
      {Variant::Boolean(true), u"True"},
  };
  for (const auto& [value, expected] : cases)
    EXPECT_EQ(VarianteATexto(value), QString::fromUtf16(expected)) << Variant::TypeName(value.Type()).toStdString();
  EXPECT_EQ(BooleanoATexto(true), u"SI"_qs);
  EXPECT_EQ(BooleanoATexto(false), u"NO"_qs);
}

TEST(Valores, ClaveAVariante) {
  auto texts = [](std::initializer_list<const char16_t*> elements) {
    QList<Variant> values;
    for (const char16_t* element : elements) values.append(Variant::String(QString::fromUtf16(element)));
    return Variant::Array(values);
  };
  const std::pair<const char16_t*, Variant> cases[] = {
      {u"A|B", texts({u"A", u"B"})}, {u"A", texts({u"A"})}, {u"A|", texts({u"A", u""})}, {u"|B", texts({u"", u"B"})},
      {u"A\r\nB", texts({u"A", u"B"})}, {u"(Memo)X\r\nY\r\n", texts({u"X", u"Y"})}, {u"", Variant::Null()},
      {u"(Memo)", Variant::Null()}};
  for (const auto& [key, expected] : cases) EXPECT_EQ(ClaveAVariante(QString::fromUtf16(key)), expected);
}

TEST(Valores, GUIDTexto) {
  const QString first = GUIDTexto();
  const QRegularExpression guid(u"^[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}$"_qs);
  EXPECT_TRUE(guid.match(first).hasMatch()) << first.toStdString();
  EXPECT_NE(GUIDTexto(), first);
}

TEST(TiposCampo, NamesInTheirFixedOrder) {
  const char16_t* const names[] = {
      u"ftUnknown", u"ftString",   u"ftSmallint", u"ftInteger", u"ftWord",  u"ftBoolean",  u"ftFloat",   u"ftCurrency",
      u"ftBCD",     u"ftDate",     u"ftTime",     u"ftDateTime", u"ftBytes", u"ftVarBytes", u"ftAutoInc", u"ftBlob",
      u"ftMemo",    u"ftGraphic",  u"ftFmtMemo",  u"ftParadoxOle", u"ftDBaseOle", u"ftTypedBinary",
  };
  for (int value = 0; value <= 21; ++value) {
    const QString name = QString::fromUtf16(names[value]);
    EXPECT_EQ(TextoDeTipoCampo(static_cast<FieldType>(value)), name);
    EXPECT_EQ(TipoCampoDeTexto(name), static_cast<FieldType>(value)) << name.toStdString();
  }
  EXPECT_EQ(ftTypedBinary, 21);
  EXPECT_EQ(TextoDeTipoCampo(static_cast<FieldType>(22)), u"ftUnknown"_qs);
  EXPECT_EQ(TipoCampoDeTexto(u"ftSmallInt"_qs), ftSmallint);
  for (const char* other : {"ftsmallint", "ftString ", ""})
    EXPECT_EQ(TipoCampoDeTexto(QLatin1String(other)), ftUnknown) << other;
}

TEST(Estilos, FontStylesAndColours) {
  const std::pair<const char16_t*, int> styles[] = {
      {u"fsBold", 0},      {u"Negrita", 0},   {u"fsItalic", 1},    {u"Italica", 1},   {u"fsUnderline", 2},
      {u"Subrayado", 2},   {u"fsStrikeout", 3}, {u"Tachado", 3},   {u"negrita", 255}, {u"", 255},
  };
  for (const auto& [name, expected] : styles) EXPECT_EQ(EstiloFuente(QString::fromUtf16(name)), expected);

  const std::pair<const char16_t*, int> colours[] = {
      {u"Aguamarina", 0xFFFF00},   {u"Negro", 0x000000},        {u"Azul", 0xFF0000},       {u"Gris Oscuro", 0x808080},
      {u"Fucsia", 0xFF00FF},       {u"Gris", 0x808080},         {u"Verde", 0x008000},      {u"Verde Claro", 0x00FF00},
      {u"Gris Claro", 0xC0C0C0},   {u"Azul Celeste", 0xF0CAA6}, {u"Crema", 0xF0FBFF},      {u"Rojo Oscuro", 0x000080},
      {u"Azul Marino", 0x800000},  {u"Oliva", 0x008080},        {u"Purpura", 0x800080},    {u"Rojo", 0x0000FF},
      {u"Plateado", 0xC0C0C0},     {u"Esmeralda", 0x808000},    {u"Blanco", 0xFFFFFF},     {u"Amarillo", 0x00FFFF},
      {u"Verde Claro 2", 0xC0DCC0}, {u"Gris Medio", 0xA4A0A0},  {u"rojo", 0},              {u"Naranja", 0},
  };
  for (const auto& [name, expected] : colours)
    EXPECT_EQ(ColorPorNombre(QString::fromUtf16(name)), expected) << QString::fromUtf16(name).toStdString();

  for (const auto& [text, colour] :
       {std::pair{"Rojo", 0x0000FF}, {"$FF00", 0xFF00}, {"255", 255}, {"abc", 0}, {"Negro", 0}})
    EXPECT_EQ(ColorDeTexto(QLatin1String(text)), colour) << text;
}

TEST(Rangos, DescripcionRango) {
  EXPECT_EQ(DescripcionRango(u"CodigoCliente|1|99\r\nFechaAlta||\r\nImporte||500"_qs),
            u"Desde Codigo Cliente: 1, Hasta Codigo Cliente: 99, Desde Importe: , Hasta Importe: 500, "_qs);
  EXPECT_EQ(DescripcionRango(u"Nombre|A|"_qs), u"Desde Nombre: A, Hasta Nombre: , "_qs);
  EXPECT_EQ(DescripcionRango(QString()), QString());
}

TEST(AnchoCampo, GivesTheDisplayWidthByFieldType) {
  Table tabla;
  const std::tuple<FieldType, int, int> casos[] = {
      {ftFloat, 0, 13}, {ftInteger, 0, 9},  {ftSmallint, 0, 5}, {ftDate, 0, 10},   {ftDateTime, 0, 10},
      {ftMemo, 0, 10},  {ftTime, 0, 8},     {ftString, 25, 25}, {ftBoolean, 0, 5}, {ftBlob, 0, 10},
  };
  for (const auto& [tipo, tamano, ancho] : casos)
    EXPECT_EQ(AnchoCampo(*new Field(&tabla, u"C%1"_qs.arg(tipo), tipo, tamano)), ancho) << tipo;
}

TEST(NombreBaseDatosEmpresaUnidad, FollowsTheModulesEngineRules) {
  PathBaseDatos = u"/datos/zem"_qs;
  AliasBaseDatosEmpresa = u"EMP"_qs;
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
