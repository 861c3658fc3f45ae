// The routines behind the built-in functions, grouped by family (numbers, texts, dates,
// values). Each has the signature of tarn::Routine.
//
// Contract: see functions.h.
#pragma once

#include "tarn/expression/value.h"

namespace tarn::routines {

// Numbers.
void abs(Arguments, Variant&);
void atan(Arguments, Variant&);
void ceiling(Arguments, Variant&);
void cos(Arguments, Variant&);
void exp(Arguments, Variant&);
void floor(Arguments, Variant&);
void integer(Arguments, Variant&);
void log(Arguments, Variant&);
void log10(Arguments, Variant&);
void mod(Arguments, Variant&);
void pi(Arguments, Variant&);
void round(Arguments, Variant&);
void sign(Arguments, Variant&);
void sin(Arguments, Variant&);
void sqrt(Arguments, Variant&);
void tan(Arguments, Variant&);

// Texts.
void allTrim(Arguments, Variant&);
void asc(Arguments, Variant&);
void at(Arguments, Variant&);
void atCaseless(Arguments, Variant&);
void chr(Arguments, Variant&);
void chrTran(Arguments, Variant&);
void isAlpha(Arguments, Variant&);
void isDigit(Arguments, Variant&);
void isLower(Arguments, Variant&);
void isUpper(Arguments, Variant&);
void left(Arguments, Variant&);
void len(Arguments, Variant&);
void like(Arguments, Variant&);
void lower(Arguments, Variant&);
void leftTrim(Arguments, Variant&);
void occurs(Arguments, Variant&);
void padCenter(Arguments, Variant&);
void padLeft(Arguments, Variant&);
void padRight(Arguments, Variant&);
void replicate(Arguments, Variant&);
void right(Arguments, Variant&);
void rightTrim(Arguments, Variant&);
void space(Arguments, Variant&);
void str(Arguments, Variant&);
void strTran(Arguments, Variant&);
void stuff(Arguments, Variant&);
void substr(Arguments, Variant&);
void upper(Arguments, Variant&);
void val(Arguments, Variant&);

// Dates.
void cdow(Arguments, Variant&);
void cmonth(Arguments, Variant&);
void ctod(Arguments, Variant&);
void date(Arguments, Variant&);
void dateTime(Arguments, Variant&);
void day(Arguments, Variant&);
void dmy(Arguments, Variant&);
void dtoc(Arguments, Variant&);
void dtos(Arguments, Variant&);
void goMonth(Arguments, Variant&);
void hour(Arguments, Variant&);
void mdy(Arguments, Variant&);
void minute(Arguments, Variant&);
void month(Arguments, Variant&);
void sec(Arguments, Variant&);
void seconds(Arguments, Variant&);
void time(Arguments, Variant&);
void year(Arguments, Variant&);

// Values of any type.
void between(Arguments, Variant&);
void empty(Arguments, Variant&);
void iif(Arguments, Variant&);
void max(Arguments, Variant&);
void min(Arguments, Variant&);
void varType(Arguments, Variant&);

}  // namespace tarn::routines
