// Where the system hosts file is, from the system folder and the DataBasePath registry value.
#pragma once

#include <string>

namespace zk {

struct HostsLocation {
  std::string windowsFolder;
  std::string systemHostsPath;
};

// systemFolder ends with a backslash ("C:\Windows\system32\"). An empty registry value (missing
// and not repairable) falls back to the system folder's drivers\etc\hosts.
HostsLocation resolveHostsPath(const std::string& systemFolder, const std::string& registryValue);

}  // namespace zk
