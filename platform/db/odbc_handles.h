// RAII owners of ODBC handles. The handle kind is part of the type, so a
// diagnostic can only be read from the handle that the failing call used.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <utility>

namespace telmar {

template <SQLSMALLINT Kind>
class OdbcHandle {
 public:
  static constexpr SQLSMALLINT kKind = Kind;

  OdbcHandle() = default;
  explicit OdbcHandle(SQLHANDLE handle) : m_handle(handle) {}
  ~OdbcHandle() { Free(); }
  OdbcHandle(OdbcHandle&& other) noexcept : m_handle(std::exchange(other.m_handle, nullptr)) {}
  OdbcHandle& operator=(OdbcHandle&& other) noexcept {
    if (this != &other) {
      Free();
      m_handle = std::exchange(other.m_handle, nullptr);
    }
    return *this;
  }
  OdbcHandle(const OdbcHandle&) = delete;
  OdbcHandle& operator=(const OdbcHandle&) = delete;

  SQLHANDLE get() const { return m_handle; }

 private:
  void Free() noexcept {
    if (m_handle != nullptr) SQLFreeHandle(Kind, m_handle);
    m_handle = nullptr;
  }

  SQLHANDLE m_handle = nullptr;
};

using EnvironmentHandle = OdbcHandle<SQL_HANDLE_ENV>;
using ConnectionHandle = OdbcHandle<SQL_HANDLE_DBC>;
using StatementHandle = OdbcHandle<SQL_HANDLE_STMT>;

// The process's one ODBC 3 environment, created on first use.
const EnvironmentHandle& Environment();

}  // namespace telmar
