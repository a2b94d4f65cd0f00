// The Qt widgets behind each kind of control, set up from the model's stored settings.
#pragma once

#include "Form1/WindowModel.h"

#include <QColor>
#include <QImage>
#include <QTextEdit>
#include <QWidget>

#include <string_view>

namespace zanthera::qt {

class PanelLabel;
class PictureButton;

// The window itself: its background picture drawn from the client area's top-left corner, over
// the window's own colour.
class FormWidget : public QWidget {
  public:
    // `scale` is the logical DPI over 96: the design is drawn for 96 DPI and grows as a whole.
    FormWidget(const FormModel& form, double scale);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QImage background_;
    // The background shown straight from the rows the definition stores, bottom row first.
    bool bottomUp_ = false;
};

// The result box: several lines, text centred, Tab moving on to the next control.
class ResultBox : public QTextEdit {
  public:
    explicit ResultBox(QWidget* parent);
};

// Makes the Arabic face compiled into the program the application's font; returns its family,
// or nothing when it could not be loaded.
QString useArabicFont();

QColor colourOf(StoredColour colour);
// The picture of an image file at `scale` times its size; a null image when there is none.
QImage decodePicture(const ImageFile& file, double scale);

PictureButton* makeButton(const ControlModel& control, QWidget* parent, double scale);
// The label is empty until its text is shown, which needs its place for the fitting.
PanelLabel* makeLabel(const ControlModel& control, QWidget* parent);
ResultBox* makeTextBox(const ControlModel& control, QWidget* parent);

} // namespace zanthera::qt
