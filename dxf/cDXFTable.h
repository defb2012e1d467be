// DXFTable: the array that holds one entity kind of a background drawing, on the ordinary heap
// like every other array of the program.
#pragma once

#include <vector>

// One entity kind's records, in file order.
template <typename T> using DXFTable = std::vector<T>;
