#include "dialogs/SentenciaBusqueda.h"

#include <gtest/gtest.h>

namespace {

const QStringList kColumnas = {u"Codigo"_qs, u"Linea"_qs, u"Nombre"_qs, u"Fecha"_qs, u"HoraEntrada"_qs};

CriterioBusqueda criterio(const QString& campos, const QString& valores, ModoBusqueda modo, bool ordenados = true,
                          const QString& condicion = QString()) {
  return {u"PEDIDOS"_qs, campos, valores, modo, ordenados, condicion, u"*"_qs};
}

}  // namespace

TEST(SentenciaBusqueda, IsTheServersTextInEveryMode) {
  const struct {
    CriterioBusqueda criterio;
    const char16_t* sentencia;
  } casos[] = {
      {criterio(u"Codigo;Linea"_qs, u"7;3"_qs, ModoBusqueda::Aproximada),
       u"SELECT * FROM PEDIDOS WITH(NOLOCK)  WHERE  (Codigo = '7') AND  (Linea >= '3')  ORDER BY Codigo,Linea"},
      {criterio(u"Codigo;Linea"_qs, u"7,3"_qs, ModoBusqueda::Aproximada, false),
       u"SELECT * FROM PEDIDOS WITH(NOLOCK)  WHERE  (Codigo = '7') AND  (Linea >= '3') "},
      {criterio(u"Codigo;Linea"_qs, u"7;3"_qs, ModoBusqueda::Parcial),
       u"SELECT * FROM PEDIDOS WITH(NOLOCK)  WHERE  (Codigo LIKE '7%') AND  (Linea LIKE '3%')  ORDER BY Codigo,Linea"},
      {criterio(u"Codigo;Linea"_qs, u"7;3"_qs, ModoBusqueda::Fonetica, false),
       u"SELECT * FROM PEDIDOS WITH(NOLOCK)  WHERE  (Codigo LIKE '%7%') AND  (Linea LIKE '%3%') "},
      // The pairing stops at the first empty value; the last pair is a from-on.
      {criterio(u"Codigo;Linea;Nombre"_qs, u"7;;X"_qs, ModoBusqueda::Aproximada, false),
       u"SELECT * FROM PEDIDOS WITH(NOLOCK)  WHERE  (Codigo >= '7') "},
      {criterio(u"Nombre"_qs, u"O'Brien"_qs, ModoBusqueda::Aproximada, false),
       u"SELECT * FROM PEDIDOS WITH(NOLOCK)  WHERE  (Nombre >= 'O''Brien') "},
      // Values holding what the whole-condition replacements would have altered.
      {criterio(u"Nombre"_qs, u"a = b')"_qs, ModoBusqueda::Parcial, false),
       u"SELECT * FROM PEDIDOS WITH(NOLOCK)  WHERE  (Nombre LIKE 'a = b'')%') "},
      {criterio(u"Nombre"_qs, u"5%_[x"_qs, ModoBusqueda::Fonetica, false),
       u"SELECT * FROM PEDIDOS WITH(NOLOCK)  WHERE  (Nombre LIKE '%5%_[x%') "},
      {criterio(u"Codigo"_qs, QString(), ModoBusqueda::Aproximada, false), u"SELECT * FROM PEDIDOS WITH(NOLOCK) "},
      {criterio(u"Codigo"_qs, QString(), ModoBusqueda::Aproximada, false, u"Linea > 2"_qs),
       u"SELECT * FROM PEDIDOS WITH(NOLOCK)  WHERE Linea > 2"},
      {criterio(u"Codigo"_qs, u"1"_qs, ModoBusqueda::Aproximada, false, u"Linea > 2"_qs),
       u"SELECT * FROM PEDIDOS WITH(NOLOCK)  WHERE  (Codigo >= '1')  AND (Linea > 2)"},
      // Dates and times typed are read as the server reads them.
      {criterio(u"Fecha"_qs, u"05/03/2024"_qs, ModoBusqueda::Aproximada, false),
       u"SELECT * FROM PEDIDOS WITH(NOLOCK)  WHERE  (Fecha >= '03/05/2024') "},
      {criterio(u"HoraEntrada"_qs, u"10:30"_qs, ModoBusqueda::Aproximada, false),
       u"SELECT * FROM PEDIDOS WITH(NOLOCK)  WHERE  (HoraEntrada >= '12/30/1899 10:30:00') "},
      {criterio(u"Fecha"_qs, u"05/03/2024"_qs, ModoBusqueda::Parcial, false),
       u"SELECT * FROM PEDIDOS WITH(NOLOCK)  WHERE  (Fecha LIKE '05/03/2024%') "},
      {criterio(u"codigo"_qs, u"7"_qs, ModoBusqueda::Aproximada, true),
       u"SELECT * FROM PEDIDOS WITH(NOLOCK)  WHERE  (codigo >= '7')  ORDER BY codigo"},
  };
  for (const auto& caso : casos)
    EXPECT_EQ(SentenciaBusqueda(caso.criterio, kColumnas), QString::fromUtf16(caso.sentencia))
        << caso.criterio.campos.toStdString() << " " << caso.criterio.valores.toStdString();
}

TEST(SentenciaBusqueda, AFieldListPieceThatIsNoColumnMakesNoStatement) {
  for (const char16_t* campos : {u"Nombre) UNION SELECT Codigo FROM USUARIO --", u"Codigo;Clave", u"Nombre,Codigo",
                                 u"Codigo;1=1"})
    EXPECT_EQ(SentenciaBusqueda(criterio(QString::fromUtf16(campos), u"x"_qs, ModoBusqueda::Aproximada), kColumnas),
              QString())
        << QString::fromUtf16(campos).toStdString();
}

TEST(SentenciaBusqueda, TheLimitIsATopOnTheFirstSelect) {
  EXPECT_EQ(LimitarSentencia(u"SELECT * FROM T WITH(NOLOCK)  WHERE X IN (SELECT Y FROM Z)"_qs, 1),
            u"SELECT TOP 1 * FROM T WITH(NOLOCK)  WHERE X IN (SELECT Y FROM Z)"_qs);
}

TEST(SentenciaBusqueda, PacketsReadOnFromTheLastRowInTheOrderOfTheFieldsAndTheKey) {
  const PaquetesBusqueda paquetes =
      PaquetesDeBusqueda(criterio(u"Nombre"_qs, u"A"_qs, ModoBusqueda::Aproximada), {u"Codigo"_qs, u"Linea"_qs}, 100);
  EXPECT_EQ(paquetes.Primera(),
            u"SELECT TOP 100 * FROM PEDIDOS WITH(NOLOCK)  WHERE  (Nombre >= 'A')  ORDER BY Nombre,Codigo,Linea"_qs);
  const auto literal = [](const QString& columna, const QVariant& valor) {
    return columna == u"Nombre" ? u"'"_qs + valor.toString() + u"'"_qs : valor.toString();
  };
  EXPECT_EQ(paquetes.Siguiente({{u"NOMBRE"_qs, u"Ana"_qs}, {u"Codigo"_qs, 7}, {u"Linea"_qs, 2}}, literal),
            u"SELECT TOP 100 * FROM PEDIDOS WITH(NOLOCK)  WHERE  (Nombre >= 'A')  AND ((Nombre > 'Ana' OR (Nombre = 'Ana' "
            "AND (Codigo > 7 OR (Codigo = 7 AND Linea > 2))))) ORDER BY Nombre,Codigo,Linea"_qs);
  // NULL sorts first.
  EXPECT_EQ(paquetes.Siguiente({{u"Nombre"_qs, QVariant()}, {u"Codigo"_qs, 7}, {u"Linea"_qs, QVariant()}}, literal),
            u"SELECT TOP 100 * FROM PEDIDOS WITH(NOLOCK)  WHERE  (Nombre >= 'A')  AND ((Nombre IS NOT NULL OR (Nombre IS "
            "NULL AND (Codigo > 7 OR (Codigo = 7 AND Linea IS NOT NULL))))) ORDER BY Nombre,Codigo,Linea"_qs);
  EXPECT_EQ(paquetes.Siguiente({{u"Nombre"_qs, u"Ana"_qs}}, literal), QString());

  // Unordered, the key alone orders the packets; the caller's condition stays whole.
  const PaquetesBusqueda fonetica = PaquetesDeBusqueda(
      criterio(u"Nombre"_qs, u"a"_qs, ModoBusqueda::Fonetica, false, u"X = 1 OR Y = 2"_qs), {u"Codigo"_qs}, 100);
  EXPECT_EQ(fonetica.Siguiente({{u"Codigo"_qs, 9}}, literal),
            u"SELECT TOP 100 * FROM PEDIDOS WITH(NOLOCK)  WHERE  (Nombre LIKE '%a%')  AND (X = 1 OR Y = 2) AND "
            "(Codigo > 9) ORDER BY Codigo"_qs);
  // With no condition of its own the continuation is the whole WHERE.
  const PaquetesBusqueda todos(u"SELECT * FROM T"_qs, QString(), {u"Codigo"_qs}, 100);
  EXPECT_EQ(todos.Siguiente({{u"Codigo"_qs, 9}}, literal), u"SELECT TOP 100 * FROM T WHERE Codigo > 9 ORDER BY Codigo"_qs);
}

TEST(SentenciaBusqueda, AKeylessTablesPacketsReadOnByPositionInAnOrderOverItsSortableColumns) {
  const PaquetesBusqueda paquetes = PaquetesPorPosicion(criterio(u"Nombre"_qs, u"A"_qs, ModoBusqueda::Aproximada),
                                                        {u"Codigo"_qs, u"NOMBRE"_qs, u"Fecha"_qs}, 100);
  EXPECT_TRUE(paquetes.PorPosicion());
  EXPECT_EQ(paquetes.Primera(), u"SELECT * FROM PEDIDOS WITH(NOLOCK)  WHERE  (Nombre >= 'A')  ORDER BY Nombre,Codigo,"
                                "Fecha OFFSET 0 ROWS FETCH NEXT 100 ROWS ONLY"_qs);
  EXPECT_EQ(paquetes.Siguiente(300), u"SELECT * FROM PEDIDOS WITH(NOLOCK)  WHERE  (Nombre >= 'A')  ORDER BY Nombre,"
                                     "Codigo,Fecha OFFSET 300 ROWS FETCH NEXT 100 ROWS ONLY"_qs);
  // The last row's values tell nothing here, nor does a count read on a key.
  EXPECT_EQ(paquetes.Siguiente({{u"Nombre"_qs, u"Ana"_qs}, {u"Codigo"_qs, 7}, {u"Fecha"_qs, QVariant()}},
                               [](const QString&, const QVariant& valor) { return valor.toString(); }),
            QString());
  EXPECT_EQ(PaquetesDeBusqueda(criterio(u"Nombre"_qs, u"A"_qs, ModoBusqueda::Aproximada), {u"Codigo"_qs}, 100)
                .Siguiente(100),
            QString());

  // Unordered, the columns alone order the packets; the caller's condition stays whole.
  const PaquetesBusqueda fonetica = PaquetesPorPosicion(
      criterio(u"Nombre"_qs, u"a"_qs, ModoBusqueda::Fonetica, false, u"X = 1 OR Y = 2"_qs), {u"Linea"_qs}, 50);
  EXPECT_EQ(fonetica.Siguiente(50), u"SELECT * FROM PEDIDOS WITH(NOLOCK)  WHERE  (Nombre LIKE '%a%')  AND (X = 1 OR "
                                    "Y = 2) ORDER BY Linea OFFSET 50 ROWS FETCH NEXT 50 ROWS ONLY"_qs);
}
