// The card-reader driver library: named in ICCOM.ini, loaded for each use
// and released right after.
#pragma once

#include "telmar/wintypes.h"

constexpr DWORD kDriverNameSize = 20;

// Drive1 of section YKT_CFG of ICCOM.ini, default "YKTCOM.dll", cut to 19.
void ReadDriverName(char (&name)[kDriverNameSize]);

// Has the driver fill the 90-byte card buffer. 1 when a card was read; 0
// when none was, or when the driver failed (the operator has been told).
int ReadCardWithDriver(const char* driverName, char* cardData);

// Has the card holder key in the PIN, at most twice. 1 when it matched; 0
// when it did not, or when the driver failed (the operator has been told).
int CheckPinWithDriver(const char* driverName, const char* password);
