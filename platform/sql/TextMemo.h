#pragma once

#include <QHash>
#include <QString>

// What was worked out from texts a program sends again and again, by the
// text. Bounded: long texts are not kept, and when full it starts afresh.
template <typename Value>
class TextMemo {
 public:
  static constexpr qsizetype kTexts = 1024;
  static constexpr qsizetype kLongestText = 1000;

  const Value* Find(const QString& text) const {
    const auto found = values_.constFind(text);
    return found == values_.cend() ? nullptr : &found.value();
  }
  void Keep(const QString& text, Value value) {
    if (text.size() > kLongestText) return;
    if (values_.size() >= kTexts) values_.clear();
    values_.insert(text, std::move(value));
  }
  // The value of a text, worked out by `work` when not kept; a failure keeps nothing.
  template <typename Work>
  Value Of(const QString& text, Work&& work) {
    if (const Value* kept = Find(text)) return *kept;
    Value value = work();
    Keep(text, value);
    return value;
  }
  void Clear() { values_.clear(); }

 private:
  QHash<QString, Value> values_;
};
