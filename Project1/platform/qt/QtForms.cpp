#include "QtForms.h"

#include "ControlWidgets.h"
#include "Form1/ScreenReader.h"
#include "Form1/Units.h"
#include "Form1/WindowChoices.h"
#include "Form1/WindowPlacement.h"
#include "PanelLabel.h"
#include "PictureButton.h"
#include "SteppedTimer.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QScreen>
#include <QTimer>

namespace zanthera::qt {

namespace {

// Screen readers take the window for a frame named by its caption; a plain top-level QWidget
// would otherwise pass for an anonymous client area.
QAccessibleInterface* formAccessible(const QString& className, QObject* object) {
    auto* form = dynamic_cast<FormWidget*>(object);
    if (className != QLatin1String("QWidget") || !form)
        return nullptr;
    return new QAccessibleWidget(form, QAccessible::Window);
}

// The designed place where the whole window fits the screen's free area, else as near to it as
// fits, else with its top-left corner on the screen.
QPoint placeOnScreen(QPoint designed, QSize size) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return designed;
    const QRect free = screen->availableGeometry();
    const QPoint origin = screen->geometry().topLeft();
    const ScreenRect placed = zanthera::placeOnScreen(
        {origin.x() + designed.x(), origin.y() + designed.y(), size.width(), size.height()},
        {free.x(), free.y(), free.width(), free.height()});
    return {placed.left, placed.top};
}

} // namespace

QtForms::QtForms(double logicalDpi) : dpi_(logicalDpi) {
    static const bool factoryInstalled = (QAccessible::installFactory(formAccessible), true);
    (void)factoryInstalled;
    if (dpi_ <= 0) {
        const QScreen* screen = QGuiApplication::primaryScreen();
        dpi_ = screen ? screen->logicalDotsPerInch() : designDpi;
    }
}

QtForms::~QtForms() = default;

double QtForms::scale() const {
    return designScale(dpi_);
}

int QtForms::pixels(int twips) const {
    return twipsToPixels(twips, dpi_);
}

Status QtForms::create(const WindowModel& model) {
    auto form = std::make_unique<FormWidget>(model.form, scale());
    // The panel's reading order comes from the controls' places, never from mirroring, even
    // when Qt's own translations make the application right-to-left.
    form->setLayoutDirection(Qt::LeftToRight);
    const ClientRect& c = model.form.client;
    const QSize size(pixels(int(c.width)), pixels(int(c.height)));
    form->setGeometry(QRect(placeOnScreen({pixels(int(c.left)), pixels(int(c.top))}, size), size));
    form->setFixedSize(size);
    window_ = std::move(form);
    for (const auto& control : model.controls)
        createControl(control);
    applyTabOrder(model);
    describeForScreenReaders(model);
    return success();
}

void QtForms::createControl(const ControlModel& control) {
    const Extents& e = control.extents;
    const QRect place(pixels(e.left), pixels(e.top), pixels(e.width), pixels(e.height));
    QObject* object = nullptr;
    switch (control.kind) {
    case ControlKind::Button: {
        auto* button = makeButton(control, window_.get(), scale());
        QObject::connect(button, &QPushButton::clicked, window_.get(),
                         [this, name = control.name] { deliver(name, FormEvent::Click); });
        object = button;
        break;
    }
    case ControlKind::Label:
        object = makeLabel(control, window_.get());
        break;
    case ControlKind::TextBox:
        object = makeTextBox(control, window_.get());
        break;
    case ControlKind::Timer: {
        auto* timer = new SteppedTimer(window_.get());
        QObject::connect(timer, &QTimer::timeout, window_.get(),
                         [this, name = control.name] { deliver(name, FormEvent::Timer); });
        object = timer;
        break;
    }
    case ControlKind::Window:
        return;
    }
    // A fixed size also spares every later caption change a layout request to the window.
    if (auto* widget = qobject_cast<QWidget*>(object)) {
        widget->setGeometry(place);
        widget->setFixedSize(place.size());
    }
    if (auto* label = dynamic_cast<PanelLabel*>(object))
        label->showText(QString::fromStdString(control.caption));
    object->setObjectName(QString::fromStdString(control.name));
    controls_.emplace(control.name, object);
}

// The result box gets a name, and each value label is labelled by the caption beside it, so a
// screen reader says "الوقت 01:34:52" rather than a bare time.
void QtForms::describeForScreenReaders(const WindowModel& model) {
    for (const auto& c : model.controls) {
        if (auto* widget = find<QWidget>(c.name); widget && !c.accessibleName.empty())
            widget->setAccessibleName(QString::fromStdString(c.accessibleName));
        if (!isValueLabel(c))
            continue;
        if (const ControlModel* caption = captionOf(model, c))
            find<QLabel>(caption->name)->setBuddy(find<QWidget>(c.name));
    }
}

// Qt's focus chain goes round by itself, and starts on the first control of the walk.
void QtForms::applyTabOrder(const WindowModel& model) {
    const std::vector<const ControlModel*> order = focusOrder(model);
    QWidget* previous = nullptr;
    for (const auto* c : order) {
        auto* widget = find<QWidget>(c->name);
        if (previous)
            QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
    if (!order.empty())
        find<QWidget>(order.front()->name)->setFocus(Qt::OtherFocusReason);
}

void QtForms::setEventSink(EventSink sink) {
    sink_ = std::move(sink);
}

void QtForms::deliver(const std::string& name, FormEvent event) {
    if (sink_)
        sink_(name, event);
}

int QtForms::run() {
    if (!window_)
        return 1;
    window_->show();
    return QApplication::exec();
}

QObject* QtForms::control(std::string_view name) const {
    const auto it = controls_.find(name);
    return it == controls_.end() ? nullptr : it->second.data();
}

template <typename T> T* QtForms::find(std::string_view name) const {
    return dynamic_cast<T*>(control(name));
}

void QtForms::showText(std::string_view control, std::string_view text) {
    const QString shown = QString::fromUtf8(text.data(), qsizetype(text.size()));
    if (auto* label = find<PanelLabel>(control))
        label->showText(shown);
    else if (auto* box = find<QTextEdit>(control))
        box->setPlainText(shown);
}

Status QtForms::runTimer(std::string_view timer, int milliseconds) {
    if (auto* t = find<SteppedTimer>(timer))
        t->run(milliseconds);
    return success();
}

} // namespace zanthera::qt
