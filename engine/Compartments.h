#pragma once
// Sixteen compartment values, indexed 1 to 16 as the model numbers its compartments;
// element 0 is unused.

#include <array>
#include <cstdint>
#include <cstring>

constexpr int kCompartments = 16;
using Comp16 = std::array<float, kCompartments + 1>;

// Two rows alike to the last bit (a plain loop the compiler unrolls, where a library
// memcmp would cost more than the weighing it saves on short rows).
inline bool SameBits(const Comp16 &x, const Comp16 &y)
{
    uint32_t differ = 0;
    for (int i = 1; i <= kCompartments; ++i) {
        uint32_t a, b;
        std::memcpy(&a, &x[i], sizeof a);
        std::memcpy(&b, &y[i], sizeof b);
        differ |= a ^ b;
    }
    return differ == 0;
}

// A routine that works on whole rows of compartments is built twice on x86-64 Linux with
// GCC: for the baseline processor and for AVX2, and the program takes the AVX2 one where
// the processor has it. Both do the same IEEE operations in the same order (AVX2 alone
// brings no fused multiply-add, and the engine is built without contraction), so every
// result is the same to the last bit; AVX2 only does four doubles at a time where the
// baseline does two.
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__) && defined(__linux__)
#define DOLV_COMPARTMENT_ROWS __attribute__((target_clones("avx2", "default")))
#else
#define DOLV_COMPARTMENT_ROWS
#endif
