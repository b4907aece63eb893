// Test bodies shared by both database kinds: a fixture that opens a site of
// the kind under test, and the parameter lists that run a suite on both.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>

#include "site_support.h"

namespace telmar_test {

class KindTest : public ::testing::Test {
protected:
    // Skips the test when PostgreSQL is asked for and no test server is set.
    void openSite(DbKind kind, const std::string& createOptions = "") {
        if (kind == DbKind::Postgresql && testPgServer().empty())
            GTEST_SKIP() << "no PostgreSQL test server site (TELMAR_TEST_PG_SERVER)";
        site.emplace(kind, createOptions);
    }

    Connection& db() { return site->db(); }
    std::string surplus(const std::string& cardId) {
        return db().text("SELECT Surplus FROM SavingsCard WHERE CardID = '" + cardId + "'").value_or("<none>");
    }
    long long postings() { return db().integer("SELECT count(*) FROM yktpaydetail"); }
    void expectOk(const ProcedureCall& call) {
        const StatementResult result = db().call(call);
        ASSERT_TRUE(result.ok()) << statementFor(site->kind(), call) << "\n" << result.error;
    }

    std::optional<SiteFixture> site;
};

inline const auto kBothKinds = ::testing::Values(DbKind::Sqlite, DbKind::Postgresql);

inline std::string kindTestName(const ::testing::TestParamInfo<DbKind>& info) { return kindName(info.param); }

// For suites over (kind, case) where the case has a `name`.
template <typename Case>
std::string kindCaseTestName(const ::testing::TestParamInfo<std::tuple<DbKind, Case>>& info) {
    return std::string(kindName(std::get<0>(info.param))) + "_" + std::get<1>(info.param).name;
}

}  // namespace telmar_test
