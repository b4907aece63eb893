#include "ZORBASE.h"

ZORBASE::ZORBASE() = default;
ZORBASE::~ZORBASE() = default;

// A plug-in that does not provide an operation refuses it.
int ZORBASE::Post() { return 0; }
int ZORBASE::ReadCard() { return 0; }
int ZORBASE::CanCancel() { return 0; }
int ZORBASE::Cancel() { return 0; }

void ZORBASE::SetParam(const char* key, const char* value) {
  if (!key) return;
  m_params[key] = value ? value : "";
}

CString ZORBASE::GetParam(const char* key) {
  if (!key) return CString();
  const auto found = m_params.find(key);
  return found == m_params.end() ? CString() : CString(found->second);
}

BOOL ZORBASE::IsParamSet(const char* key) { return key && m_params.count(key) ? TRUE : FALSE; }
