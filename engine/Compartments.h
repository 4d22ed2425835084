#pragma once
// Sixteen compartment values, indexed 1 to 16 as the model numbers its compartments;
// element 0 is unused.

#include <array>

constexpr int kCompartments = 16;
using Comp16 = std::array<float, kCompartments + 1>;
