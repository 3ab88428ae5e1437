#pragma once

#include <cstddef>
#include <string>

namespace sim {

// The text of a result figure by a numeric mask such as "###.##". A figure
// whose integer part (its sign included) is longer than `integerRoom`
// characters is shown in exponent form instead, its mantissa by the same
// mask: 1.4142e308 by "###.##" is "1.41e+308". Not-a-number and infinities
// show as the mask formatting shows them.
std::string ResultFigure(double value, const char* mask, std::size_t integerRoom);

} // namespace sim
