// The yardstick for start-up and for a click: the plainest Qt window of the program's size,
// filled with one colour so the benchmark can tell when it has painted. Given a program, a
// click anywhere starts it the ordinary Qt way, with QProcess::startDetached.
#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QProcess>
#include <QWidget>

namespace {

class Plain : public QWidget {
  public:
    explicit Plain(QString program) : program_(std::move(program)) {}

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(rect(), QColor(0, 0x7A, 0xFF));
    }
    void mouseReleaseEvent(QMouseEvent*) override {
        if (!program_.isEmpty())
            QProcess::startDetached(program_, {QStringLiteral("sound")});
    }

  private:
    QString program_;
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    Plain window(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString());
    window.setWindowTitle(QStringLiteral("Bare window"));
    window.setFixedSize(425, 508);
    window.show();
    return QApplication::exec();
}
