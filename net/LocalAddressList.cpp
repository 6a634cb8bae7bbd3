#include "LocalAddressList.h"

#include <winsock2.h>

#include "AddressText.h"

TextArray LocalAddressList() {
    char name[256] = {};
    if (gethostname(name, sizeof name) < 0) return {};
    const hostent* host = gethostbyname(name);
    if (!host || host->h_addrtype != AF_INET || host->h_length != 4) return {};
    return addressesFromHostList(host->h_addr_list);
}
