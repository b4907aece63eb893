// The plug-in library as the host sees it: its exports, load and unload,
// the objects its factory makes and their parameters.
#include <dlfcn.h>
#include <sys/stat.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>
#include <string>

#include "ZORBASE.h"
#include "frame/ZorYkt.h"
#include "telmar/extmodule.h"
#include "telmar/ui.h"
#include "text_file.h"

namespace {

using test_support::ReadWhole;

std::set<std::string> DefinedDynamicSymbols(const std::string& library) {
  std::set<std::string> names;
  const std::string command = "nm -D --defined-only " + library;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return names;
  char line[512];
  while (std::fgets(line, sizeof line, pipe)) {
    std::istringstream fields(line);
    std::string address, type, name;
    if (fields >> address >> type >> name) names.insert(name);
  }
  pclose(pipe);
  return names;
}

class LoadedPlugin {
 public:
  LoadedPlugin() : m_handle(dlopen(ZOR_YKT_PATH, RTLD_NOW | RTLD_LOCAL)) {}
  ~LoadedPlugin() {
    if (m_handle) dlclose(m_handle);
  }
  bool Loaded() const { return m_handle != nullptr; }
  ZORBASE* NewObject() const {
    auto factory = reinterpret_cast<GetZORObjectProc>(dlsym(m_handle, "GetZORObject"));
    return factory ? factory() : nullptr;
  }
  VersionExportProc Version() const { return reinterpret_cast<VersionExportProc>(dlsym(m_handle, "VersionExport")); }

 private:
  void* m_handle;
};

}  // namespace

TEST(PluginExports, ExactlyTheFactoryAndTheVersion) {
  EXPECT_EQ(DefinedDynamicSymbols(ZOR_YKT_PATH), (std::set<std::string>{"GetZORObject", "VersionExport"}));
}

TEST(PluginLoad, TracesAttachAndDetachAndJoinsTheModuleChain) {
  const std::string trace = testing::TempDir() + "frame_trace.log";
  std::remove(trace.c_str());
  setenv("TELMAR_TRACE", trace.c_str(), 1);
  const int chainBefore = telmar::ModuleChainLength();
  {
    LoadedPlugin plugin;
    ASSERT_TRUE(plugin.Loaded()) << dlerror();
    EXPECT_EQ(telmar::ModuleChainLength(), chainBefore + 1);
    ASSERT_NE(telmar::FindDialogTemplate(129), nullptr);
    EXPECT_EQ(ReadWhole(trace), "ZOR_YKT.DLL Initializing!\n");
  }
  unsetenv("TELMAR_TRACE");
  EXPECT_EQ(ReadWhole(trace), "ZOR_YKT.DLL Initializing!\nZOR_YKT.DLL Terminating!\n");
  EXPECT_EQ(telmar::ModuleChainLength(), chainBefore);
  EXPECT_EQ(telmar::FindDialogTemplate(129), nullptr);
}

TEST(PluginVersion, OverwritesItsThreeStrings) {
  LoadedPlugin plugin;
  ASSERT_TRUE(plugin.Loaded());
  CString version = "old", date = "older", fileName = "oldest";
  plugin.Version()(version, date, fileName);
  EXPECT_EQ(version, "2.0");
  EXPECT_EQ(date, "01/11/2001");
  EXPECT_EQ(fileName, "zor_ykt.dll");
}

TEST(PluginObjects, EachCallMakesAnIndependentObject) {
  LoadedPlugin plugin;
  ASSERT_TRUE(plugin.Loaded());
  std::unique_ptr<ZORBASE> first(plugin.NewObject());
  std::unique_ptr<ZORBASE> second(plugin.NewObject());
  ASSERT_TRUE(first && second);
  EXPECT_NE(first.get(), second.get());
  first->SetParam("STATION_ID", "7");
  second->SetParam("STATION_ID", "9");
  first.reset();
  EXPECT_EQ(second->GetParam("STATION_ID"), "9");
  second->SetParam("OPERATOR", "OP1");
  EXPECT_EQ(second->GetParam("OPERATOR"), "OP1");
}

TEST(PluginObjects, ANewObjectHoldsEmptyStringsAndAClearedRecord) {
  LoadedPlugin plugin;
  ASSERT_TRUE(plugin.Loaded());
  std::unique_ptr<ZORBASE> base(plugin.NewObject());
  auto* object = static_cast<CZorYkt*>(base.get());
  EXPECT_TRUE(object->m_strAgent.IsEmpty());
  EXPECT_TRUE(object->m_strHolder.IsEmpty());
  EXPECT_TRUE(object->m_strTransId.IsEmpty());
  EXPECT_TRUE(object->m_strBalance.IsEmpty());
  EXPECT_EQ(object->m_Card.AcctType[0], '\0');
  EXPECT_EQ(object->m_Card.Status, 0);
  EXPECT_EQ(object->m_pCardData[kCardNumberOffset], '\0');
}

// The host reaches the four operations through the base class's slots;
// without a card and without data sources each answers 0 in its own way,
// which tells the slots apart.
TEST(PluginObjects, EachSlotReachesItsOperation) {
  const std::string empty = testing::TempDir() + "no_data_sources";
  mkdir(empty.c_str(), 0755);
  setenv("ODBCSYSINI", empty.c_str(), 1);
  setenv("ODBCINI", (empty + "/odbc.ini").c_str(), 1);
  const std::string log = testing::TempDir() + "frame_slots.jsonl";
  std::remove(log.c_str());
  telmar::SetUserInterface(telmar::MakeScriptUserInterface({}, log));

  LoadedPlugin plugin;
  ASSERT_TRUE(plugin.Loaded());
  std::unique_ptr<ZORBASE> object(plugin.NewObject());
  object->SetParam("TRANS_AMOUNT", "1.00");
  EXPECT_EQ(object->Post(), 0);
  EXPECT_EQ(object->ReadCard(), 0);
  EXPECT_EQ(object->CanCancel(), 0);
  EXPECT_EQ(object->Cancel(), 0);
  object.reset();
  telmar::SetUserInterface(nullptr);

  EXPECT_EQ(ReadWhole(log),
            "{\"box\":\"MessageBoxA\",\"text\":\"未读卡,不能结帐!\",\"caption\":\"提示\",\"flags\":48}\n"
            "{\"box\":\"AfxMessageBox\",\"text\":\"数据库打开错误\",\"type\":48}\n"
            "{\"box\":\"MessageBoxA\",\"text\":\"数据库打开错误\",\"caption\":\"提示\",\"flags\":48}\n");
}

TEST(Parameters, SetReplacedAndReadBack) {
  ZORBASE object;
  EXPECT_FALSE(object.IsParamSet("DIS_CODE"));
  EXPECT_EQ(object.GetParam("DIS_CODE"), "");
  std::string value = "VIP";
  object.SetParam("DIS_CODE", value.c_str());
  value = "changed after the call";  // the base keeps its own copy
  EXPECT_TRUE(object.IsParamSet("DIS_CODE"));
  EXPECT_EQ(object.GetParam("DIS_CODE"), "VIP");
  object.SetParam("DIS_CODE", "");
  EXPECT_TRUE(object.IsParamSet("DIS_CODE"));
  EXPECT_EQ(object.GetParam("DIS_CODE"), "");
  EXPECT_FALSE(object.IsParamSet("dis_code"));
}
