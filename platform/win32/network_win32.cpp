#include <windows.h>
#include <winsock2.h>

#include <iphlpapi.h>

#include <vector>

#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"

namespace zk::win {

std::vector<NetworkConnection> Win32NetworkInfo::connections() {
  std::vector<NetworkConnection> out;
  const ULONG flags = GAA_FLAG_INCLUDE_GATEWAYS | GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST;
  ULONG size = 16 * 1024;
  std::vector<unsigned char> buffer;
  ULONG r = ERROR_BUFFER_OVERFLOW;
  // The list may grow between the size query and the call: a few tries.
  for (int attempt = 0; attempt < 4 && r == ERROR_BUFFER_OVERFLOW; ++attempt) {
    buffer.resize(size);
    r = GetAdaptersAddresses(AF_UNSPEC, flags, nullptr, reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data()), &size);
  }
  if (r != NO_ERROR) return out;
  for (auto* a = reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data()); a; a = a->Next) {
    if (a->IfType == IF_TYPE_SOFTWARE_LOOPBACK || !a->FriendlyName) continue;
    out.push_back({narrow(a->FriendlyName), a->OperStatus == IfOperStatusUp, a->FirstGatewayAddress != nullptr});
  }
  return out;
}

std::optional<bool> Win32NetworkInfo::serviceRunning(const std::string& serviceName) {
  SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
  if (!manager) return std::nullopt;
  std::optional<bool> running;
  if (SC_HANDLE service = OpenServiceW(manager, widen(serviceName).c_str(), SERVICE_QUERY_STATUS)) {
    SERVICE_STATUS status{};
    if (QueryServiceStatus(service, &status))
      running = status.dwCurrentState != SERVICE_STOPPED && status.dwCurrentState != SERVICE_STOP_PENDING;
    CloseServiceHandle(service);
  }
  CloseServiceHandle(manager);
  return running;
}

}  // namespace zk::win
