// The open of a record set as the lookup steps make it.
#pragma once

#include "telmar/database.h"

// Opens `recordset` as a snapshot of `statement`, with no options. When the
// database raises an error, its own text is shown in a box of `boxType`,
// the error is released and false is returned; the step then tidies up in
// its own way.
bool OpenSnapshotOrReport(CRecordset& recordset, const char* statement, UINT boxType);
