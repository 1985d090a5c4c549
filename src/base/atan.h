// The game's own arctangent, correctly rounded: for every double it returns
// the double nearest the exact arctangent (ties to even), computed with only
// + - x / on doubles, so it gives the same bits on every IEEE-754 machine.
//
// Method. atan is odd, so take x > 0. Above 1, atan x = pi/2 - atan(1/x),
// with 1/x formed as a double-double. The argument t in [0, 1] then goes to
// the nearest point c = i/64: atan t = atan c + atan u, u = (t - c)/(1 + tc),
// |u| <= 1/128, and atan u = u (1 - u^2/3 + u^4/5 - ...). With u^2 <= 2^-14,
// nine terms leave a truncation below 2^-126 of the result.
//
// Error bound. The fast path works in double-double: the reduction (exact
// subtraction t - c by Sterbenz's lemma, the product tc exact), one division
// and the series with the first three coefficients in double-double and the
// rest in double each cost at most a few 2^-104 of the result, and atan c
// is tabulated to 2^-212; the total stays below 2^-100 of the result. The
// result is returned when both ends of an interval of 2^-95 around it round
// to the same double (Ziv's test, with a margin of 32). Otherwise, about once
// in 2^40 arguments, the same steps are taken again in four-double
// expansions to about 2^-200, with fifteen series terms, and that value is
// rounded; no double's arctangent lies that close to a rounding boundary.
// Below 2^-27 the result is x itself (the series' second term is under a
// quarter unit in the last place), above 2^55 it is pi/2 rounded.
#pragma once

namespace vorn {

// atan(x) correctly rounded; NaN gives NaN, +-inf gives +-pi/2 rounded.
double atan_cr(double x);

namespace atan_detail {

extern const double atan_points[65][4];  // atan(i/64) as four-double expansions
extern const double half_pi[4];

// The careful path alone, for x in [2^-27, 2^55]: for the tests.
double atan_careful(double x);

// The fast path alone, for x in [2^-27, 2^55]: false when Ziv's test sends
// the argument on to the careful path.
bool atan_fast(double x, double& out);

}  // namespace atan_detail

}  // namespace vorn
