// A window that records every write, in order, and refuses writes a real window would refuse.
#pragma once

#include "platform/FormsEngine.h"

#include <map>
#include <string>
#include <vector>

namespace zanthera::testing {

struct Write {
    std::string control;
    std::string value;
    friend bool operator==(const Write&, const Write&) = default;
};

class FakeWindow : public FormWindow {
  public:
    std::vector<Write> writes;
    std::map<std::string, std::string, std::less<>> values;
    std::string missingLabel; // a label this window lacks, as a faulty definition might

    Status setCaption(std::string_view label, std::string_view text) override {
        if (!label.starts_with("Label") || label == missingLabel)
            return Error{"no label " + std::string(label)};
        return record(label, text);
    }
    Status setText(std::string_view box, std::string_view text) override {
        if (box != "Text1")
            return Error{"not a text box"};
        return record(box, text);
    }
    Status setInterval(std::string_view timer, int ms) override {
        if (timer != "Timer1")
            return Error{"not a timer"};
        return record(timer, std::to_string(ms));
    }

    std::string value(std::string_view control) const {
        const auto it = values.find(control);
        return it == values.end() ? std::string() : it->second;
    }

  private:
    Status record(std::string_view control, std::string_view value) {
        writes.push_back({std::string(control), std::string(value)});
        values[std::string(control)] = std::string(value);
        return success();
    }
};

} // namespace zanthera::testing
