#include "app/hosts_path.h"

#include "platform/files.h"
#include "text/text.h"

namespace zk {

HostsLocation resolveHostsPath(const std::string& systemFolder, const std::string& registryValue) {
  HostsLocation loc;
  loc.windowsFolder = replaceAllIgnoreCase(systemFolder, "\\system32\\", "");
  if (registryValue.empty()) {
    loc.systemHostsPath = withBackslash(systemFolder) + "drivers\\etc\\hosts";
    return loc;
  }
  loc.systemHostsPath = replaceAllIgnoreCase(registryValue, "%SystemRoot%", loc.windowsFolder) + "\\hosts";
  return loc;
}

}  // namespace zk
