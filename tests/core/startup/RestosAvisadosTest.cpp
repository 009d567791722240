#include "core/startup/RestosAvisados.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <tuple>

// Each folder left is told of once while it is there; one made again in its
// place, or another beside it, is told of again.
TEST(RestosAvisados, EachFolderLeftIsToldOfOnceWhileItIsThere) {
  QTemporaryDir carpeta;
  ASSERT_TRUE(carpeta.isValid());
  const QString a = carpeta.filePath(u".ZEM.descomprimiendo-aaaaaa"_qs);
  const QString b = carpeta.filePath(u".ZEM.descomprimiendo-b b%b\nb"_qs);
  const QString c = carpeta.filePath(u".ZEM.descomprimiendo-cccccc"_qs);
  for (const QString& resto : {a, b, c}) ASSERT_TRUE(QDir().mkpath(resto));
  // What is done before a start, the folders left then, and those told of.
  const std::tuple<std::function<void()>, QStringList, QStringList> inicios[] = {
      {[] {}, {a, b}, {a, b}},
      {[] {}, {a, b}, {}},
      {[] {}, {a, b, c}, {c}},
      {[&] { QDir(b).removeRecursively(); }, {a, c}, {}},
      {[&] { QDir().mkpath(b); }, {a, b, c}, {b}},
      {[] {}, {b}, {}},          // another installation's start
      {[] {}, {a, b, c}, {}},    // the others were kept meanwhile
      {[&] {
         QDir(a).removeRecursively();
         QDir().mkpath(a);
       }, {a, b, c}, {a}},
  };
  int inicio = 0;
  for (const auto& [antes, restos, avisados] : inicios) {
    SCOPED_TRACE(++inicio);
    antes();
    EXPECT_EQ(RestosPorAvisar(restos), avisados);
  }
}
