#include "platform/Exceptions.h"
#include "platform/Variant.h"
#include "platform/format/Format.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

QString ConversionError(const std::function<void()>& convert) {
  try {
    convert();
  } catch (const Exception& e) {
    return e.Message();
  }
  return QStringLiteral("(converted)");
}

}  // namespace

TEST(Variant, KindsAndTheirClasses) {
  const struct {
    Variant value;
    VarType type;
    bool numeric;
  } cases[] = {
      {Variant(), VarType::Empty, false}, {Variant::Null(), VarType::Null, false},
      {Variant::Smallint(-3), VarType::Smallint, true}, {Variant::Integer(7), VarType::Integer, true},
      {Variant::Int64(1LL << 40), VarType::Int64, true}, {Variant::Single(1.5f), VarType::Single, true},
      {Variant::Double(2.5), VarType::Double, true}, {Variant::Currency(3.25), VarType::Currency, true},
      {Variant::Date(45306), VarType::Date, false}, {Variant::Boolean(true), VarType::Boolean, false},
      {Variant::Byte(200), VarType::Byte, true}, {Variant::String(u"a"_qs), VarType::String, false},
      {Variant::OleStr(u"a"_qs), VarType::OleStr, false},
      {Variant::Array({Variant::String(u"a"_qs)}), VarType::Array, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.value.Type(), c.type) << Variant::TypeName(c.type).toStdString();
    EXPECT_EQ(c.value.IsNumeric(), c.numeric) << Variant::TypeName(c.type).toStdString();
    EXPECT_EQ(c.value.IsNullOrEmpty(), c.type == VarType::Null || c.type == VarType::Empty);
  }
  EXPECT_TRUE(Variant::Null().IsNull());
  EXPECT_FALSE(Variant().IsNull());
  EXPECT_TRUE(Variant().IsEmpty());
}

TEST(Variant, TextOfEveryKind) {
  const std::pair<Variant, const char16_t*> cases[] = {
      {Variant(), u""}, {Variant::Smallint(-3), u"-3"}, {Variant::Integer(42), u"42"},
      {Variant::Int64(-9000000000LL), u"-9000000000"}, {Variant::Byte(200), u"200"},
      {Variant::Double(1234.5), u"1234,5"}, {Variant::Single(0.5f), u"0,5"}, {Variant::Currency(2.5), u"2,5"},
      {Variant::Date(45306.25), u"15/01/2024 06:00:00"}, {Variant::Date(45306), u"15/01/2024"},
      {Variant::Boolean(true), u"True"}, {Variant::Boolean(false), u"False"},
      {Variant::String(u"O'Brien"_qs), u"O'Brien"}, {Variant::OleStr(u"año"_qs), u"año"},
  };
  for (const auto& [value, expected] : cases) EXPECT_EQ(value.AsString(), QString::fromUtf16(expected));
  EXPECT_EQ(ConversionError([] { (void)Variant::Null().AsString(); }),
            u"Could not convert variant of type (Null) into type (String)"_qs);
  EXPECT_EQ(ConversionError([] { (void)Variant::Array({}).AsString(); }),
            u"Could not convert variant of type (Array Variant) into type (String)"_qs);
}

TEST(Variant, NumbersFromEveryKind) {
  EXPECT_EQ(Variant().AsDouble(), 0);
  EXPECT_EQ(Variant::Integer(7).AsDouble(), 7);
  EXPECT_EQ(Variant::Boolean(true).AsDouble(), -1);
  EXPECT_EQ(Variant::Date(45306.25).AsDouble(), 45306.25);
  EXPECT_EQ(Variant::String(u"1,5"_qs).AsDouble(), 1.5);
  EXPECT_EQ(Variant::Currency(1.23456).AsDouble(), 1.2346);
  EXPECT_EQ(ConversionError([] { (void)Variant::String(u"1.5"_qs).AsDouble(); }),
            u"Could not convert variant of type (String) into type (Double)"_qs);
  EXPECT_EQ(ConversionError([] { (void)Variant::Null().AsDouble(); }),
            u"Could not convert variant of type (Null) into type (Double)"_qs);

  EXPECT_EQ(Variant::Double(2.5).AsInt64(), 2);  // halves go to the even number
  EXPECT_EQ(Variant::Double(3.5).AsInt64(), 4);
  EXPECT_EQ(Variant::Double(-2.7).AsInt64(), -3);
  EXPECT_EQ(Variant::String(u"12"_qs).AsInt64(), 12);
  EXPECT_EQ(Variant::String(u"2,5"_qs).AsInt64(), 2);
  EXPECT_EQ(Variant::Boolean(true).AsInt64(), -1);
  EXPECT_EQ(ConversionError([] { (void)Variant::Double(1e30).AsInt64(); }),
            u"Could not convert variant of type (Double) into type (Int64)"_qs);
  EXPECT_EQ(ConversionError([] { (void)Variant::String(u"x"_qs).AsInt64(); }),
            u"Could not convert variant of type (String) into type (Int64)"_qs);
}

TEST(Variant, BooleansAndDates) {
  EXPECT_FALSE(Variant().AsBoolean());
  EXPECT_FALSE(Variant::Integer(0).AsBoolean());
  EXPECT_TRUE(Variant::Integer(5).AsBoolean());
  EXPECT_TRUE(Variant::String(u"true"_qs).AsBoolean());
  EXPECT_FALSE(Variant::String(u"FALSE"_qs).AsBoolean());
  EXPECT_FALSE(Variant::String(u"0"_qs).AsBoolean());
  EXPECT_EQ(ConversionError([] { (void)Variant::String(u"si"_qs).AsBoolean(); }),
            u"Could not convert variant of type (String) into type (Boolean)"_qs);

  EXPECT_EQ(Variant::String(u"15/1/2024 6:00"_qs).AsDateTime(), 45306.25);
  EXPECT_EQ(Variant::Double(1.5).AsDateTime(), 1.5);
  EXPECT_EQ(Variant().AsDateTime(), 0);
  EXPECT_EQ(ConversionError([] { (void)Variant::Null().AsDateTime(); }),
            u"Could not convert variant of type (Null) into type (Date)"_qs);
  EXPECT_EQ(ConversionError([] { (void)Variant::String(u"ayer"_qs).AsDateTime(); }),
            u"Could not convert variant of type (String) into type (Date)"_qs);
}

TEST(Variant, ArraysAndEquality) {
  const Variant array = Variant::Array({Variant::String(u"A"_qs), Variant::Integer(2)});
  ASSERT_EQ(array.Elements().size(), 2);
  EXPECT_EQ(array.Elements()[0], Variant::String(u"A"_qs));
  EXPECT_TRUE(Variant::Integer(1).Elements().isEmpty());
  EXPECT_EQ(array, Variant::Array({Variant::String(u"A"_qs), Variant::Integer(2)}));
  EXPECT_NE(array, Variant::Array({Variant::String(u"A"_qs), Variant::Integer(3)}));
  EXPECT_NE(Variant::Integer(1), Variant::Int64(1));  // another kind
  EXPECT_NE(Variant::String(u"a"_qs), Variant::OleStr(u"a"_qs));
  EXPECT_EQ(Variant::Double(1), Variant::Double(1));
  EXPECT_EQ(Variant::Null(), Variant::Null());
  EXPECT_NE(Variant::Null(), Variant());
}
