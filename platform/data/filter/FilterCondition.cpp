#include "platform/data/filter/FilterCondition.h"

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

 private:
  const Field& field_;
};

class Negation : public FilterCondition {
 public:
  explicit Negation(std::unique_ptr<FilterCondition> operand) : operand_(std::move(operand)) {}
  bool Holds() const override { return !operand_->Holds(); }

 private:
  std::unique_ptr<FilterCondition> operand_;
};

class Junction : public FilterCondition {
 public:
  Junction(std::unique_ptr<FilterCondition> left, std::unique_ptr<FilterCondition> right, bool all)
      : left_(std::move(left)), right_(std::move(right)), all_(all) {}
  bool Holds() const override { return all_ ? left_->Holds() && right_->Holds() : left_->Holds() || right_->Holds(); }

 private:
  std::unique_ptr<FilterCondition> left_;
  std::unique_ptr<FilterCondition> right_;
  bool all_;
};

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
  return std::make_unique<Junction>(std::move(left), std::move(right), true);
}

std::unique_ptr<FilterCondition> Or(std::unique_ptr<FilterCondition> left, std::unique_ptr<FilterCondition> right) {
  return std::make_unique<Junction>(std::move(left), std::move(right), false);
}

}  // namespace FilterConditions
