#include "support/network.h"

#include <winsock2.h>
#include <iphlpapi.h>

#include <vector>

bool OnlyLoopbackIsUp() {
  ULONG size = 16384;
  std::vector<unsigned char> buffer;
  ULONG status;
  do {
    buffer.resize(size);
    status = GetAdaptersAddresses(AF_UNSPEC, 0, nullptr, reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data()), &size);
  } while (status == ERROR_BUFFER_OVERFLOW);
  if (status == ERROR_NO_DATA) return true;
  if (status != NO_ERROR) return false;
  for (auto* adapter = reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data()); adapter; adapter = adapter->Next) {
    if (adapter->OperStatus == IfOperStatusUp && adapter->IfType != IF_TYPE_SOFTWARE_LOOPBACK) return false;
  }
  return true;
}
