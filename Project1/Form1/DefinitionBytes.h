// Bounded byte reading and growing byte writing for the stored window definition.
//
// The reader's cursor is bounded: a read past its end does not touch memory outside its span; it
// returns zero or an empty span and records the first fault, so that a parser can read a group of
// fields and check once. Every fault names the absolute offset in the block where it happened.
#pragma once

#include "LittleEndian.h"
#include "base/Result.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zanthera::definition {

// The one error form of the reader: "offset 1234: what was wrong".
Error faultAt(std::size_t offset, std::string_view what);

class ByteCursor {
  public:
    // `base` is the offset of the span's first byte within the block; `scope` names what the span
    // is ("block", "record") in the message of a read that runs past its end.
    ByteCursor(std::span<const std::uint8_t> bytes, std::size_t base, std::string_view scope)
        : bytes_(bytes), base_(base), scope_(scope) {}

    std::size_t offset() const { return base_ + pos_; }
    std::size_t remaining() const { return bytes_.size() - pos_; }
    bool atEnd() const { return pos_ == bytes_.size(); }

    bool failed() const { return !error_.message.empty(); }
    const Error& error() const { return error_; }
    // Records a fault found by the caller; like a failed read, only the first one is kept.
    void fail(std::size_t offset, std::string_view what);
    void fail(Error error);

    // Inline: the reader makes thousands of these reads at every start-up.
    std::uint8_t u8(std::string_view what) {
        if (!available(1, what))
            return 0;
        return bytes_[pos_++];
    }
    std::uint16_t u16(std::string_view what) {
        if (!available(2, what))
            return 0;
        const std::uint16_t v = loadU16(bytes_, pos_);
        pos_ += 2;
        return v;
    }
    std::uint32_t u32(std::string_view what) {
        if (!available(4, what))
            return 0;
        const std::uint32_t v = loadU32(bytes_, pos_);
        pos_ += 4;
        return v;
    }
    std::span<const std::uint8_t> bytes(std::size_t count, std::string_view what);
    // A cursor over the next `count` bytes, which this cursor steps over.
    ByteCursor sub(std::size_t count, std::string_view what, std::string_view scope);

  private:
    bool available(std::size_t count, std::string_view what) {
        if (!failed() && count <= remaining())
            return true;
        runsPast(what);
        return false;
    }
    // Records that a read of `what` runs past the end, unless a fault came first.
    void runsPast(std::string_view what);

    std::span<const std::uint8_t> bytes_;
    std::size_t base_ = 0;
    std::size_t pos_ = 0;
    std::string_view scope_;
    Error error_;
};

class ByteSink {
  public:
    void u8(std::uint8_t v) { bytes_.push_back(v); }
    void u16(std::uint16_t v) {
        std::array<std::uint8_t, 2> b{};
        storeU16(b, 0, v);
        append(b);
    }
    void u32(std::uint32_t v) {
        std::array<std::uint8_t, 4> b{};
        storeU32(b, 0, v);
        append(b);
    }
    void append(std::span<const std::uint8_t> data) {
        bytes_.insert(bytes_.end(), data.begin(), data.end());
    }
    void zeros(std::size_t count) { bytes_.insert(bytes_.end(), count, 0); }
    void reserve(std::size_t count) { bytes_.reserve(count); }
    std::size_t size() const { return bytes_.size(); }
    // Overwrites a length field written earlier, once the bytes that it counts are known.
    void patchU32(std::size_t at, std::uint32_t v);
    std::vector<std::uint8_t> take() { return std::move(bytes_); }

  private:
    std::vector<std::uint8_t> bytes_;
};

} // namespace zanthera::definition
