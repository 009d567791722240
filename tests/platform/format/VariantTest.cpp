#include "platform/Exceptions.h"
#include "platform/Variant.h"
#include "platform/format/Format.h"
#include "tests/platform/data/DataFixture.h"

#include <gtest/gtest.h>

#include <functional>

TEST(Variant, KindsAndTheirClasses) {
  const std::tuple<Variant, VarType, bool> cases[] = {
      {Variant(), VarType::Empty, false}, {Variant::Null(), VarType::Null, false},
      {Variant::Smallint(-3), VarType::Smallint, true}, {Variant::Integer(7), VarType::Integer, true},
      {Variant::Int64(1LL << 40), VarType::Int64, true}, {Variant::Single(1.5f), VarType::Single, true},
      {Variant::Double(2.5), VarType::Double, true}, {Variant::Currency(3.25), VarType::Currency, true},
      {Variant::Date(45306), VarType::Date, false}, {Variant::Boolean(true), VarType::Boolean, false},
      {Variant::Byte(200), VarType::Byte, true}, {Variant::String(u"a"_qs), VarType::String, false},
      {Variant::OleStr(u"a"_qs), VarType::OleStr, false},
      {Variant::Array({Variant::String(u"a"_qs)}), VarType::Array, false},
  };
  for (const auto& [value, type, numeric] : cases) {
    EXPECT_EQ(value.Type(), type) << Variant::TypeName(type).toStdString();
    EXPECT_EQ(value.IsNumeric(), numeric) << Variant::TypeName(type).toStdString();
    EXPECT_EQ(value.IsNullOrEmpty(), type == VarType::Null || type == VarType::Empty);
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
}

TEST(Variant, NumbersBooleansAndDatesFromEveryKind) {
  const std::pair<double, double> numbers[] = {
      {Variant().AsDouble(), 0}, {Variant::Integer(7).AsDouble(), 7}, {Variant::Boolean(true).AsDouble(), -1},
      {Variant::Date(45306.25).AsDouble(), 45306.25}, {Variant::String(u"1,5"_qs).AsDouble(), 1.5},
      {Variant::Currency(1.23456).AsDouble(), 1.2346},
      {double(Variant::Double(2.5).AsInt64()), 2},  // halves go to the even number
      {double(Variant::Double(3.5).AsInt64()), 4}, {double(Variant::Double(-2.7).AsInt64()), -3},
      {double(Variant::String(u"12"_qs).AsInt64()), 12}, {double(Variant::String(u"2,5"_qs).AsInt64()), 2},
      {double(Variant::Boolean(true).AsInt64()), -1}, {Variant::String(u"15/1/2024 6:00"_qs).AsDateTime(), 45306.25},
      {Variant::Double(1.5).AsDateTime(), 1.5}, {Variant().AsDateTime(), 0}};
  for (const auto& [value, expected] : numbers) EXPECT_EQ(value, expected);
  const std::pair<Variant, bool> booleans[] = {
      {Variant(), false}, {Variant::Integer(0), false}, {Variant::Integer(5), true},
      {Variant::String(u"true"_qs), true}, {Variant::String(u"FALSE"_qs), false}, {Variant::String(u"0"_qs), false}};
  for (const auto& [value, expected] : booleans) EXPECT_EQ(value.AsBoolean(), expected) << value.AsString().toStdString();
}

TEST(Variant, WhatDoesNotConvertRaisesTheStandardText) {
  const std::pair<std::function<void()>, const char*> cases[] = {
      {[] { (void)Variant::Null().AsString(); }, "(Null) into type (String)"},
      {[] { (void)Variant::Array({}).AsString(); }, "(Array Variant) into type (String)"},
      {[] { (void)Variant::String(u"1.5"_qs).AsDouble(); }, "(String) into type (Double)"},
      {[] { (void)Variant::Null().AsDouble(); }, "(Null) into type (Double)"},
      {[] { (void)Variant::Double(1e30).AsInt64(); }, "(Double) into type (Int64)"},
      {[] { (void)Variant::String(u"x"_qs).AsInt64(); }, "(String) into type (Int64)"},
      {[] { (void)Variant::String(u"si"_qs).AsBoolean(); }, "(String) into type (Boolean)"},
      {[] { (void)Variant::Null().AsDateTime(); }, "(Null) into type (Date)"},
      {[] { (void)Variant::String(u"ayer"_qs).AsDateTime(); }, "(String) into type (Date)"}};
  for (const auto& [convert, types] : cases)
    EXPECT_EQ(MessageOf(convert), u"Could not convert variant of type "_qs + QLatin1String(types));
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
