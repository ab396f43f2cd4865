// The grid of the wet-bulb search a block at a time: exactly the values that
// repeated subtraction of kSearchStep gives, without its serial chain.
#pragma once

class GridBlock {
public:
    // The longest block; the proof in wetbulb_grid.cpp holds up to this many lanes.
    static constexpr int kMaxLanes = 32;

    // Writes ts and the n − 1 grid values below it to out[0 .. n−1]: out[k] is
    // the double that k subtractions ts − kSearchStep − … − kSearchStep give.
    // 1 <= n <= kMaxLanes.
    void fill(double ts, int n, double* out);

private:
    int m_exponent = -10000;         // the binary exponent the offsets are for
    double m_lowest = 0;             // 2^m_exponent, the binade's lower end
    double m_offsets[kMaxLanes]{};   // k·d, d = kSearchStep rounded to that binade
};
