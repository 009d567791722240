#include "platform/data/filter/FilterCondition.h"

#include "platform/data/filter/FilterSql.h"

#include <vector>

namespace FilterConditions {

namespace {

bool satisfies(std::optional<int> order, FilterComparison comparison) {
  if (!order) return false;  // NULL compares with nothing
  switch (comparison) {
    case FilterComparison::Equal:
      return *order == 0;
    case FilterComparison::NotEqual:
      return *order != 0;
    case FilterComparison::Less:
      return *order < 0;
    case FilterComparison::Greater:
      return *order > 0;
    case FilterComparison::LessOrEqual:
      return *order <= 0;
    case FilterComparison::GreaterOrEqual:
      return *order >= 0;
  }
  return false;
}

class WithConstant : public FilterCondition {
 public:
  WithConstant(const Field& field, FilterComparison comparison, Operand constant, TextCase textCase)
      : field_(field), comparison_(comparison), constant_(std::move(constant)), textCase_(textCase) {}
  bool Holds() const override {
    return satisfies(FieldComparison::Compare(FieldComparison::ValueOf(field_), constant_, textCase_), comparison_);
  }
  void AddFields(QList<const Field*>& fields) const override { fields.append(&field_); }
  bool WriteSql(FilterSqlWriter& sql) const override {
    if (constant_.null) return false;
    switch (constant_.kind) {
      case FieldComparison::Kind::Number:
        return sql.Compare(field_, comparison_, constant_.number);
      case FieldComparison::Kind::Text:
        return sql.CompareText(field_, comparison_, constant_.text, textCase_);
      default:
        return false;
    }
  }

 private:
  const Field& field_;
  FilterComparison comparison_;
  Operand constant_;
  TextCase textCase_;
};

class WithPrefix : public FilterCondition {
 public:
  WithPrefix(const Field& field, bool equal, QString prefix, TextCase textCase)
      : field_(field), equal_(equal), prefix_(std::move(prefix)), textCase_(textCase) {}
  bool Holds() const override {
    return FieldComparison::StartsWith(FieldComparison::ValueOf(field_), prefix_, textCase_) == equal_;
  }
  void AddFields(QList<const Field*>& fields) const override { fields.append(&field_); }
  bool WriteSql(FilterSqlWriter& sql) const override { return sql.StartsWith(field_, equal_, prefix_, textCase_); }

 private:
  const Field& field_;
  bool equal_;
  QString prefix_;
  TextCase textCase_;
};

class WithField : public FilterCondition {
 public:
  WithField(const Field& left, FilterComparison comparison, const Field& right, TextCase textCase)
      : left_(left), comparison_(comparison), right_(right), textCase_(textCase) {}
  bool Holds() const override {
    return satisfies(
        FieldComparison::Compare(FieldComparison::ValueOf(left_), FieldComparison::ValueOf(right_), textCase_),
        comparison_);
  }
  void AddFields(QList<const Field*>& fields) const override { fields << &left_ << &right_; }
  bool WriteSql(FilterSqlWriter& sql) const override { return sql.Compare(left_, comparison_, right_, textCase_); }

 private:
  const Field& left_;
  FilterComparison comparison_;
  const Field& right_;
  TextCase textCase_;
};

class IsTrue : public FilterCondition {
 public:
  explicit IsTrue(const Field& field) : field_(field) {}
  bool Holds() const override {
    const Operand value = FieldComparison::ValueOf(field_);
    return !value.null && value.number != 0;
  }
  void AddFields(QList<const Field*>& fields) const override { fields.append(&field_); }

 private:
  const Field& field_;
};

class Negation : public FilterCondition {
 public:
  explicit Negation(std::unique_ptr<FilterCondition> operand) : operand_(std::move(operand)) {}
  bool Holds() const override { return !operand_->Holds(); }
  void AddFields(QList<const Field*>& fields) const override { operand_->AddFields(fields); }
  bool WriteSql(FilterSqlWriter& sql) const override { return sql.Not(*operand_); }

 private:
  std::unique_ptr<FilterCondition> operand_;
};

// A chain of ANDs or of ORs as one node, however long, so that neither its
// evaluation nor its destruction goes deeper with its length.
class Junction : public FilterCondition {
 public:
  Junction(std::unique_ptr<FilterCondition> left, std::unique_ptr<FilterCondition> right, bool all) : all_(all) {
    Join(std::move(left));
    Join(std::move(right));
  }
  bool Holds() const override {
    for (const auto& operand : operands_)
      if (operand->Holds() != all_) return !all_;
    return all_;
  }
  void AddFields(QList<const Field*>& fields) const override {
    for (const auto& operand : operands_) operand->AddFields(fields);
  }
  bool WriteSql(FilterSqlWriter& sql) const override { return sql.Junction(operands_, all_); }
  bool All() const { return all_; }
  void Join(std::unique_ptr<FilterCondition> operand) {
    auto* chain = dynamic_cast<Junction*>(operand.get());
    if (chain && chain->all_ == all_) {
      for (auto& inner : chain->operands_) operands_.push_back(std::move(inner));
      return;
    }
    operands_.push_back(std::move(operand));
  }

 private:
  std::vector<std::unique_ptr<FilterCondition>> operands_;
  bool all_;
};

std::unique_ptr<FilterCondition> junction(std::unique_ptr<FilterCondition> left, std::unique_ptr<FilterCondition> right,
                                          bool all) {
  auto* chain = dynamic_cast<Junction*>(left.get());
  if (chain && chain->All() == all) {
    chain->Join(std::move(right));
    return left;
  }
  return std::make_unique<Junction>(std::move(left), std::move(right), all);
}

}  // namespace

std::unique_ptr<FilterCondition> FieldWithConstant(const Field& field, FilterComparison comparison, Operand constant,
                                                   TextCase textCase) {
  return std::make_unique<WithConstant>(field, comparison, std::move(constant), textCase);
}

std::unique_ptr<FilterCondition> FieldWithPrefix(const Field& field, bool equal, QString prefix, TextCase textCase) {
  return std::make_unique<WithPrefix>(field, equal, std::move(prefix), textCase);
}

std::unique_ptr<FilterCondition> FieldWithField(const Field& left, FilterComparison comparison, const Field& right,
                                                TextCase textCase) {
  return std::make_unique<WithField>(left, comparison, right, textCase);
}

std::unique_ptr<FilterCondition> BooleanField(const Field& field) { return std::make_unique<IsTrue>(field); }

std::unique_ptr<FilterCondition> Not(std::unique_ptr<FilterCondition> operand) {
  return std::make_unique<Negation>(std::move(operand));
}

std::unique_ptr<FilterCondition> And(std::unique_ptr<FilterCondition> left, std::unique_ptr<FilterCondition> right) {
  return junction(std::move(left), std::move(right), true);
}

std::unique_ptr<FilterCondition> Or(std::unique_ptr<FilterCondition> left, std::unique_ptr<FilterCondition> right) {
  return junction(std::move(left), std::move(right), false);
}

}  // namespace FilterConditions
