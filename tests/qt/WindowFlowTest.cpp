// The handlers driving the real Qt window through the event table, with a scripted platform:
// what the person sees in the labels and the result box after load, ticks and clicks.
#include "Form1/ControlTable.h"
#include "app/EventTable.h"
#include "fakes/FakeServices.h"
#include "platform/qt/QtForms.h"

#include <QLabel>
#include <QTest>
#include <QTextEdit>

#include <gtest/gtest.h>

namespace zanthera::qt {
namespace {

class WindowFlow : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(forms.create(design::designedWindow()));
        forms.setEventSink([this](std::string_view control, FormEvent event) {
            dispatch(services, forms, control, event);
        });
        dispatch(services, forms, "Form1", FormEvent::Load);
        forms.window()->show();
    }

    QString label(std::string_view name) {
        return qobject_cast<QLabel*>(forms.control(name))->text();
    }
    QString resultBox() { return dynamic_cast<QTextEdit*>(forms.control("Text1"))->toPlainText(); }
    void click(std::string_view name) {
        QTest::mouseClick(qobject_cast<QWidget*>(forms.control(name)), Qt::LeftButton);
    }

    testing::FakeServices services;
    QtForms forms{96};
};

TEST_F(WindowFlow, LoadFillsWeekdayMonthMinutesAndTheFirstTickFillsTimeAndDate) {
    EXPECT_EQ(label("Label6"), QStringLiteral("الأحد"));
    EXPECT_EQ(label("Label5"), QStringLiteral("month12"));
    EXPECT_EQ(label("Label10"), QStringLiteral("0دقيقة"));
    EXPECT_TRUE(label("Label1").isEmpty());
    EXPECT_TRUE(label("Label2").isEmpty());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !label("Label1").isEmpty(); }, 3000));
    EXPECT_EQ(label("Label1"), QStringLiteral("16:40:5"));
    EXPECT_EQ(label("Label2"), QStringLiteral("6/12/2026"));
}

TEST_F(WindowFlow, LaunchesLeaveEveryTextAsItWas) {
    services.startAnswer = Error{"nothing installed"};
    click("Command4");
    const QString before = resultBox() + label("Label6") + label("Label10");
    click("Cmm1");
    click("Command10");
    EXPECT_EQ(services.started.size(), 2u);
    EXPECT_EQ(services.boxes.size(), 2u);
    EXPECT_EQ(resultBox() + label("Label6") + label("Label10"), before);
}

} // namespace
} // namespace zanthera::qt
