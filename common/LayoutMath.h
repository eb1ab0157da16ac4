#pragma once

// Half of a width in whole pixels, a half pixel going to the even neighbour
// (1125 -> 562, 1127 -> 564), as the column and side-panel sizing wants it.
constexpr int halfRoundedToEven(int width)
{
    const int half = width / 2;
    if (width % 2 == 0)
        return half;
    return half % 2 == 0 ? half : half + 1;
}

static_assert(halfRoundedToEven(1125) == 562 && halfRoundedToEven(1126) == 563 && halfRoundedToEven(1127) == 564);
