// The row kernels behind TABitmap's blend, one per instruction set, declared
// here so that each can be checked against the other on any machine that
// runs both. Everyone else calls TABitmap::BlendOnto.
#pragma once
#include <QtGlobal>
#include <cstdint>

namespace corvane::pixels {

// d[i] := (s[i] * c + d[i] * k) div 256 for i in 0..n-1, with c + k = 256.
void blendBytesGeneric(const uchar *s, uchar *d, int n, uint16_t c, uint16_t k);
// The same with AVX2; call it only where hasAvx2() holds.
void blendBytesAvx2(const uchar *s, uchar *d, int n, uint16_t c, uint16_t k);
bool hasAvx2();

} // namespace corvane::pixels
