// The grid of the wet-bulb search at any step: exactly the value that repeated
// subtraction of kSearchStep gives, without walking the chain.
#pragma once

// The double that n subtractions ts − kSearchStep − … − kSearchStep give, each
// rounded, as the scan makes them; n >= 0. Costs a few operations for every
// binade the chain passes through, and one subtraction a step within 0.125
// of zero.
double GridValueAfter(double ts, long n);
