// Reads a statement's result into a ResultSnapshot.
#pragma once

#include <memory>

#include "db/odbc_handles.h"
#include "db/result_snapshot.h"

namespace telmar {

// The column names and every row of the statement's current result.
std::unique_ptr<ResultSnapshot> ReadResult(const StatementHandle& statement);

}  // namespace telmar
