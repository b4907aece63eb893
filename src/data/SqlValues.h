// Checks and quoting for the values that the module writes into statements.
// Statements are built from fixed templates, so every value must be made
// safe before it goes in: quoted text has its quotes doubled, and a value
// placed without quotes must be a number.
#pragma once

#include "telmar/cstring.h"

// The text with each single quote doubled, for use between single quotes.
CString SqlQuoted(const char* text);

// An optional sign and 1 to 10 decimal digits whose value fits a 32-bit
// signed integer; nothing else, not even blanks.
bool IsInt32Text(const char* text);

// An optional sign, decimal digits, and optionally a point and more digits.
bool IsDecimalText(const char* text);

// 1 to 25 decimal digits: the form of a card number.
bool IsCardNumberText(const char* text);

// Reads a decimal integer the way atoi does (leading blanks, an optional
// sign, the digits up to the first other character; 0 without digits), but
// with a defined result for values beyond 32 bits: they saturate.
int ReadDecimalInteger(const char* text);
