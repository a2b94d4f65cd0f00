#include "ControlWidgets.h"

#include "Form1/PictureDecoders.h"
#include "Form1/WindowChoices.h"
#include "PanelLabel.h"
#include "PictureButton.h"

#include <QApplication>
#include <QFontDatabase>
#include <QIcon>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmap>

#include <cmath>

namespace zanthera::qt {

namespace {

void fillWith(QWidget* widget, QPalette::ColorRole role, QColor colour) {
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

// Pixels handed to Qt as they are, without a copy: the buffer lives as long as the image.
QImage adopt(std::vector<std::uint32_t> pixels, int width, int height, QImage::Format format) {
    auto* owned = new std::vector<std::uint32_t>(std::move(pixels));
    return QImage(
        reinterpret_cast<uchar*>(owned->data()), width, height, width * 4, format,
        [](void* buffer) { delete static_cast<std::vector<std::uint32_t>*>(buffer); }, owned);
}

// Every image of an icon file, so the platform can take the size it needs.
QIcon iconOf(const ImageFile& file) {
    QIcon icon;
    Result<std::vector<IconImage>> images = decodeIcon(std::span(file));
    if (!images)
        return icon;
    for (IconImage& image : images.value()) {
        PixelBuffer& p = image.picture;
        for (std::size_t i = 0; i < p.pixels.size(); ++i)
            p.pixels[i] |= image.transparent[i] ? 0u : 0xFF000000u;
        icon.addPixmap(QPixmap::fromImage(
            adopt(std::move(p.pixels), p.width, p.height, QImage::Format_ARGB32)));
    }
    return icon;
}

Qt::Alignment alignmentOf(Alignment alignment) {
    return byAlignment<Qt::Alignment>(alignment, Qt::AlignLeft | Qt::AlignVCenter, Qt::AlignCenter,
                                      Qt::AlignRight | Qt::AlignVCenter);
}

} // namespace

QString useArabicFont() {
    // Compiled into the program, so the captions show on a system without any Arabic font, and
    // named outright, so no search through the system's fonts runs for the Arabic letters.
    const int id = QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/ZantheraArabic.ttf"));
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    if (families.isEmpty())
        return {};
    QFont font = QApplication::font();
    font.setFamilies({families.front()});
    QApplication::setFont(font);
    return families.front();
}

QColor colourOf(StoredColour colour) {
    if (!colour.isSystem())
        return QColor(colour.red(), colour.green(), colour.blue());
    // Linux has no colour for an inactive window's title bar.
    if (colour.is(SystemColour::InactiveCaption))
        return colourOf(inactiveCaptionStandIn);
    return QPalette().color(QPalette::Window);
}

QImage decodePicture(const ImageFile& file, double scale) {
    if (file.empty())
        return {};
    // Our own bitmaps go straight into the pixels the screen takes, with no image plugin and no
    // second copy; a bitmap of any other layout is left to Qt.
    Result<DecodedBitmap> bitmap = decodeBitmap(file);
    QImage image;
    if (bitmap) {
        PixelBuffer& p = bitmap.value().picture;
        for (std::uint32_t& pixel : p.pixels)
            pixel |= 0xFF000000u;
        image = adopt(std::move(p.pixels), p.width, p.height, QImage::Format_RGB32);
    } else {
        image = QImage::fromData(file.data(), int(file.size()));
    }
    if (image.isNull() || scale == 1.0)
        return image;
    // Scaled once, here, to the size the screen shows, so that no paint scales it again.
    const QSize shown(int(std::lround(image.width() * scale)),
                      int(std::lround(image.height() * scale)));
    return image.scaled(shown, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// The window's largest picture, a 24-bit bitmap whose bytes last as long as the program, is shown
// from where it lies rather than decoded into a copy a third larger: at start-up every page of
// new memory costs time. Anything else is decoded as usual.
FormWidget::FormWidget(const FormModel& form, double scale) {
    const Result<BitmapLayout> stored = readDirectColourBitmap(form.background);
    bottomUp_ = form.background.refersToLastingBytes() && scale == 1.0 && stored &&
                stored->bottomUp && stored->depth == BitmapDepth::Bits24;
    if (bottomUp_)
        background_ = QImage(form.background.data() + stored->pixelOffset, stored->width,
                             stored->height, qsizetype(stored->stride), QImage::Format_BGR888);
    else
        background_ = decodePicture(form.background, scale);
    const WindowFrame frame = frameOf(form);
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (frame.minimizeButton)
        flags |= Qt::WindowMinimizeButtonHint;
    if (frame.maximizeButton)
        flags |= Qt::WindowMaximizeButtonHint;
    if (!frame.resizable)
        flags |= Qt::MSWindowsFixedSizeDialogHint;
    setWindowFlags(flags);
    setWindowTitle(QString::fromStdString(form.caption));
    setObjectName(QString::fromStdString(form.name));
    if (form.colour)
        fillWith(this, QPalette::Window, colourOf(*form.colour));
    setAutoFillBackground(true);
    if (!form.icon.empty())
        setWindowIcon(iconOf(form.icon));
}

void FormWidget::paintEvent(QPaintEvent* event) {
    if (background_.isNull())
        return;
    QPainter painter(this);
    const QRect part = event->rect();
    if (!bottomUp_) {
        painter.drawImage(part.topLeft(), background_, part);
        return;
    }
    // Stored row h - 1 - y is window row y: the painter mirrors the rows into place.
    const int h = background_.height();
    painter.setTransform(QTransform(1, 0, 0, -1, 0, h));
    const QRect stored(part.left(), h - 1 - part.bottom(), part.width(), part.height());
    painter.drawImage(stored, background_, stored);
}

ResultBox::ResultBox(QWidget* parent) : QTextEdit(parent) {
    setAcceptRichText(false);
    setTabChangesFocus(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QTextEdit::WidgetWidth);
}

PictureButton* makeButton(const ControlModel& control, QWidget* parent, double scale) {
    const QColor face = control.backColour ? colourOf(*control.backColour)
                                           : parent->palette().color(QPalette::Button);
    return new PictureButton(decodePicture(control.picture, scale), face, parent);
}

PanelLabel* makeLabel(const ControlModel& control, QWidget* parent) {
    auto* label = new PanelLabel(parent);
    label->setAlignment(alignmentOf(control.alignment));
    label->setFocusPolicy(Qt::NoFocus);
    if (control.borderStyle == Border::FixedSingle)
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    const bool opaque = control.backStyle != BackStyle::Transparent;
    label->setAutoFillBackground(opaque);
    if (opaque && control.backColour)
        fillWith(label, QPalette::Window, colourOf(*control.backColour));
    return label;
}

ResultBox* makeTextBox(const ControlModel& control, QWidget* parent) {
    auto* box = new ResultBox(parent);
    QTextOption option = box->document()->defaultTextOption();
    option.setAlignment(alignmentOf(control.alignment) & Qt::AlignHorizontal_Mask);
    box->document()->setDefaultTextOption(option);
    if (control.backColour)
        fillWith(box, QPalette::Base, colourOf(*control.backColour));
    box->setPlainText(QString::fromStdString(control.caption));
    return box;
}

} // namespace zanthera::qt
