// A label that lays its text out once, when the text changes, and paints that layout from then
// on: the clock rewrites a label every second, and QLabel would shape the text again for every
// paint, besides the shaping that tells whether it fits.
#pragma once

#include <QLabel>
#include <QTextLayout>

namespace zanthera::qt {

class PanelLabel : public QLabel {
  public:
    explicit PanelLabel(QWidget* parent);

    // Shows `text`, in a smaller font when it is too wide for the label: the design's labels
    // were sized for a smaller interface font than most Linux desktops use, and some locales'
    // month names and times are long; a cut caption or value reads badly.
    void showText(const QString& text);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    // The text's advance at `font`, its one line laid out and kept for painting.
    qreal layOut(const QFont& font);

    QTextLayout laidOut_;
};

} // namespace zanthera::qt
