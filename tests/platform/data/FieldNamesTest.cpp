#include "platform/data/Field.h"
#include "platform/data/FieldNames.h"
#include "platform/sqlite/DatabaseError.h"
#include "tests/platform/data/DataFixture.h"

#include <gtest/gtest.h>

namespace {

struct SameName {
  const char16_t* declared;
  const char16_t* asked;
};

}  // namespace

// Equal names, as the engine compares them, hash alike: ASCII letters,
// accented ones, and letters outside the first plane.
TEST(FieldNames, NamesEqualWithoutRegardToCaseHashAlike) {
  for (const SameName& names : {SameName{u"Nombre", u"NOMBRE"}, SameName{u"Año", u"AÑO"},
                                SameName{u"\U00010400x", u"\U00010428X"}, SameName{u"K", u"\u212A"}}) {
    const QString declared = QString::fromUtf16(names.declared), asked = QString::fromUtf16(names.asked);
    SCOPED_TRACE(asked.toStdString());
    ASSERT_TRUE(FieldNameEqual()(declared, asked));
    EXPECT_EQ(FieldNameHash()(declared), FieldNameHash()(asked));
  }
  EXPECT_FALSE(FieldNameEqual()(u"Nombre"_qs, u"Nombres"_qs));
}

// Found by any case; the fields made at each opening are found afresh by
// the same text; of two fields of one name the first is found, and the
// other once the first is gone.
TEST(FieldNames, TheFirstFieldOfANameIsFoundWhateverItsCaseAndWhateverChanged) {
  DataFixture data;
  data.Execute(u"CREATE TABLE T (Codigo INT, \"Año\" INT); INSERT INTO T VALUES (1, 2024)"_qs);
  auto table = data.OpenTable(u"T"_qs);
  const QString asked = u"AÑO"_qs;
  EXPECT_EQ(table->FieldByName(asked).AsInteger(), 2024);
  EXPECT_EQ(&table->FieldByName(u"año"_qs), &table->FieldByName(asked));
  EXPECT_EQ(table->FindField(u"Años"_qs), nullptr);
  EXPECT_EQ(EngineMessageOf([&] { table->FieldByName(u"Mes"_qs); }), u"Field 'Mes' not found"_qs);
  table->Close();
  data.Execute(u"UPDATE T SET \"Año\" = 2025"_qs);
  table->Open();
  EXPECT_EQ(table->FieldByName(asked).AsInteger(), 2025);
  table->Close();

  auto* first = new Field(table.get(), u"CODIGO"_qs);
  auto* second = new Field(table.get(), u"Codigo"_qs);
  EXPECT_EQ(table->FindField(u"codigo"_qs), first);
  delete first;
  EXPECT_EQ(table->FindField(u"codigo"_qs), second);
  EXPECT_EQ(table->FindField(asked), nullptr);
}
