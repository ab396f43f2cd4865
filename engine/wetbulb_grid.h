// The grid of the wet-bulb search a block at a time: exactly the values that
// repeated subtraction of kSearchStep gives, without its serial chain.
#pragma once

class GridBlock {
public:
    // Writes ts and the n − 1 grid values below it to out[0 .. n−1]: out[k] is
    // the double that k subtractions ts − kSearchStep − … − kSearchStep give.
    // 1 <= n <= 32.
    void fill(double ts, int n, double* out);

private:
    int m_exponent = -10000;  // the binary exponent whose rounded step m_step is
    double m_step = 0;        // kSearchStep rounded to the doubles of that binade
    double m_lowest = 0;      // 2^m_exponent, the binade's lower end
};
