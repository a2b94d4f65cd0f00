#include "DefinitionReader.h"

#include "DefinitionBytes.h"
#include "DefinitionValues.h"
#include "ModelSettings.h"

#include <algorithm>
#include <cstdio>

namespace zanthera {

using namespace definition;

namespace {

// More than any record of the window holds; a record with more only grows its list.
constexpr std::size_t propertiesPerRecord = 16;

std::string hexByte(std::uint8_t v) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "0x%02X", static_cast<unsigned>(v));
    return buffer;
}

Guid readGuid(ByteCursor& in, std::string_view what) {
    const auto bytes = in.bytes(16, what);
    if (bytes.size() != 16)
        return {};
    return Guid::fromStored(bytes.first<16>());
}

Status checkFixedHeader(std::span<const std::uint8_t> block) {
    if (!std::ranges::equal(block.first(signature.size()), signature))
        return faultAt(0, "leading signature is not FF CC 31 00");
    const auto formClass = Guid::fromStored(block.subspan(formClassIdOffset).first<16>());
    if (formClass != formClassId)
        return faultAt(formClassIdOffset, "form class identifier " + formClass.text() +
                                              " is not the window class " + formClassId.text());
    for (std::size_t i = zeroBytesOffset; i < zeroBytesOffset + zeroBytesCount; ++i)
        if (block[i] != 0)
            return faultAt(i, "header byte " + hexByte(block[i]) + " where 00 is required");
    return success();
}

// Reads the header and leaves the cursor on the first byte of the record tree.
Status parseHeader(ByteCursor& in, std::span<const std::uint8_t> block, ParsedDefinition& out,
                   std::uint8_t& headerCount) {
    if (block.size() < treeOffset)
        return faultAt(0, "block of " + std::to_string(block.size()) +
                              " bytes is shorter than its " + std::to_string(treeOffset) +
                              "-byte header");
    if (auto s = checkFixedHeader(block); !s)
        return s;
    in.bytes(signature.size(), "signature");
    headerCount = in.u8("control count");
    out.ids.window = readGuid(in, "window identifier");
    out.ids.second = readGuid(in, "second identifier");
    in.bytes(16 + zeroBytesCount, "form class identifier and zero bytes");
    const std::uint64_t treeLength = in.u32("tree length");
    if (in.failed())
        return in.error();
    if (treeLengthOffset + treeLength != block.size())
        return faultAt(treeLengthOffset, "tree length " + std::to_string(treeLength) +
                                             " disagrees with the block's " +
                                             std::to_string(block.size()) + " bytes");
    return success();
}

Status parseRecordHead(ByteCursor& rec, StoredRecord& r, std::uint8_t expectedIndex) {
    const std::size_t indexAt = rec.offset();
    r.index = rec.u8("creation index");
    const std::size_t nameAt = rec.offset();
    const std::uint16_t nameLength = rec.u16("name length");
    if (nameLength > maxNameBytes)
        rec.fail(nameAt, "name length " + std::to_string(nameLength) + " exceeds the limit of " +
                             std::to_string(maxNameBytes));
    const auto name = rec.bytes(nameLength, "name");
    const std::size_t nameEndAt = rec.offset();
    const std::uint8_t nameEnd = rec.u8("name end byte");
    const std::size_t typeAt = rec.offset();
    const std::uint8_t type = rec.u8("type code");
    if (rec.failed())
        return rec.error();
    if (r.index != expectedIndex)
        return faultAt(indexAt, "creation index " + std::to_string(r.index) + " where " +
                                    std::to_string(expectedIndex) + " was expected");
    if (auto problem = nameProblem(name))
        return faultAt(nameAt + 2, *problem);
    r.name.assign(name.begin(), name.end());
    if (nameEnd != 0)
        return faultAt(nameEndAt, "name \"" + r.name + "\" does not end with 00");
    const bool windowRecord = expectedIndex == 0;
    r.kind = static_cast<ControlKind>(type);
    if (!isKnownKind(type) || (r.kind == ControlKind::Window) != windowRecord)
        return faultAt(typeAt, "type code " + std::to_string(type) + " is not known for " +
                                   (windowRecord ? "the window" : "a control"));
    return success();
}

// Steps over the rest of a record whose opcode at `at` is not known, by the record's length.
Status stepOver(ByteCursor& rec, StoredRecord& r, std::size_t at, std::uint8_t opcode) {
    const auto rest = rec.bytes(rec.remaining(), "rest of the record");
    if (rest.empty() || rest.back() != recordEnd)
        return faultAt(rec.offset() - 1, "record " + r.name + " with unknown opcode " +
                                             hexByte(opcode) + " does not end with FF");
    r.steppedOver = SteppedOver{at, opcode};
    return success();
}

Status parseProperties(ByteCursor& rec, StoredRecord& r) {
    // Room for every property a record of the window has, so the list never grows on the way.
    r.properties.reserve(propertiesPerRecord);
    int previous = -1;
    for (;;) {
        const std::size_t at = rec.offset();
        const std::uint8_t opcode = rec.u8("opcode or end byte");
        if (rec.failed())
            return rec.error();
        if (opcode == recordEnd) {
            if (!rec.atEnd())
                return faultAt(at, "end byte FF is not the record's last byte, which its "
                                   "length puts at offset " +
                                       std::to_string(at + rec.remaining()));
            return success();
        }
        if (opcode <= previous)
            return faultAt(at, "opcode " + hexByte(opcode) + " does not rise above " +
                                   hexByte(static_cast<std::uint8_t>(previous)));
        previous = opcode;
        const PropertyRule* rule = ruleForOpcode(r.kind, opcode);
        if (!rule)
            return stepOver(rec, r, at, opcode);
        auto value = readValue(rec, *rule);
        if (!value)
            return rec.error();
        r.properties.push_back({at, rule, std::move(*value)});
    }
}

// Reads one record into `r`, a fresh entry of the parsed list, so that nothing is moved twice.
Status parseRecord(ByteCursor& tree, std::uint8_t expectedIndex, StoredRecord& r) {
    r.offset = tree.offset();
    r.length = tree.u32("record length");
    if (tree.failed())
        return tree.error();
    if (r.length < smallestRecord)
        return faultAt(r.offset, "record length " + std::to_string(r.length) +
                                     " is shorter than the smallest record");
    if (r.length - 4 > tree.remaining())
        return faultAt(r.offset, "record length " + std::to_string(r.length) +
                                     " runs past the end of the block");
    ByteCursor rec = tree.sub(r.length - 4, "record", "record");
    if (auto s = parseRecordHead(rec, r, expectedIndex); !s)
        return s;
    return parseProperties(rec, r);
}

Status addRecord(ParsedDefinition& out, ByteCursor& tree) {
    const auto index = static_cast<std::uint8_t>(out.records.size());
    StoredRecord& record = out.records.emplace_back();
    if (auto s = parseRecord(tree, index, record); !s)
        return s;
    for (std::size_t i = 0; i + 1 < out.records.size(); ++i)
        if (out.records[i].name == record.name)
            return faultAt(record.offset, "name \"" + record.name + "\" is used twice");
    return success();
}

Status parseControls(ByteCursor& tree, ParsedDefinition& out) {
    for (;;) {
        if (out.records.size() > maxControls)
            return faultAt(tree.offset(),
                           "more than " + std::to_string(maxControls) + " control records");
        if (auto s = addRecord(out, tree); !s)
            return s;
        const std::size_t at = tree.offset();
        const std::uint8_t marker = tree.u8("marker after a control record");
        if (tree.failed())
            return tree.error();
        if (marker == markerClose)
            return success();
        if (marker != markerNext)
            return faultAt(at, "marker " + hexByte(marker) +
                                   " after a control record is neither 03 nor 02");
    }
}

Status parseTree(ByteCursor& tree, ParsedDefinition& out, std::uint8_t headerCount) {
    out.records.reserve(std::size_t(headerCount) + 1);
    if (auto s = addRecord(out, tree); !s)
        return s;
    const std::size_t markerAt = tree.offset();
    const std::uint8_t marker = tree.u8("marker after the window's record");
    if (tree.failed())
        return tree.error();
    if (marker == markerOpen) {
        if (auto s = parseControls(tree, out); !s)
            return s;
    } else if (marker != markerClose) {
        return faultAt(markerAt, "marker " + hexByte(marker) +
                                     " after the window's record is neither 01 nor 02");
    }
    const std::size_t endAt = tree.offset();
    const std::uint8_t end = tree.u8("end marker 04");
    if (tree.failed())
        return tree.error();
    if (end != markerEnd)
        return faultAt(endAt, "marker " + hexByte(end) + " where the end marker 04 was expected");
    if (!tree.atEnd())
        return faultAt(tree.offset(),
                       std::to_string(tree.remaining()) + " bytes follow the end marker 04");
    if (out.records.size() - 1 != headerCount)
        return faultAt(controlCountOffset, "header counts " + std::to_string(headerCount) +
                                               " controls but the block holds " +
                                               std::to_string(out.records.size() - 1));
    return success();
}

} // namespace

Result<ParsedDefinition> parseDefinition(std::span<const std::uint8_t> block) {
    ParsedDefinition out;
    out.size = block.size();
    ByteCursor in(block, 0, "block");
    std::uint8_t headerCount = 0;
    if (auto s = parseHeader(in, block, out, headerCount); !s)
        return s.error();
    if (auto s = parseTree(in, out, headerCount); !s)
        return s.error();
    return out;
}

WindowModel modelFromParsed(const ParsedDefinition& parsed) {
    WindowModel model;
    if (parsed.records.empty())
        return model;
    model.controls.reserve(parsed.records.size() - 1);
    const auto& window = parsed.records.front();
    model.form.name = window.name;
    for (const auto& p : window.properties)
        applySetting(model.form, p.rule->setting, p.value);
    for (std::size_t i = 1; i < parsed.records.size(); ++i) {
        const auto& record = parsed.records[i];
        ControlModel control;
        control.name = record.name;
        control.index = record.index;
        control.kind = record.kind;
        for (const auto& p : record.properties)
            applySetting(control, p.rule->setting, p.value);
        model.controls.push_back(std::move(control));
    }
    return model;
}

Result<WindowModel> readDefinition(std::span<const std::uint8_t> block, Pictures pictures) {
    auto parsed = parseDefinition(block);
    if (!parsed)
        return parsed.error();
    WindowModel model = modelFromParsed(*parsed);
    if (pictures == Pictures::Copied) {
        model.form.background.keepOwnCopy();
        model.form.icon.keepOwnCopy();
        for (auto& control : model.controls)
            control.picture.keepOwnCopy();
    }
    return model;
}

} // namespace zanthera
