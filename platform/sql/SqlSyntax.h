#pragma once

#include <cstddef>
#include <vector>

// What a part of a statement is, as T-SQL's grammar reads it.
enum class SqlSyntaxKind {
  // Statements.
  Select, Insert, Update, Delete, CreateTable, AlterTable, CreateIndex, DropTable, DropIndex, Transaction,
  ServerCommand, Trigger, IfExists,
  // Queries: a set operation holds its two sides, a SELECT block its clauses.
  Union, Except, Intersect, SelectBlock, OrderBy, Top,
  // FROM: a list of table sources, each a table, a derived table or a join of two.
  From, Table, DerivedTable, Join,
  // Conditions and the predicates they combine.
  Where, Having, On, Or, And, Not, Predicate, Exists,
  // Expressions.
  Expression, Subquery, Case, FunctionCall,
};

// A node of a statement's syntax tree: its kind, the significant tokens it
// spans and its parts in the order written.
struct SqlSyntax {
  SqlSyntaxKind kind;
  size_t first = 0, last = 0;  // significant tokens [first, last)
  std::vector<SqlSyntax> parts;

  const SqlSyntax* Part(SqlSyntaxKind partKind) const {
    for (const SqlSyntax& part : parts)
      if (part.kind == partKind) return &part;
    return nullptr;
  }
};
