// libFuzzer target for the DXF reader: any bytes are read as a background drawing; nothing
// may crash, hang or throw, and the drawing must still describe itself.
#include "dxf/cDXF.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    cDXF d;
    d.LoadBytes(std::string(reinterpret_cast<const char*>(data), size));
    (void)d.GetExtent();
    (void)d.Describe();
    return 0;
}
