#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "net/AddressText.h"

namespace {

TEST(AddressText, SpellsAddressesAndClientAddresses) {
    const unsigned char loopback[4] = {127, 0, 0, 1};
    const unsigned char widest[4] = {255, 255, 255, 255};
    EXPECT_EQ(ipv4Text(loopback), "127.0.0.1");
    EXPECT_EQ(clientAddressText(ipv4Text(widest), 65535), "255.255.255.255:65535");
    EXPECT_EQ(clientAddressText(ipv4Text(widest), 65535).size(), 21u);  // the longest
}

TEST(AddressText, TakesAtMostTheFirstTenAddressesInListOrder) {
    std::vector<std::array<char, 4>> entries;
    for (int i = 0; i < 12; ++i) entries.push_back({10, 0, 0, static_cast<char>(i + 1)});
    std::vector<const char*> list;
    for (const auto& e : entries) list.push_back(e.data());
    list.push_back(nullptr);

    const TextArray all = addressesFromHostList(list.data());
    ASSERT_EQ(all.size(), 10u);
    EXPECT_EQ(all.front(), "10.0.0.1");
    EXPECT_EQ(all.back(), "10.0.0.10");

    list[2] = nullptr;
    EXPECT_EQ(addressesFromHostList(list.data()), (TextArray{"10.0.0.1", "10.0.0.2"}));
    const char* empty[] = {nullptr};
    EXPECT_TRUE(addressesFromHostList(empty).empty());
    EXPECT_TRUE(addressesFromHostList(nullptr).empty());
}

}  // namespace
