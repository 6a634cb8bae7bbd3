#pragma once
// Text is a byte string in the ANSI code page (GBK); no conversion is ever made.
#include <string>
#include <vector>

using Text = std::string;
using TextArray = std::vector<Text>;  // element 1 of the design is index 0 here
