#include "DefinitionWriter.h"

#include "DefinitionBytes.h"
#include "DefinitionProperties.h"
#include "DefinitionValues.h"
#include "ModelSettings.h"

#include <limits>

namespace zanthera {

using namespace definition;

namespace {

template <typename Model>
Status writeProperties(ByteSink& out, const Model& model, ControlKind kind,
                       std::span<const Setting> settings) {
    for (Setting setting : settings)
        if (!ruleForSetting(kind, setting) && !atDefault(model, setting))
            return Error{"a " + std::string(kindName(kind)) + " cannot store its " +
                         std::string(settingName(setting))};
    for (const auto& rule : rulesFor(kind)) {
        const auto value = settingValue(model, rule.setting);
        if (!value || (!rule.alwaysStored && atDefault(model, rule.setting)))
            continue;
        out.u8(rule.opcode);
        if (auto s = writeValue(out, rule, *value); !s)
            return Error{std::string(settingName(rule.setting)) + ": " + s.error().message};
    }
    out.u8(recordEnd);
    return success();
}

struct RecordHead {
    std::string_view name;
    std::uint8_t index;
    ControlKind kind;
};

template <typename Model>
Status writeRecord(ByteSink& out, const RecordHead& head, const Model& model,
                   std::span<const Setting> settings) {
    if (auto problem = nameProblem(head.name))
        return Error{"\"" + std::string(head.name) + "\": " + *problem};
    const std::size_t start = out.size();
    out.u32(0); // the record length, known once the record is complete
    out.u8(head.index);
    out.u16(static_cast<std::uint16_t>(head.name.size()));
    for (char c : head.name)
        out.u8(static_cast<std::uint8_t>(c));
    out.u8(0);
    out.u8(static_cast<std::uint8_t>(head.kind));
    if (auto s = writeProperties(out, model, head.kind, settings); !s)
        return Error{std::string(head.name) + ": " + s.error().message};
    const std::size_t length = out.size() - start;
    if (length > std::numeric_limits<std::uint32_t>::max())
        return Error{std::string(head.name) + ": record is too long"};
    out.patchU32(start, static_cast<std::uint32_t>(length));
    return success();
}

Status checkControl(const WindowModel& model, std::size_t position) {
    const ControlModel& c = model.controls[position];
    if (c.index != position + 1)
        return Error{c.name + ": creation index " + std::to_string(c.index) + " where " +
                     std::to_string(position + 1) + " was expected"};
    if (c.kind == ControlKind::Window || !isKnownKind(static_cast<std::uint8_t>(c.kind)))
        return Error{c.name + ": a control cannot be of kind " +
                     std::to_string(static_cast<int>(c.kind))};
    if (c.name == model.form.name)
        return Error{c.name + ": the name is used twice"};
    for (std::size_t i = 0; i < position; ++i)
        if (model.controls[i].name == c.name)
            return Error{c.name + ": the name is used twice"};
    return success();
}

void writeHeader(ByteSink& out, const WindowModel& model, const DefinitionIds& ids) {
    out.append(signature);
    out.u8(static_cast<std::uint8_t>(model.controls.size()));
    out.append(ids.window.stored());
    out.append(ids.second.stored());
    out.append(formClassId.stored());
    for (std::size_t i = 0; i < zeroBytesCount; ++i)
        out.u8(0);
}

std::size_t picturesSize(const WindowModel& model) {
    std::size_t total = model.form.background.size() + model.form.icon.size();
    for (const auto& c : model.controls)
        total += c.picture.size();
    return total;
}

Status writeControls(ByteSink& out, const WindowModel& model) {
    // A window without controls has no list to open; its record is followed by the close marker.
    if (!model.controls.empty())
        out.u8(markerOpen);
    for (std::size_t i = 0; i < model.controls.size(); ++i) {
        if (i > 0)
            out.u8(markerNext);
        if (auto s = checkControl(model, i); !s)
            return s;
        const ControlModel& c = model.controls[i];
        if (auto s = writeRecord(out, {c.name, c.index, c.kind}, c, controlSettings()); !s)
            return s;
    }
    out.u8(markerClose);
    return success();
}

} // namespace

Result<std::vector<std::uint8_t>> writeDefinition(const WindowModel& model,
                                                  const DefinitionIds& ids) {
    if (model.controls.size() > maxControls)
        return Error{"a window holds at most " + std::to_string(maxControls) + " controls, not " +
                     std::to_string(model.controls.size())};
    ByteSink out;
    out.reserve(picturesSize(model) + 64 * 1024);
    writeHeader(out, model, ids);
    out.u32(0); // the tree length, known once the block is complete
    const RecordHead window{model.form.name, 0, ControlKind::Window};
    if (auto s = writeRecord(out, window, model.form, formSettings()); !s)
        return s.error();
    if (auto s = writeControls(out, model); !s)
        return s.error();
    out.u8(markerEnd);
    const std::size_t treeLength = out.size() - treeLengthOffset;
    if (treeLength > std::numeric_limits<std::uint32_t>::max())
        return Error{"the window's definition is too long"};
    out.patchU32(treeLengthOffset, static_cast<std::uint32_t>(treeLength));
    return out.take();
}

} // namespace zanthera
