// The age in days, the cutoff, the age rule and the time text shown in messages.
#pragma once
#include "framework/CString.h"
#include "framework/CTime.h"
#include "platform/FileSystem.h"

// atoi's rules (blanks, one sign, digits), saturating instead of overflowing.
int AgeFromText(const CString& text);

// Whether atoi would read a number: a digit after the blanks and the sign.
bool AgeTextHoldsNumber(const CString& text);

// now less nDays whole days, in 64-bit arithmetic.
CTime CutoffFor(CTime now, int nDays);

// Old: written before the cutoff and, when asked, also last read before it. Strict.
bool IsOld(const EntryTimes& times, CTime cutoff, bool bLastAccess);

// "Thu Dec 07 10:00:00 2000\n" in local time, English names, day zero-padded.
CString TimeText(CTime t);
