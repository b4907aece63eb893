// Platform services without a database: text, code pages, profile files,
// library loading and the site directory.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "telmar/cstring.h"
#include "telmar/encoding.h"
#include "telmar/library.h"
#include "telmar/profile.h"
#include "telmar/site.h"
#include "text_file.h"

namespace {

std::string MakeSite(const std::string& name) {
  const std::string dir = testing::TempDir() + name;
  mkdir(dir.c_str(), 0755);
  return dir;
}

using test_support::ReadWhole;
const auto& WriteFile = test_support::WriteWhole;

}  // namespace

TEST(CStringText, FormatTrimAndCompare) {
  CString amount;
  amount.Format("%12.2f|%s", 100.0, "元");
  EXPECT_EQ(amount, "      100.00|元");
  CString padded = " \t045,120.50,\r\n ";
  padded.TrimLeft();
  EXPECT_EQ(padded, "045,120.50,\r\n ");
  padded.TrimRight();
  EXPECT_EQ(padded, "045,120.50,");
  EXPECT_EQ(padded.Find(','), 3);
  EXPECT_EQ(padded.Left(3), "045");
  EXPECT_EQ(padded.Mid(4), "120.50,");
  EXPECT_EQ(CString(nullptr).GetLength(), 0);
}

TEST(CodePage, GbkRoundTripsThroughUtf8AndUtf16) {
  const std::string gbk = "李四 余￥";  // compiled to GBK bytes
  ASSERT_EQ(gbk.size(), 9u);
  EXPECT_EQ(telmar::GbkToUtf8(gbk), u8"李四 余￥");
  EXPECT_EQ(telmar::Utf8ToGbk(telmar::GbkToUtf8(gbk)), gbk);
  EXPECT_EQ(telmar::Utf16ToGbk(telmar::GbkToUtf16(gbk)), gbk);
  EXPECT_EQ(telmar::GbkToUtf16(gbk), u"李四 余￥");
}

TEST(CodePage, BadBytesRaiseOrAreReplacedForDisplay) {
  const std::string broken = std::string("ok\x81", 3);  // a lead byte with nothing after it
  EXPECT_THROW(telmar::GbkToUtf8(broken), telmar::EncodingError);
  EXPECT_EQ(telmar::GbkToUtf8Lossy(broken), "ok\xEF\xBF\xBD");
  EXPECT_THROW(telmar::Utf8ToGbk("\xF0\x9F\x98\x80"), telmar::EncodingError);  // no GBK form
}

TEST(ProfileFile, ValueDefaultAndCutToTheBuffer) {
  const std::string site = MakeSite("profile_site");
  telmar::SetSiteDirectory(site);
  WriteFile(site + "/ICCOM.ini", "[ykt_cfg]\ndrive1 = ReaderWithAVeryLongFileName.dll\n[Other]\nDrive1=no\n");
  struct Case {
    const char* section;
    const char* key;
    const char* file;
    const char* expected;
  } cases[] = {
      {"YKT_CFG", "Drive1", "ICCOM.ini", "ReaderWithAVeryLong"},  // 19 bytes and the NUL
      {"YKT_CFG", "Drive2", "ICCOM.ini", "YKTCOM.dll"},          // missing key: the default
      {"NONE", "Drive1", "ICCOM.ini", "YKTCOM.dll"},             // missing section
      {"YKT_CFG", "Drive1", "MISSING.ini", "YKTCOM.dll"},        // missing file
  };
  for (const Case& c : cases) {
    char buffer[20];
    const DWORD length = GetPrivateProfileStringA(c.section, c.key, "YKTCOM.dll", buffer, sizeof buffer, c.file);
    EXPECT_STREQ(buffer, c.expected) << c.section << "/" << c.key << " in " << c.file;
    EXPECT_EQ(length, std::string(c.expected).size());
  }
}

TEST(LibraryLoading, BareDllNameFindsTheBuildsReaderAndPathsAreUsedAsGiven) {
  telmar::SetSiteDirectory(MakeSite("library_site"));
  for (const char* name : {"YKTCOM.dll", YKTCOM_PATH}) {
    HMODULE library = AfxLoadLibrary(name);
    ASSERT_NE(library, nullptr) << name << ": " << telmar::LastLibraryError();
    EXPECT_NE(GetProcAddress(library, "ReadCardExport"), nullptr);
    EXPECT_EQ(GetProcAddress(library, "NoSuchEntry"), nullptr);
    EXPECT_NE(telmar::LastLibraryError().find("NoSuchEntry"), std::string::npos);
    EXPECT_TRUE(AfxFreeLibrary(library));
  }
  EXPECT_EQ(AfxLoadLibrary("NOREADER.dll"), nullptr);
  EXPECT_NE(telmar::LastLibraryError().find("NOREADER.so"), std::string::npos);
}

TEST(SiteDirectory, OdbcConfigurationIsHandedOnWithTheSiteExpanded) {
  const std::string site = MakeSite("odbc_site");
  WriteFile(site + "/odbc.ini", "[TELMARykt]\nDriver=SQLite3\nDatabase=${SITE}/telmar.db\n");
  WriteFile(site + "/odbcinst.ini", "[SQLite3]\nDriver=/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so\n");
  telmar::SetSiteDirectory(site);
  const char* odbcIni = std::getenv("ODBCINI");
  ASSERT_NE(odbcIni, nullptr);
  EXPECT_EQ(ReadWhole(odbcIni), "[TELMARykt]\nDriver=SQLite3\nDatabase=" + telmar::SiteDirectory() + "/telmar.db\n");
  EXPECT_EQ(ReadWhole(std::string(std::getenv("ODBCSYSINI")) + "/odbcinst.ini"), ReadWhole(site + "/odbcinst.ini"));
  EXPECT_EQ(ReadWhole(site + "/odbc.ini").find(telmar::SiteDirectory()), std::string::npos);
  EXPECT_THROW(telmar::SetSiteDirectory(site + "/missing"), std::runtime_error);
}
