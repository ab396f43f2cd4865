// The grid of the wet-bulb search a block at a time: exactly the values that
// repeated subtraction of kSearchStep gives, without its serial chain.
#pragma once

// The grid values in one block, one for each lane of the vector screening;
// the proof in wetbulb_grid.cpp holds for blocks of up to 32.
inline constexpr int kBlockLanes = 32;

class GridBlock {
public:
    // Writes ts and the kBlockLanes − 1 grid values below it to out[0 ..
    // kBlockLanes−1]: out[k] is the double that k subtractions
    // ts − kSearchStep − … − kSearchStep give.
    void fill(double ts, double* out);

private:
    int m_exponent = -10000;         // the binary exponent the offsets are for
    double m_lowest = 0;             // 2^m_exponent, the binade's lower end
    double m_offsets[kBlockLanes]{};  // k·d, d = kSearchStep rounded to that binade
};
