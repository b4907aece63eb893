// Identifiers of the plug-in's resources and of the controls in them.
#pragma once

enum : int {
  IDD_SHOWDLG = 129,
  IDC_NAME = 1000,
  IDC_ADDR = 1001,
  IDC_BALANCE = 1002,
  IDC_LIMIT = 1003,
  IDC_PHONE = 1004,
  IDC_DISCODE = 1005,
  IDC_REMARK = 1006,
  IDC_STATIC = -1,
};
