#pragma once
#include "../app/Text.h"

// The host's IPv4 addresses as the resolver lists them for its own name, at
// most ten, in the resolver's order; empty on any failure.  Windows Sockets
// must be initialised.
TextArray LocalAddressList();
