// The contract's probe for the Qt engine, and the Qt tests' program: on a (virtual) X display, not
// the offscreen platform, so that focus, window flags and places are those an X server gives.
#include "forms/EngineContract.h"
#include "platform/qt/QtForms.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QTextEdit>

#include <gtest/gtest.h>

namespace zanthera::contract {
namespace {

class QtProbe final : public EngineProbe {
  public:
    explicit QtProbe(int dpi) : forms_(dpi) {}
    FormsEngine& engine() override { return forms_; }
    void settle() override {}

    PixelRect place(std::string_view control) override {
        const QRect r = widget(control)->geometry();
        return {r.x(), r.y(), r.width(), r.height()};
    }
    FrameSeen frame() override {
        const QWidget* w = forms_.window();
        const Qt::WindowFlags flags = w->windowFlags();
        return {flags.testFlag(Qt::WindowCloseButtonHint),
                flags.testFlag(Qt::WindowMinimizeButtonHint),
                flags.testFlag(Qt::WindowMaximizeButtonHint), w->minimumSize() != w->maximumSize()};
    }
    std::string shownText(std::string_view control) override {
        if (auto* label = qobject_cast<QLabel*>(widget(control)))
            return label->text().toStdString();
        if (auto* box = qobject_cast<QTextEdit*>(widget(control)))
            return box->toPlainText().toStdString();
        return {};
    }
    std::optional<std::string> accessibleName(std::string_view control) override {
        return QAccessible::queryAccessibleInterface(widget(control))
            ->text(QAccessible::Name)
            .toStdString();
    }
    std::string readWith(std::string_view valueLabel) override {
        const auto related = QAccessible::queryAccessibleInterface(widget(valueLabel))
                                 ->relations(QAccessible::Label);
        return related.size() == 1 ? related[0].first->object()->objectName().toStdString() : "";
    }
    std::vector<std::string> focusWalk(std::size_t presses) override {
        QWidget* w = forms_.window();
        w->show();
        w->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(w));
        std::vector<std::string> walked;
        for (std::size_t i = 0; i <= presses; ++i) {
            QWidget* focus = QApplication::focusWidget();
            walked.push_back(focus ? focus->objectName().toStdString() : "(none)");
            if (focus)
                QTest::keyClick(focus, Qt::Key_Tab);
        }
        return walked;
    }
    void click(std::string_view control) override {
        forms_.window()->show();
        QTest::mouseClick(widget(control), Qt::LeftButton);
    }
    bool runUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) override {
        return QTest::qWaitFor(done, int(limit.count()));
    }

  private:
    QWidget* widget(std::string_view control) const {
        return qobject_cast<QWidget*>(forms_.control(control));
    }

    qt::QtForms forms_;
};

} // namespace

std::unique_ptr<EngineProbe> makeProbe(int dpi) {
    return std::make_unique<QtProbe>(dpi);
}

} // namespace zanthera::contract

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
