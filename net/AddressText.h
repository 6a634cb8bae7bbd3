#pragma once
// Address texts as the listeners and the address list spell them.
#include <cstddef>
#include <cstdint>

#include "../app/Text.h"

inline constexpr std::size_t MaxLocalAddresses = 10;

// Dotted decimal of an IPv4 address given in network byte order, as inet_ntoa spells it.
Text ipv4Text(const unsigned char (&address)[4]);

// ClientAddress: "%s:%d" of the peer's address text and its port.
Text clientAddressText(const Text& ipText, uint16_t port);

// Walks a null-terminated list of 4-byte addresses (a host entry's
// h_addr_list), keeping at most MaxLocalAddresses texts in list order.
TextArray addressesFromHostList(const char* const* list);
