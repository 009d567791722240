#include "platform/MessagePresenter.h"
#include "tests/fixtures/ScriptedPresenter.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

TEST(ScriptedPresenter, AnswersFromItsScriptAndRecordsEveryMessage) {
  ScriptedPresenter presenter;
  presenter.Expect(QStringLiteral("C"), QStringLiteral("SI")).Expect(QStringLiteral("P"), QStringLiteral("clave"));
  MessagePresenter& seam = MessagePresenterSeam::Get();
  EXPECT_EQ(seam.Present(QStringLiteral("C"), QStringLiteral("¿Seguro?"), {}), QStringLiteral("SI"));
  EXPECT_EQ(seam.Present(QStringLiteral("P"), QStringLiteral("Clave:"), QStringLiteral("Password")),
            QStringLiteral("clave"));
  ASSERT_EQ(presenter.Messages().size(), 2);
  EXPECT_EQ(presenter.Messages()[1].defaultAnswer, QStringLiteral("Password"));
  EXPECT_EQ(presenter.Texts(), QStringList({u"¿Seguro?"_qs, u"Clave:"_qs}));
}

TEST(ScriptedPresenter, AMessageBeyondTheScriptFailsTheTest) {
  ScriptedPresenter presenter;
  presenter.Expect(QStringLiteral("I"));
  MessagePresenterSeam::Get().Present(QStringLiteral("I"), QStringLiteral("uno"), {});
  QString answer;
  EXPECT_NONFATAL_FAILURE(
      answer = MessagePresenterSeam::Get().Present(QStringLiteral("C"), QStringLiteral("dos"), {}),
      "unexpected message C: dos");
  EXPECT_EQ(answer, QStringLiteral("NO"));  // as a box closed unanswered
}

TEST(ScriptedPresenter, AMessageOfAnotherKindFailsTheTest) {
  ScriptedPresenter presenter;
  presenter.Expect(QStringLiteral("A"));
  EXPECT_NONFATAL_FAILURE(MessagePresenterSeam::Get().Present(QStringLiteral("E"), QStringLiteral("x"), {}),
                          "message: x");
}

TEST(ScriptedPresenter, AnAnswerNeverAskedForFailsTheTest) {
  EXPECT_NONFATAL_FAILURE(
      {
        ScriptedPresenter presenter;
        presenter.Expect(QStringLiteral("I"));
      },
      "scripted messages never shown");
}

TEST(ScriptedPresenter, TheDefaultPresenterReturnsWhenItsScriptEnds) {
  { ScriptedPresenter presenter; }
  EXPECT_EQ(&MessagePresenterSeam::Get(), &MessagePresenter::Default());
  EXPECT_EQ(MessagePresenter::Default().Present(QStringLiteral("C"), QStringLiteral("x"), {}), QStringLiteral("NO"));
}
