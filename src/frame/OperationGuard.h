// The boundary of every operation the host calls: nothing thrown inside the
// plug-in reaches the host. A failure that no step of the operation handles
// itself is reported to the operator, and the operation answers 0.
#pragma once

#include "telmar/exception.h"
#include "telmar/msgbox.h"

constexpr const char* kOperationFailedText = "一卡通操作失败";  // one-card operation failed

template <typename Operation>
int GuardOperation(Operation operation) {
  try {
    return operation();
  } catch (CException* e) {
    e->ReportError(MB_OK, 0);
    e->Delete();
  } catch (...) {
    AfxMessageBox(kOperationFailedText, MB_ICONHAND);
  }
  return 0;
}
