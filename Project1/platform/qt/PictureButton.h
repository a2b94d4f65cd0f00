// A graphical push button: the face colour, the button's picture centred both ways and clipped to
// the button, framed by a raised border that turns sunken while the button is down.
#pragma once

#include <QImage>
#include <QPushButton>

namespace zanthera::qt {

class PictureButton : public QPushButton {
  public:
    PictureButton(QImage picture, QColor face, QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QImage picture_;
    QColor face_;
};

} // namespace zanthera::qt
