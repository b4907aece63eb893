#include <ctime>

#include "telmar/database.h"

namespace {

std::tm LocalTime(std::time_t time) {
  std::tm local{};
  localtime_r(&time, &local);
  return local;
}

}  // namespace

CTime::CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST) {
  std::tm local{};
  local.tm_year = nYear - 1900;
  local.tm_mon = nMonth - 1;
  local.tm_mday = nDay;
  local.tm_hour = nHour;
  local.tm_min = nMin;
  local.tm_sec = nSec;
  local.tm_isdst = nDST;
  m_time = std::mktime(&local);
}

int CTime::GetYear() const { return LocalTime(m_time).tm_year + 1900; }
int CTime::GetMonth() const { return LocalTime(m_time).tm_mon + 1; }
int CTime::GetDay() const { return LocalTime(m_time).tm_mday; }
int CTime::GetHour() const { return LocalTime(m_time).tm_hour; }
int CTime::GetMinute() const { return LocalTime(m_time).tm_min; }
int CTime::GetSecond() const { return LocalTime(m_time).tm_sec; }
