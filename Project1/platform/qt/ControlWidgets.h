// The Qt widgets behind each kind of control, set up from the model's stored settings.
#pragma once

#include "Form1/WindowModel.h"

#include <QColor>
#include <QImage>
#include <QLabel>
#include <QTextEdit>
#include <QWidget>

#include <string_view>

namespace zanthera::qt {

class PictureButton;

// The window itself: its background picture drawn at natural size from the client area's
// top-left corner, over the window's own colour.
class FormWidget : public QWidget {
  public:
    explicit FormWidget(const FormModel& form);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QImage background_;
};

// The result box: several lines, text centred, and its text ending at the first NUL as a
// Windows edit control's does.
class ResultBox : public QTextEdit {
  public:
    explicit ResultBox(QWidget* parent);
    void setResult(std::string_view text);
};

QColor colourOf(StoredColour colour);
QImage decodePicture(const ImageFile& file);

PictureButton* makeButton(const ControlModel& control, QWidget* parent);
QLabel* makeLabel(const ControlModel& control, QWidget* parent);
ResultBox* makeTextBox(const ControlModel& control, QWidget* parent);

// Shrinks a fixed caption's font until the caption fits its label: the design's captions were
// sized for a smaller interface font than most Linux desktops use, and a cut caption reads badly.
void fitCaption(QLabel* label);

} // namespace zanthera::qt
