// Any bytes: the reader either refuses them with an offset-named error, or reads a window that
// the writer stores and the reader gives back unchanged. Anything else stops the fuzzer.
#include "Form1/DefinitionReader.h"
#include "Form1/DefinitionWriter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto read = zanthera::readDefinition({data, size});
    if (!read) {
        if (!read.error().message.starts_with("offset "))
            __builtin_trap();
        return 0;
    }
    auto block = zanthera::writeDefinition(*read, zanthera::zantheraDefinitionIds);
    if (!block)
        __builtin_trap();
    auto again = zanthera::readDefinition(*block);
    if (!again || !(*again == *read))
        __builtin_trap();
    return 0;
}
