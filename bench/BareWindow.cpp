// The yardstick for start-up: the plainest Qt window of the program's size, filled with one
// colour so the benchmark can tell when it has painted.
#include <QApplication>
#include <QPainter>
#include <QWidget>

namespace {

class Plain : public QWidget {
  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(rect(), QColor(0, 0x7A, 0xFF));
    }
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    Plain window;
    window.setWindowTitle(QStringLiteral("Bare window"));
    window.setFixedSize(425, 508);
    window.show();
    return QApplication::exec();
}
