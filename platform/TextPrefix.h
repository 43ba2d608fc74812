#pragma once
#include <string>

// Formatted text marks a mnemonic with '&'; the marker is dropped and "&&" stands for '&'.
std::string StripPrefixes(const std::string& text);
