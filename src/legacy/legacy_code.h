// Fields of the 26-character legacy avatar code (27 bytes with the terminator;
// positions past a short code read as zero bytes).
#pragma once

// The leading decimal number of `length` characters from `position`, as atoi reads
// it (0 when there is none).
int LegacyCodeNumber(const char* code, int position, int length);

// Two characters from `position`: their value when both are decimal digits, else
// 26 x first + second - 1213 with the characters' codes (0 to 255).
int LegacyFrameCode(const char* code, int position);
