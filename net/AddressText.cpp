#include "AddressText.h"

#include <cstring>
#include <string>

Text ipv4Text(const unsigned char (&address)[4]) {
    return std::to_string(address[0]) + '.' + std::to_string(address[1]) + '.' +
           std::to_string(address[2]) + '.' + std::to_string(address[3]);
}

Text clientAddressText(const Text& ipText, uint16_t port) {
    return ipText + ':' + std::to_string(port);
}

TextArray addressesFromHostList(const char* const* list) {
    TextArray result;
    for (; list && *list && result.size() < MaxLocalAddresses; ++list) {
        unsigned char address[4];
        std::memcpy(address, *list, sizeof address);
        result.push_back(ipv4Text(address));
    }
    return result;
}
