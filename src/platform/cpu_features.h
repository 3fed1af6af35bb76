// What the running CPU offers, for the hand-vectorised paths that pick themselves at
// run time. Only where GCC or Clang targets x86-64 (KVPLATFORM_CPU_DISPATCH); the
// portable paths serve everywhere else.
#pragma once

#if defined(__GNUC__) && defined(__x86_64__)
#define KVPLATFORM_CPU_DISPATCH 1

namespace kvplatform {

// AVX-512 byte and word operations, also on 256-bit vectors, and BMI2.
inline bool CpuHasAvx512Bw() {
    static const bool has = [] {
        __builtin_cpu_init();  // may run before the constructors that set it up
        return __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vl") &&
               __builtin_cpu_supports("bmi2");
    }();
    return has;
}

// The above with the byte permutes of VBMI.
inline bool CpuHasAvx512Vbmi() {
    static const bool has = CpuHasAvx512Bw() && __builtin_cpu_supports("avx512f") &&
                            __builtin_cpu_supports("avx512vbmi");
    return has;
}

}  // namespace kvplatform

#else
#define KVPLATFORM_CPU_DISPATCH 0
#endif
