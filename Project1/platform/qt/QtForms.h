// The forms engine on Qt Widgets: one fixed window built from a WindowModel, with picture
// buttons, labels, a text box and a timer, laid out from twips at the screen's logical DPI.
#pragma once

#include "platform/FormsEngine.h"

#include <QPointer>
#include <QWidget>

#include <map>
#include <memory>
#include <string>

namespace zanthera::qt {

class QtForms final : public FormsEngine {
  public:
    // A DPI of 0 takes the primary screen's logical DPI.
    explicit QtForms(double logicalDpi = 0);
    ~QtForms() override;

    Status create(const WindowModel& model) override;
    void setEventSink(EventSink sink) override;
    int run() override;

    void showText(std::string_view control, std::string_view text) override;
    Status runTimer(std::string_view timer, int milliseconds) override;

    QWidget* window() const { return window_.get(); }
    // The live object of a control, or null when there is none by that name.
    QObject* control(std::string_view name) const;

  private:
    void createControl(const ControlModel& control);
    void applyTabOrder(const WindowModel& model);
    void describeForScreenReaders(const WindowModel& model);
    template <typename T> T* find(std::string_view name) const;
    int pixels(int twips) const;
    double scale() const;
    void deliver(const std::string& name, FormEvent event);

    double dpi_;
    std::unique_ptr<QWidget> window_;
    std::map<std::string, QPointer<QObject>, std::less<>> controls_;
    EventSink sink_;
};

} // namespace zanthera::qt
