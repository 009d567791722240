#include "platform/data/Field.h"
#include "platform/report/DatasetSource.h"
#include "platform/report/RecordedPages.h"
#include "platform/report/ReportEngine.h"
#include "tests/fixtures/ReportTestSupport.h"
#include "tests/platform/data/DataFixture.h"

#include <gtest/gtest.h>

namespace {

TEST(DatasetSource, AReportWalksATableWithNumbersTextsAndPictures) {
  DataFixture data;
  data.Execute("CREATE TABLE FOTOS (Codigo INT NOT NULL, Nombre VARCHAR(20), Saldo FLOAT, Foto IMAGE, "
               "CONSTRAINT FOTOS_Clave1 PRIMARY KEY (Codigo))");
  data.Execute("INSERT INTO FOTOS VALUES (2, 'Beta', 1234.5, NULL)");
  data.Execute("INSERT INTO FOTOS VALUES (1, 'Alfa & <Cía>', NULL, NULL)");
  auto table = data.OpenTable("FOTOS");
  table->First();
  table->Edit();
  table->FieldByName("Foto").SetAsBytes(PngPicture(30, 10));
  table->Post();

  DatasetSource source(*table);
  ReportEngine report;
  report.Source = &source;
  Band& detail = report.AddBand(BandKind::Detail, "Detalle");
  for (const char* field : {"Codigo", "Nombre", "Saldo", "Falta"}) {
    ReportItem& item = detail.Add(ItemKind::DataText, field);
    item.DataField = field;
    if (QByteArray(field) == "Saldo") item.DisplayMask = "#,##0.00";
  }
  ReportItem& foto = detail.Add(ItemKind::Picture, "Foto");
  foto.DataField = "Foto";
  ReportItem& total = report.AddBand(BandKind::Summary, "Resumen").Add(ItemKind::Sum, "Total");
  total.DataField = "Saldo";
  total.DisplayMask = "#,##0.00";
  RecordedPages pages;
  ASSERT_EQ(report.Run(pages), 1);
  const PageRecord page = pages.Page(1);
  EXPECT_EQ(TextsOf(page), QStringList({"1", "Alfa & <Cía>", "", "", "2", "Beta", "1.234,50", "", "1.234,50"}));
  int pictures = 0;
  for (const PageCell& cell : page.cells) pictures += cell.kind == PageCell::Kind::Picture;
  EXPECT_EQ(pictures, 1);
}

}  // namespace
