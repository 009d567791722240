#include "platform/data/filter/FilterExpression.h"

#include "platform/data/Field.h"
#include "platform/data/filter/FilterCondition.h"
#include "platform/data/filter/FilterLexer.h"
#include "platform/data/filter/FilterTexts.h"
#include "platform/sqlite/DatabaseError.h"

#include <QLocale>

namespace {

using FieldComparison::Kind;
using FieldComparison::TextCase;
using Condition = std::unique_ptr<FilterCondition>;

[[noreturn]] void raise(const char* text, const QString& argument = QString()) {
  const QString message = QString::fromLatin1(text);
  throw EDatabaseError(argument.isNull() ? message : message.arg(argument));
}

FilterComparison comparisonOf(const QString& symbol) {
  if (symbol == u"=") return FilterComparison::Equal;
  if (symbol == u"<>") return FilterComparison::NotEqual;
  if (symbol == u"<") return FilterComparison::Less;
  if (symbol == u">") return FilterComparison::Greater;
  if (symbol == u"<=") return FilterComparison::LessOrEqual;
  return FilterComparison::GreaterOrEqual;
}

// The same comparison with its sides exchanged.
FilterComparison mirrored(FilterComparison comparison) {
  switch (comparison) {
    case FilterComparison::Less:
      return FilterComparison::Greater;
    case FilterComparison::Greater:
      return FilterComparison::Less;
    case FilterComparison::LessOrEqual:
      return FilterComparison::GreaterOrEqual;
    case FilterComparison::GreaterOrEqual:
      return FilterComparison::LessOrEqual;
    default:
      return comparison;
  }
}

// A side of a comparison: a field, or a constant as written.
struct Side {
  const Field* field = nullptr;
  FilterToken token = FilterToken::Text;
  QString value;
};

// Beyond these an expression is refused: no filter the system writes comes
// near them, and parsing deeper nesting would run out of stack.
constexpr int kMaxNesting = 256;
constexpr int kMaxConditions = 100000;

class FilterParser {
 public:
  FilterParser(const QString& text, const Dataset& dataset, FilterOptions options)
      : lexer_(text),
        dataset_(dataset),
        textCase_(options & foCaseInsensitive ? TextCase::Insensitive : TextCase::Sensitive),
        partialCompare_(!(options & foNoPartialCompare)) {}

  Condition ParseAll() {
    Condition condition = parseOr();
    if (lexer_.Token() != FilterToken::End) raise(EngineText::FilterIncorrectlyTerminated);
    return condition;
  }

 private:
  Condition parseOr() {
    Condition condition = parseAnd();
    while (lexer_.Token() == FilterToken::Or) {
      lexer_.Next();
      condition = FilterConditions::Or(std::move(condition), parseAnd());
    }
    return condition;
  }

  Condition parseAnd() {
    Condition condition = parseNot();
    while (lexer_.Token() == FilterToken::And) {
      lexer_.Next();
      condition = FilterConditions::And(std::move(condition), parseNot());
    }
    return condition;
  }

  // Counts one level of nesting while it lives.
  class Nesting {
   public:
    explicit Nesting(int& depth) : depth_(depth) {
      if (++depth_ > kMaxNesting) raise(EngineText::FilterTooComplex);
    }
    ~Nesting() { --depth_; }
    Nesting(const Nesting&) = delete;
    Nesting& operator=(const Nesting&) = delete;

   private:
    int& depth_;
  };

  Condition parseNot() {
    if (lexer_.Token() != FilterToken::Not) return parsePrimary();
    const Nesting nesting(depth_);
    lexer_.Next();
    return FilterConditions::Not(parseNot());
  }

  Condition parsePrimary() {
    if (lexer_.Token() == FilterToken::LeftParen) {
      const Nesting nesting(depth_);
      lexer_.Next();
      Condition condition = parseOr();
      if (lexer_.Token() != FilterToken::RightParen) raise(EngineText::FilterNoRightParenthesis, lexer_.Shown());
      lexer_.Next();
      return condition;
    }
    if (++conditions_ > kMaxConditions) raise(EngineText::FilterTooComplex);
    const Side left = parseSide();
    if (lexer_.Token() != FilterToken::Comparison) {
      if (!left.field) raise(EngineText::FilterTypeMismatch);
      if (FieldComparison::KindOf(*left.field) != Kind::Boolean)
        raise(EngineText::FilterNotBoolean, left.field->FieldName());
      return FilterConditions::BooleanField(*left.field);
    }
    const FilterComparison comparison = comparisonOf(lexer_.Value());
    lexer_.Next();
    const Side right = parseSide();
    return compare(left, comparison, right);
  }

  Side parseSide() {
    Side side;
    side.token = lexer_.Token();
    side.value = lexer_.Value();
    switch (side.token) {
      case FilterToken::Name:
        side.field = dataset_.FindField(side.value);
        if (!side.field) raise(EngineText::FieldNotFound, side.value);
        if (FieldComparison::KindOf(*side.field) == Kind::Bytes) raise(EngineText::FilterBadField, side.value);
        break;
      case FilterToken::Text:
      case FilterToken::Number:
        break;
      default:
        raise(EngineText::FilterExpressionExpected, lexer_.Shown());
    }
    lexer_.Next();
    return side;
  }

  Condition compare(const Side& left, FilterComparison comparison, const Side& right) const {
    if (!left.field && !right.field) raise(EngineText::FilterTypeMismatch);
    if (!left.field) return compare(right, mirrored(comparison), left);
    const Field& field = *left.field;
    if (right.field) {
      if (FieldComparison::KindOf(field) != FieldComparison::KindOf(*right.field))
        raise(EngineText::FilterTypeMismatch);
      return FilterConditions::FieldWithField(field, comparison, *right.field, textCase_);
    }
    const Kind kind = FieldComparison::KindOf(field);
    const bool equality = comparison == FilterComparison::Equal || comparison == FilterComparison::NotEqual;
    if (kind == Kind::Text && right.token == FilterToken::Text && partialCompare_ && equality &&
        right.value.endsWith(u'*'))
      return FilterConditions::FieldWithPrefix(field, comparison == FilterComparison::Equal, right.value.chopped(1),
                                               textCase_);
    std::optional<FieldComparison::Operand> constant;
    if (kind == Kind::Number && right.token == FilterToken::Number) {
      bool read = false;
      const double number = QLocale::c().toDouble(right.value, &read);
      if (read) constant = FieldComparison::Operand{Kind::Number, false, QString(), number, QByteArray()};
    } else {
      constant = FieldComparison::FromText(field, right.value);
    }
    if (!constant) raise(EngineText::FilterTypeMismatch);
    return FilterConditions::FieldWithConstant(field, comparison, std::move(*constant), textCase_);
  }

  FilterLexer lexer_;
  const Dataset& dataset_;
  TextCase textCase_;
  bool partialCompare_;
  int depth_ = 0;
  int conditions_ = 0;
};

}  // namespace

std::shared_ptr<const FilterExpression> FilterExpression::Parse(const QString& text, const Dataset& dataset,
                                                                FilterOptions options) {
  if (text.trimmed().isEmpty()) return nullptr;
  return std::make_shared<const FilterExpression>(FilterParser(text, dataset, options).ParseAll());
}

FilterExpression::FilterExpression(std::unique_ptr<FilterCondition> condition) : condition_(std::move(condition)) {}

FilterExpression::~FilterExpression() = default;

bool FilterExpression::Matches() const { return condition_->Holds(); }

QList<const Field*> FilterExpression::Fields() const {
  QList<const Field*> fields;
  condition_->AddFields(fields);
  return fields;
}

std::optional<FilterSql> FilterExpression::Sql(FilterSqlWriter::ColumnOf columnOf) const {
  FilterSqlWriter writer(std::move(columnOf));
  if (!condition_->WriteSql(writer)) return std::nullopt;
  return std::move(writer).Written();
}
