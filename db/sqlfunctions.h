#pragma once
struct sqlite3;

// cint, cdbl, CSng and isnull with the meaning the herd statements expect: the number
// a text begins with; NULL stays NULL.
void registerHerdSqlFunctions(sqlite3* db);
