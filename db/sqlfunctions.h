#pragma once
struct sqlite3;

// cint, cdbl and CSng with the meaning the herd statements expect: the number
// a text begins with; NULL stays NULL.
// (isnull(x) cannot be a function here: ISNULL is an operator; statements write "x is null".)
void registerHerdSqlFunctions(sqlite3* db);
