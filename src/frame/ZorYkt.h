// The one-card payment plug-in object.
#pragma once

#include "ZORBASE.h"
#include "telmar/cstring.h"

// One account as the account dialog shows it. Texts are GBK, NUL-terminated,
// at most one byte less than their width.
struct ACCTINFO {
  char ShowType[2];
  signed char ShowStatus;
  LONG ShowAcct;
  char Name[30];
  char Addr[30];
  char Phone[16];
  char Limit[16];
  char Balance[10];
  char DisCode[79];
  char Remark[100];
};

// The working record that ReadCard fills and the later operations read.
struct CARDACCT {
  char AcctType[2];
  char Agent[7];
  char CardNo[26];
  char Password[5];
  signed char Status;
  LONG Acct;
  char TransNo[32];
  ACCTINFO Info;
};

// Size of the buffer the card-reader driver fills.
constexpr int kCardDataSize = 90;
// Where the driver puts each field in that buffer.
constexpr int kCardKindOffset = 0;
constexpr int kCardAgentOffset = 2;
constexpr int kCardNumberOffset = 9;

class CCardRet;
struct PostingInputs;
struct ProfileLookup;

class CZorYkt : public ZORBASE {
 public:
  CZorYkt();
  ~CZorYkt() override;
  CZorYkt(const CZorYkt&) = delete;
  CZorYkt& operator=(const CZorYkt&) = delete;

  int Post() override;
  int ReadCard() override;
  int CanCancel() override;
  int Cancel() override;

  int LookupBridge();
  int ShowGstAcct();
  int ShowGrpAcct();
  int ShowTaAcct();
  int ShowMemberCard();
  BOOL CheckBalance();
  BOOL ShowBalance(CString amount);

  char* m_pCardData;
  CARDACCT m_Card;
  CString m_strAgent;
  CString m_strHolder;
  CString m_strTransId;
  CString m_strBalance;
  // Set only when a ReadCard has accepted a card; Post refuses without it,
  // so nothing is ever charged to what an earlier or failed read left behind.
  bool m_bCardAccepted = false;

 private:
  int DoPost();
  int DoReadCard();
  int DoCanCancel();
  int DoCancel();
  int ReadLocalAgent();
  int CheckCardData();
  int DispatchOnAccountType();
  void ClearBridgeFields();
  int ReadBridgeRow();
  int ReadMemberCardStatus();
  int OpenMemberCard(CCardRet& card);
  int ReadStationDiscount();
  void PrepareDisplayRecord();
  int ShowAccountDialog(bool withRemark);
  int ShowProfileAcct(const ProfileLookup& lookup);
  int CheckPostInputs(const PostingInputs& inputs);
  BOOL RunPostingStatement(const PostingInputs& inputs, const CString& transId);
  const char* CardNumber() const { return m_pCardData + kCardNumberOffset; }
};
