#include "tests/platform/data/RecordsHelpers.h"

#include "platform/data/Field.h"

QStringList Walk(Dataset& dataset, const QString& fieldNames) {
  QStringList records;
  for (dataset.First(); !dataset.Eof(); dataset.Next()) {
    QStringList values;
    for (const QString& name : fieldNames.split(u';')) values.append(dataset.FieldByName(name).AsString());
    records.append(values.join(u':'));
  }
  return records;
}

void CreateLines(const DataFixture& data) {
  auto table = data.NewTable(u"LINEAS"_qs);
  table->FieldDefs().Add(u"CodigoTemporal"_qs, ftInteger);
  table->FieldDefs().Add(u"Linea"_qs, ftSmallint);
  table->FieldDefs().Add(u"LineaMemo"_qs, ftSmallint);
  table->FieldDefs().Add(u"Texto"_qs, ftString, 60);
  table->FieldDefs().Add(u"Importe"_qs, ftFloat);
  table->FieldDefs().Add(u"Fecha"_qs, ftDate);
  table->IndexDefs().Add(QString(), u"CodigoTemporal;Linea;LineaMemo"_qs, ixPrimary);
  table->IndexDefs().Add(u"Clave2"_qs, u"Texto;CodigoTemporal"_qs, 0);
  table->CreateTable();
}

void AddLine(const DataFixture& data, int document, int line, int memoLine, const QString& text) {
  data.Execute(QStringLiteral("INSERT INTO LINEAS (CodigoTemporal, Linea, LineaMemo, Texto) VALUES (%1, %2, %3, '%4')")
                   .arg(document)
                   .arg(line)
                   .arg(memoLine)
                   .arg(text));
}
