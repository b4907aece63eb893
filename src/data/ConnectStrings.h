// The module's connection strings, one per step as the steps have always
// named them: data-source names and the login match without regard to case,
// so these name two data sources (one-card and hotel) and one login.
#pragma once

// One-card database: this hotel's agent code and the station discount.
constexpr const char* kConnectYkt = "DSN=TELMARykt;UID=SA;PWD=";
// One-card database: the cancellation check.
constexpr const char* kConnectYktCancelCheck = "DSN=TELMARYKT;UID=SA;PWD=";
// One-card database: default connection of the typed record sets.
constexpr const char* kConnectYktRecordset = "ODBC;DSN=Telmarykt;UID=sa;PWD=";
// Hotel database: guest accounts, posting and cancelling.
constexpr const char* kConnectHotel = "DSN=TELMARdb;UID=SA;PWD=";
// Hotel database: group and travel-agent accounts.
constexpr const char* kConnectHotelAccounts = "DSN=TELMARDb;UID=SA;PWD=";
