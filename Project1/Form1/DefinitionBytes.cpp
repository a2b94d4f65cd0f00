#include "DefinitionBytes.h"

namespace zanthera::definition {

Error faultAt(std::size_t offset, std::string_view what) {
    return Error{"offset " + std::to_string(offset) + ": " + std::string(what)};
}

void ByteCursor::fail(std::size_t offset, std::string_view what) {
    if (!failed())
        error_ = faultAt(offset, what);
}

void ByteCursor::fail(Error error) {
    if (!failed())
        error_ = std::move(error);
}

void ByteCursor::runsPast(std::string_view what) {
    if (!failed())
        fail(offset(), std::string(what) + " runs past the end of the " + std::string(scope_));
}

std::span<const std::uint8_t> ByteCursor::bytes(std::size_t count, std::string_view what) {
    if (!available(count, what))
        return {};
    const auto s = bytes_.subspan(pos_, count);
    pos_ += count;
    return s;
}

ByteCursor ByteCursor::sub(std::size_t count, std::string_view what, std::string_view scope) {
    const std::size_t start = offset();
    return ByteCursor(bytes(count, what), start, scope);
}

void ByteSink::patchU32(std::size_t at, std::uint32_t v) {
    storeU32(bytes_, at, v);
}

} // namespace zanthera::definition
