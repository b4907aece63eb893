#include "telmar/site.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::mutex g_siteMutex;
std::string g_siteDirectory;
std::string g_odbcDirectory;

const char* const kOdbcFiles[] = {"odbc.ini", "odbcinst.ini"};

void RemoveOdbcDirectory() {
  if (g_odbcDirectory.empty()) return;
  for (const char* name : kOdbcFiles) std::remove((g_odbcDirectory + "/" + name).c_str());
  rmdir(g_odbcDirectory.c_str());
  g_odbcDirectory.clear();
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string ExpandSite(std::string text, const std::string& site) {
  const std::string marker = "${SITE}";
  for (auto pos = text.find(marker); pos != std::string::npos; pos = text.find(marker, pos + site.size())) {
    text.replace(pos, marker.size(), site);
  }
  return text;
}

std::string MakePrivateDirectory() {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/telmar-odbc-XXXXXX";
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a private directory in " + pattern);
  return pattern;
}

// The driver manager reads its configuration from ODBCSYSINI and ODBCINI;
// it gets the site's files with ${SITE} expanded, in a directory private
// to this process.
void PublishOdbcConfiguration(const std::string& site) {
  RemoveOdbcDirectory();
  g_odbcDirectory = MakePrivateDirectory();
  for (const char* name : kOdbcFiles) {
    std::ofstream out(g_odbcDirectory + "/" + name, std::ios::binary | std::ios::trunc);
    out << ExpandSite(ReadFile(site + "/" + name), site);
  }
  setenv("ODBCSYSINI", g_odbcDirectory.c_str(), 1);
  setenv("ODBCINI", (g_odbcDirectory + "/odbc.ini").c_str(), 1);
}

}  // namespace

namespace telmar {

void SetSiteDirectory(const std::string& directory) {
  char resolved[PATH_MAX];
  struct stat info;
  if (!realpath(directory.c_str(), resolved) || stat(resolved, &info) != 0 || !S_ISDIR(info.st_mode)) {
    throw std::runtime_error("site directory not found: " + directory);
  }
  std::lock_guard<std::mutex> lock(g_siteMutex);
  static const bool cleanupRegistered = (std::atexit(RemoveOdbcDirectory), true);
  (void)cleanupRegistered;
  g_siteDirectory = resolved;
  PublishOdbcConfiguration(g_siteDirectory);
}

std::string SiteDirectory() {
  std::lock_guard<std::mutex> lock(g_siteMutex);
  return g_siteDirectory;
}

}  // namespace telmar
