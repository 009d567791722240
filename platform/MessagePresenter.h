#pragma once

#include "platform/Seam.h"

#include <QString>

// Shows one message of a kind ("I", "A", "E", "C", "P") and gives its answer:
// "SI" or "NO" for a confirmation, the typed text (or empty) for a question,
// empty otherwise. The default answer is the question's start value.
class MessagePresenter {
 public:
  virtual ~MessagePresenter() = default;
  virtual QString Present(const QString& kind, const QString& text, const QString& defaultAnswer) = 0;
  // Whether the last message was closed without one of its buttons (its
  // close box or Esc), which its answer alone does not tell.
  virtual bool LastClosed() const { return false; }

  // Before the program has its message form: the message goes to the
  // diagnostic output and gets the answer of a box closed unanswered.
  static MessagePresenter& Default();
};

using MessagePresenterSeam = Seam<MessagePresenter>;
