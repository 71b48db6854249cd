#include <windows.h>
#include <winsock2.h>
#include <ws2tcpip.h>

#include <iphlpapi.h>

#include <cstdio>
#include <vector>

#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"

namespace zk::win {

namespace {

// The adapters with their gateways and DNS servers; empty when they cannot be listed.
std::vector<unsigned char> adapterList() {
  const ULONG flags = GAA_FLAG_INCLUDE_GATEWAYS | GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST;
  ULONG size = 16 * 1024;
  std::vector<unsigned char> buffer;
  ULONG r = ERROR_BUFFER_OVERFLOW;
  // The list may grow between the size query and the call: a few tries.
  for (int attempt = 0; attempt < 4 && r == ERROR_BUFFER_OVERFLOW; ++attempt) {
    buffer.resize(size);
    r = GetAdaptersAddresses(AF_UNSPEC, flags, nullptr, reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data()), &size);
  }
  if (r != NO_ERROR) buffer.clear();
  return buffer;
}

const IP_ADAPTER_ADDRESSES* first(const std::vector<unsigned char>& list) {
  return list.empty() ? nullptr : reinterpret_cast<const IP_ADAPTER_ADDRESSES*>(list.data());
}

// The interface the system would send a packet to a public address through: IPv4 first, then IPv6.
// Zero when there is no such route.
DWORD defaultRouteInterface() {
  sockaddr_in v4{};
  v4.sin_family = AF_INET;
  v4.sin_addr.S_un.S_un_b = {8, 8, 8, 8};
  DWORD index = 0;
  if (GetBestInterfaceEx(reinterpret_cast<sockaddr*>(&v4), &index) == NO_ERROR && index != 0) return index;
  // Older systems (and Wine) answer the IPv4 question here.
  IPAddr destination = v4.sin_addr.S_un.S_addr;
  if (GetBestInterface(destination, &index) == NO_ERROR && index != 0) return index;
  sockaddr_in6 v6{};
  v6.sin6_family = AF_INET6;
  const unsigned char google[16] = {0x20, 0x01, 0x48, 0x60, 0x48, 0x60, 0, 0, 0, 0, 0, 0, 0, 0, 0x88, 0x88};
  memcpy(&v6.sin6_addr, google, sizeof google);
  if (GetBestInterfaceEx(reinterpret_cast<sockaddr*>(&v6), &index) == NO_ERROR) return index;
  return 0;
}

// Dotted decimal; IPv6 in its canonical text (lower case, no leading zeros, the longest run of two
// or more zero groups as "::").
std::string addressText(const SOCKADDR* a) {
  char out[64] = {};
  if (a->sa_family == AF_INET) {
    const auto* b = reinterpret_cast<const unsigned char*>(&reinterpret_cast<const sockaddr_in*>(a)->sin_addr);
    snprintf(out, sizeof out, "%u.%u.%u.%u", b[0], b[1], b[2], b[3]);
    return out;
  }
  const auto* b = reinterpret_cast<const unsigned char*>(&reinterpret_cast<const sockaddr_in6*>(a)->sin6_addr);
  unsigned groups[8];
  for (int i = 0; i < 8; ++i) groups[i] = unsigned(b[2 * i]) << 8 | b[2 * i + 1];
  int bestStart = -1, bestLength = 1;
  for (int i = 0; i < 8;) {
    int j = i;
    while (j < 8 && groups[j] == 0) ++j;
    if (j - i > bestLength) bestStart = i, bestLength = j - i;
    i = j == i ? i + 1 : j;
  }
  std::string text;
  for (int i = 0; i < 8; ++i) {
    if (i == bestStart) {
      text += "::";
      i += bestLength - 1;
      continue;
    }
    if (!text.empty() && text.back() != ':') text += ':';
    snprintf(out, sizeof out, "%x", groups[i]);
    text += out;
  }
  return text;
}

}  // namespace

std::vector<NetworkConnection> Win32NetworkInfo::connections() {
  std::vector<NetworkConnection> out;
  std::vector<unsigned char> list = adapterList();
  DWORD route = defaultRouteInterface();
  for (const IP_ADAPTER_ADDRESSES* a = first(list); a; a = a->Next) {
    if (a->IfType == IF_TYPE_SOFTWARE_LOOPBACK || !a->FriendlyName) continue;
    NetworkConnection c;
    c.name = narrow(a->FriendlyName);
    c.up = a->OperStatus == IfOperStatusUp;
    c.hasGateway = a->FirstGatewayAddress != nullptr;
    c.defaultRoute = route != 0 && (a->IfIndex == route || a->Ipv6IfIndex == route);
    // Tunnels, dial-up, and the virtual adapters that VPN software brings (wintun is one).
    c.tunnel = a->IfType == IF_TYPE_TUNNEL || a->IfType == IF_TYPE_PPP || a->IfType == IF_TYPE_PROP_VIRTUAL;
    out.push_back(c);
  }
  return out;
}

std::optional<ConnectionState> Win32NetworkInfo::connectionState(const std::string& name) {
  std::vector<unsigned char> list = adapterList();
  for (const IP_ADAPTER_ADDRESSES* a = first(list); a; a = a->Next) {
    if (!a->FriendlyName || narrow(a->FriendlyName) != name) continue;
    ConnectionState s;
    s.up = a->OperStatus == IfOperStatusUp;
    s.dhcp = (a->Flags & IP_ADAPTER_DHCP_ENABLED) != 0;
    for (const IP_ADAPTER_DNS_SERVER_ADDRESS* d = a->FirstDnsServerAddress; d; d = d->Next) {
      const SOCKADDR* address = d->Address.lpSockaddr;
      if (!address) continue;
      if (address->sa_family == AF_INET)
        s.dnsV4.push_back(addressText(address));
      else if (address->sa_family == AF_INET6)
        s.dnsV6.push_back(addressText(address));
    }
    return s;
  }
  return std::nullopt;
}

unsigned Win32NetworkInfo::scriptCodePage() {
  return GetOEMCP();
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
