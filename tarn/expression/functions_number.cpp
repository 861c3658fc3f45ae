// Functions over numbers.
#include <cmath>

#include "tarn/expression/function_routines.h"
#include "tarn/expression/parser_exception.h"

namespace tarn::routines {

namespace {

double number(Arguments args, std::size_t index) {
    return args[index]->real();
}

template <double (*F)(double)>
void apply(Arguments args, Variant& result) {
    result = Variant::fromDouble(F(number(args, 0)));
}

// A function defined only above (or at) a bound: below it the evaluation stops with `error`.
double checkedArgument(Arguments args, bool allowZero, int error) {
    const double x = number(args, 0);
    if (x < 0 || (x == 0 && !allowZero) || std::isnan(x))
        raiseParserError(error);
    return x;
}

}  // namespace

void abs(Arguments a, Variant& r) {
    apply<std::fabs>(a, r);
}
void atan(Arguments a, Variant& r) {
    apply<std::atan>(a, r);
}
void ceiling(Arguments a, Variant& r) {
    apply<std::ceil>(a, r);
}
void cos(Arguments a, Variant& r) {
    apply<std::cos>(a, r);
}
void exp(Arguments a, Variant& r) {
    apply<std::exp>(a, r);
}
void floor(Arguments a, Variant& r) {
    apply<std::floor>(a, r);
}
void integer(Arguments a, Variant& r) {
    apply<std::trunc>(a, r);
}
void sin(Arguments a, Variant& r) {
    apply<std::sin>(a, r);
}
void tan(Arguments a, Variant& r) {
    apply<std::tan>(a, r);
}

void log(Arguments a, Variant& r) {
    r = Variant::fromDouble(std::log(checkedArgument(a, false, kErrorLogarithm)));
}

void log10(Arguments a, Variant& r) {
    r = Variant::fromDouble(std::log10(checkedArgument(a, false, kErrorLogarithm10)));
}

void sqrt(Arguments a, Variant& r) {
    r = Variant::fromDouble(std::sqrt(checkedArgument(a, true, kErrorSquareRoot)));
}

void mod(Arguments a, Variant& r) {
    const double divisor = number(a, 1);
    if (divisor == 0)
        raiseParserError(kErrorDivisionByZero);
    r = Variant::fromDouble(std::fmod(number(a, 0), divisor));
}

void pi(Arguments, Variant& r) {
    r = Variant::fromDouble(3.1415926535);
}

void round(Arguments a, Variant& r) {
    const double x = number(a, 0);
    const double scale = std::pow(10.0, static_cast<double>(toCount(number(a, 1))));
    const double rounded = std::floor(x * scale + 0.5) / scale;
    // Scales beyond the double range would turn every value into infinity or NaN.
    r = Variant::fromDouble(std::isfinite(rounded) && scale != 0 ? rounded : x);
}

void sign(Arguments a, Variant& r) {
    const double x = number(a, 0);
    r = Variant::fromDouble(x > 0 ? 1.0 : (x < 0 ? -1.0 : 0.0));
}

}  // namespace tarn::routines
