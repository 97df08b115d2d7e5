// The row kernels behind TABitmap's blend, one per instruction set, declared
// here so that each can be checked against the other on any machine that
// runs both. Everyone else calls TABitmap::BlendOnto.
#pragma once
#include <QtGlobal>
#include <cstdint>

// The AVX2 kernel and the function clones exist only where the compiler
// targets x86; elsewhere the baseline loops are all there is.
#if defined(__x86_64__) || defined(__i386__)
#    define CORVANE_X86 1
#    define CORVANE_AVX2_CLONES __attribute__((target_clones("avx2", "default")))
#else
#    define CORVANE_X86 0
#    define CORVANE_AVX2_CLONES
#endif

namespace corvane::pixels {

// d[i] := (s[i] * c + d[i] * k) div 256 for i in 0..n-1, with c + k = 256.
void blendBytesGeneric(const uchar *s, uchar *d, int n, uint16_t c, uint16_t k);
// The same with AVX2; call it only where hasAvx2() holds (never off x86).
void blendBytesAvx2(const uchar *s, uchar *d, int n, uint16_t c, uint16_t k);
bool hasAvx2();

} // namespace corvane::pixels
