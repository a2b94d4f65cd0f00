// The yardstick for start-up and for a click: the plainest Qt window of the program's size,
// filled with one colour so the benchmark can tell when it has painted. Given a program, a
// click anywhere starts it the ordinary Qt way, with QProcess::startDetached. Given --text, it
// also writes one line of Arabic in the program's own font: what any window with Arabic text
// pays for fonts, which the plain window never loads. Given --clock, it shows a label in that
// font whose time of day changes every second: what any Qt window with a ticking clock costs
// while it sits idle.
#include <QApplication>
#include <QFontDatabase>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QProcess>
#include <QTime>
#include <QTimer>
#include <QWidget>

namespace {

class Plain : public QWidget {
  public:
    Plain(QString program, bool text) : program_(std::move(program)), text_(text) {}

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(0, 0x7A, 0xFF));
        if (text_)
            painter.drawText(rect(), Qt::AlignCenter, QStringLiteral("الاثنين ٧ ديسمبر ٢٠٢٦"));
    }
    void mouseReleaseEvent(QMouseEvent*) override {
        if (!program_.isEmpty())
            QProcess::startDetached(program_, {QStringLiteral("sound")});
    }

  private:
    QString program_;
    bool text_;
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QString option = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    const bool text = option == QStringLiteral("--text");
    const bool clock = option == QStringLiteral("--clock");
    if (text || clock) {
        const int id = QFontDatabase::addApplicationFont(QStringLiteral(ZANTHERA_PROGRAM_FONT));
        QFont font = QApplication::font();
        font.setFamilies(QFontDatabase::applicationFontFamilies(id));
        QApplication::setFont(font);
    }
    Plain window(option.startsWith(QStringLiteral("--")) ? QString() : option, text);
    if (clock) {
        auto* label = new QLabel(&window);
        label->setGeometry(150, 200, 125, 25);
        label->setAutoFillBackground(true);
        auto* timer = new QTimer(&window);
        QObject::connect(timer, &QTimer::timeout, label, [label] {
            label->setText(QLocale().toString(QTime::currentTime(), QLocale::LongFormat));
        });
        timer->start(1000);
    }
    window.setWindowTitle(QStringLiteral("Bare window"));
    window.setFixedSize(425, 508);
    window.show();
    return QApplication::exec();
}
