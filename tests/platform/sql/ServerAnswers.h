#pragma once

#include "tests/fixtures/TemporaryFolder.h"
#include "tests/platform/sql/ServerClient.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <span>

// Statements run on an embedded server of their own, each against the answer
// SQL Server documents: its rows, or its error.
using Rows = QList<QStringList>;

struct Answer {
  const char* statement;
  Rows expected;
  const char* error = nullptr;
};

// The rows as one text, a line a row, the values joined by " | ".
QString Shown(const Rows& rows);

class ServerAnswers : public ::testing::Test {
 protected:
  // The statements that make the tables the answers read.
  explicit ServerAnswers(std::span<const char* const> tables);

  // The rows the statement gives as Shown gives them, or "error: " and the
  // server's text.
  QString Seen(const QString& statement);
  void ExpectAnswers(const Answer* answers, size_t count);

  TemporaryFolder folder_;
  ServerClient client_;
};
