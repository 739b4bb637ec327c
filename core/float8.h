#pragma once
// The 8-bit floating-point format used by addf: s eee mmmm, value (-1)^s * m * 2^e,
// no bias, no hidden bit. Every byte decodes; encoding truncates toward zero.

int DecodeFloat8(int byte);
int EncodeFloat8(int value);
