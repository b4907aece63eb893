#include "telmar/profile.h"

#include <ini.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "telmar/site.h"
#include "telmar/wintypes.h"

namespace {

bool EqualsIgnoringCase(const char* a, const char* b) { return strcasecmp(a, b) == 0; }

struct Lookup {
  const char* section;
  const char* key;
  std::string value;
  bool found = false;
};

// Section and key names match without regard to case, as profile files
// always have; the first matching entry wins.
int OnEntry(void* user, const char* section, const char* name, const char* value) {
  auto* lookup = static_cast<Lookup*>(user);
  if (!lookup->found && EqualsIgnoringCase(section, lookup->section) && EqualsIgnoringCase(name, lookup->key)) {
    lookup->value = value;
    lookup->found = true;
  }
  return 1;
}

std::string ProfilePath(const char* fileName) {
  if (std::strchr(fileName, '/')) return fileName;
  const std::string site = telmar::SiteDirectory();
  return site.empty() ? std::string(fileName) : site + "/" + fileName;
}

}  // namespace

DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer, DWORD size,
                               LPCSTR fileName) {
  if (!buffer || size == 0) return 0;
  Lookup lookup{section ? section : "", key ? key : "", std::string(), false};
  if (section && key && fileName) ini_parse(ProfilePath(fileName).c_str(), OnEntry, &lookup);
  const std::string& value = lookup.found ? lookup.value : std::string(defaultValue ? defaultValue : "");
  const std::size_t copied = std::min<std::size_t>(value.size(), size - 1);
  std::memcpy(buffer, value.data(), copied);
  buffer[copied] = '\0';
  return static_cast<DWORD>(copied);
}
