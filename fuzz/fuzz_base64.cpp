// Fuzz target for the Base64 decoder: any text, cleaned or not, either decodes or raises the
// decoder's own error, and the decoded bytes survive an encode and a decode unchanged.
#include "foundation/NUX_STD_encoding.h"
#include "foundation/cError.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace NUX_STD_library;
    for (bool clean : {false, true}) {
        std::string text(reinterpret_cast<const char*>(data), size);
        std::string bytes;
        try {
            bytes = Base64Decode(text, clean);
        } catch (const cError& e) {
            if (e.Number() != 9) {
                std::abort();
            }
            continue;
        }
        std::string again = Base64Encode(bytes);
        if (!bytes.empty() && Base64Decode(again, false) != bytes) {
            std::abort();
        }
    }
    return 0;
}
