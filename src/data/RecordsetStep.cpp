#include "data/RecordsetStep.h"

#include "telmar/msgbox.h"

bool OpenSnapshotOrReport(CRecordset& recordset, const char* statement, UINT boxType) {
  try {
    recordset.Open(CRecordset::snapshot, statement, CRecordset::none);
    return true;
  } catch (CDBException* e) {
    AfxMessageBox(e->m_strError, boxType);
    e->Delete();
    return false;
  }
}
