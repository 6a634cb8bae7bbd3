#pragma once
#include <cstdint>

#include "Text.h"

// The program's one state record; the entry point owns the only instance.
struct AppState {
    int32_t arrivalCount = 0;  // arrivals since the suppression window last closed
    Text lastText;             // text of the last handled arrival
    TextArray lastPieces;      // lastText split on the separator
    TextArray localAddresses;  // the host's IPv4 addresses, found at start-up
};
