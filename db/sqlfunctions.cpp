#include "sqlfunctions.h"

#include <cmath>
#include <cstdlib>
#include <sqlite3.h>

namespace {

// The numeric value of an argument: numbers as they are, texts by their leading number.
bool numericArg(sqlite3_value* v, double& out)
{
    switch (sqlite3_value_type(v)) {
    case SQLITE_NULL:
        return false;
    case SQLITE_INTEGER:
        out = double(sqlite3_value_int64(v));
        return true;
    case SQLITE_FLOAT:
        out = sqlite3_value_double(v);
        return true;
    default: {
        const char* t = reinterpret_cast<const char*>(sqlite3_value_text(v));
        out = t ? std::strtod(t, nullptr) : 0.0;
        return true;
    }
    }
}

void cintFn(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    double d;
    if (!numericArg(argv[0], d)) {
        sqlite3_result_null(ctx);
        return;
    }
    // Halves go to the even neighbour, as the original engine's integer conversion does.
    sqlite3_result_int64(ctx, sqlite3_int64(std::nearbyint(d)));
}

void cdblFn(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    double d;
    if (!numericArg(argv[0], d))
        sqlite3_result_null(ctx);
    else
        sqlite3_result_double(ctx, d);
}

void csngFn(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    double d;
    if (!numericArg(argv[0], d))
        sqlite3_result_null(ctx);
    else
        sqlite3_result_double(ctx, double(float(d)));
}

} // namespace

void registerHerdSqlFunctions(sqlite3* db)
{
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_function(db, "cint", 1, flags, nullptr, cintFn, nullptr, nullptr);
    sqlite3_create_function(db, "cdbl", 1, flags, nullptr, cdblFn, nullptr, nullptr);
    sqlite3_create_function(db, "csng", 1, flags, nullptr, csngFn, nullptr, nullptr);
}
