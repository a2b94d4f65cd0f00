#include "CleanOutcome.h"

#include "Form1/DefinitionReader.h"
#include "Form1/DefinitionWriter.h"

#include <gtest/gtest.h>

namespace zanthera::testing {

bool expectCleanOutcome(std::span<const std::uint8_t> block, const std::string& what) {
    auto read = readDefinition(block);
    if (!read) {
        EXPECT_EQ(read.error().message.rfind("offset ", 0), 0u)
            << what << ": " << read.error().message;
        return false;
    }
    auto again = writeDefinition(*read, zantheraDefinitionIds);
    if (!again) {
        ADD_FAILURE() << what << ": read but cannot be written: " << again.error().message;
        return true;
    }
    auto reread = readDefinition(*again);
    if (!reread)
        ADD_FAILURE() << what << ": written but cannot be read: " << reread.error().message;
    else
        EXPECT_TRUE(*reread == *read) << what << ": reads back differently";
    return true;
}

} // namespace zanthera::testing
