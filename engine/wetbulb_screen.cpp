// The choice of the wet-bulb screening kernel: the widest unit the processor
// has, found at run time, so that one package serves every x86-64 machine.
#include "wetbulb_screen.h"

#include <cstdlib>
#include <cstring>
#include <initializer_list>

namespace {

#if defined(NIMBARA_SCREEN_X86)
constexpr ScreenKernel kSse2{ScanPath::Sse2, ScreenSse2};
constexpr ScreenKernel kAvx2{ScanPath::Avx2, ScreenAvx2};
constexpr ScreenKernel kAvx512{ScanPath::Avx512, ScreenAvx512};
#endif

bool processorHas(ScanPath path)
{
#if defined(NIMBARA_SCREEN_X86)
    switch (path) {
    case ScanPath::Scalar:
    case ScanPath::Sse2:
        return true;  // part of x86-64 itself
    case ScanPath::Avx2:
        return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
    case ScanPath::Avx512:
        return __builtin_cpu_supports("avx512f");
    }
    return false;
#else
    return path == ScanPath::Scalar;
#endif
}

ScanPath chooseActivePath()
{
    const char* asked = std::getenv("NIMBARA_SCAN");
    if (asked != nullptr) {
        for (ScanPath path : {ScanPath::Scalar, ScanPath::Sse2, ScanPath::Avx2, ScanPath::Avx512}) {
            if (std::strcmp(asked, ScanPathName(path)) == 0 && processorHas(path))
                return path;
        }
    }
    return BestScanPath();
}

}  // namespace

const ScreenKernel* ScreenKernelFor(ScanPath path)
{
    if (!processorHas(path))
        return nullptr;
#if defined(NIMBARA_SCREEN_X86)
    switch (path) {
    case ScanPath::Scalar: return nullptr;
    case ScanPath::Sse2: return &kSse2;
    case ScanPath::Avx2: return &kAvx2;
    case ScanPath::Avx512: return &kAvx512;
    }
#endif
    return nullptr;
}

ScanPath BestScanPath()
{
    for (ScanPath path : {ScanPath::Avx512, ScanPath::Avx2, ScanPath::Sse2}) {
        if (processorHas(path))
            return path;
    }
    return ScanPath::Scalar;
}

ScanPath ActiveScanPath()
{
    static const ScanPath path = chooseActivePath();
    return path;
}

const char* ScanPathName(ScanPath path)
{
    switch (path) {
    case ScanPath::Scalar: return "scalar";
    case ScanPath::Sse2: return "sse2";
    case ScanPath::Avx2: return "avx2";
    case ScanPath::Avx512: return "avx512";
    }
    return "scalar";
}
