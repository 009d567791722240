#include "core/connections/CopiasSQLServer.h"
#include "core/progress/Geneprog.h"
#include "dialogs/Geneopen.h"
#include "tests/core/connections/ConexionesFixture.h"

#include <QDirIterator>
#include <QLabel>
#include <QTimer>

// A backup or restore whose folder or file chooser is closed runs nothing.
class CopiasSQLServer : public ConexionesFixture {};

TEST_F(CopiasSQLServer, ClosingTheChooserRunsNothing) {
  RegistrarGENEOPEN();
  Iniciar();
  const std::pair<bool (*)(TfGENEINIC&, const QString&, const QString&), const char*> casos[] = {
      {&CopiaSeguridadSQLServer, "Seleccione la carpeta destino para la Copia de Seguridad"},
      {&RestaurarCopiaSQLServer, "Seleccione el archivo de backup para restaurar"},
  };
  for (const auto& [operacion, titulo] : casos) {
    QString visto;
    QTimer::singleShot(0, [&visto] {
      ASSERT_NE(fGENEOPEN, nullptr);
      visto = fGENEOPEN->findChild<QLabel*>(QStringLiteral("Titulo"))->text();
      fGENEOPEN->close();
    });
    EXPECT_FALSE(operacion(Servicios(), QString(), QString()));
    EXPECT_EQ(visto, QString::fromUtf8(titulo));
    EXPECT_EQ(fGENEPROG, nullptr);
  }
  QDirIterator copias(carpeta.Path(), {QStringLiteral("*.bak")}, QDir::Files, QDirIterator::Subdirectories);
  EXPECT_FALSE(copias.hasNext());
}
