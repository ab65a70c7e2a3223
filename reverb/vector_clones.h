// The run loops are compiled twice where the loader can choose between
// versions: for the baseline (SSE2, four lanes) and for AVX2 (eight lanes),
// taken on processors that have it. Only the width differs: FMA stays off
// (not part of AVX2, and contraction is off for the whole build), so each
// lane does the same IEEE single-precision operations in the same order and
// every build gives the same samples on every processor.
// Elsewhere (Windows, 32-bit, other compilers) the baseline alone, and under
// ThreadSanitizer, which is not yet running when the loader calls the code
// that chooses a version.
#pragma once

#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__) && defined(__ELF__) && \
    !defined(__SANITIZE_THREAD__) && !defined(ROOMPLATE_BASELINE_ONLY)
#define ROOMPLATE_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define ROOMPLATE_VECTOR_CLONES
#endif
