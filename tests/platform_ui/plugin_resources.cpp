// Puts the plug-in's resources into the module chain for the whole test
// program, the way the plug-in's entry point does when it is loaded.
#include <gtest/gtest.h>

#include "telmar/extmodule.h"

extern const ResourceTable g_zorYktResources;

namespace {

TelmarModuleInstance g_pluginInstance = {"zor_ykt", &g_zorYktResources};

class PluginResources : public ::testing::Environment {
 public:
  void SetUp() override {
    ASSERT_TRUE(AfxInitExtensionModule(m_state, &g_pluginInstance));
    new CDynLinkLibrary(m_state, FALSE);
  }
  void TearDown() override { AfxTermExtensionModule(m_state, FALSE); }

 private:
  AFX_EXTENSION_MODULE m_state;
};

[[maybe_unused]] ::testing::Environment* const kRegistered =
    ::testing::AddGlobalTestEnvironment(new PluginResources);

}  // namespace
