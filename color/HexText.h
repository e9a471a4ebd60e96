#pragma once
#include <cstdint>
#include <string>

namespace color {

// Six uppercase hexadecimal digits, red first ("FF0500" for 255, 5, 0).
void GetHexVal(const int16_t& Red, const int16_t& Green, const int16_t& Blue, std::string& strHex);

} // namespace color
