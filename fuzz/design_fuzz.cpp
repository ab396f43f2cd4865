// A design file of any bytes: reading it must never crash or hang, and a
// design it reads is built, then written as the sheet and as JSON.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "design_file.h"
#include "design_sheet.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const DesignFile file = ReadDesign(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!file.input) {
        if (file.error.empty())
            __builtin_trap();  // a refusal always says why
        return 0;
    }
    const DesignResult result = RunDesign(*file.input);
    if (result.failure) {
        if (DesignFailureMessage(result.failure).empty() || !result.points.empty())
            __builtin_trap();
        return 0;
    }
    // A built design has its supply point and room point, and writes both ways.
    if (!result.point("N") || !result.point("O"))
        __builtin_trap();
    (void)DesignSheet(*file.input, result, file.altitude);
    (void)DesignJson(result);
    return 0;
}
