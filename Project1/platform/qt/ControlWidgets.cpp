#include "ControlWidgets.h"

#include "Form1/ControlTable.h"
#include "PictureButton.h"

#include <QBuffer>
#include <QIcon>
#include <QImageReader>
#include <QPainter>

namespace zanthera::qt {

namespace {

constexpr std::uint8_t inactiveCaptionIndex = 3;

void fillWith(QWidget* widget, QPalette::ColorRole role, QColor colour) {
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

// Every image of an icon file, so the platform can take the size it needs.
QIcon decodeIcon(const ImageFile& file) {
    QIcon icon;
    QByteArray bytes(reinterpret_cast<const char*>(file.data()), qsizetype(file.size()));
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer, "ICO");
    for (int i = 0; i < reader.imageCount(); ++i) {
        if (!reader.jumpToImage(i))
            break;
        const QImage image = reader.read();
        if (!image.isNull())
            icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

Qt::Alignment alignmentOf(std::uint8_t stored) {
    switch (stored) {
    case 1:
        return Qt::AlignRight | Qt::AlignVCenter;
    case 2:
        return Qt::AlignCenter;
    default:
        return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

} // namespace

QColor colourOf(StoredColour colour) {
    if (!colour.isSystem())
        return QColor(colour.red(), colour.green(), colour.blue());
    // Linux has no colour for an inactive window's title bar; the design names a stand-in.
    if ((colour.value & 0xFF) == inactiveCaptionIndex)
        return colourOf(design::inactiveCaptionFallback);
    return QPalette().color(QPalette::Window);
}

QImage decodePicture(const ImageFile& file) {
    if (file.empty())
        return {};
    return QImage::fromData(file.data(), int(file.size()));
}

FormWidget::FormWidget(const FormModel& form) : background_(decodePicture(form.background)) {
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (form.button26)
        flags |= Qt::WindowMinimizeButtonHint;
    if (form.button27)
        flags |= Qt::WindowMaximizeButtonHint;
    if (form.borderStyle == design::fixedSingleBorder)
        flags |= Qt::MSWindowsFixedSizeDialogHint;
    setWindowFlags(flags);
    setWindowTitle(QString::fromStdString(form.caption));
    setObjectName(QString::fromStdString(form.name));
    if (form.colour)
        fillWith(this, QPalette::Window, colourOf(*form.colour));
    setAutoFillBackground(true);
    if (!form.icon.empty())
        setWindowIcon(decodeIcon(form.icon));
}

void FormWidget::paintEvent(QPaintEvent*) {
    if (background_.isNull())
        return;
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), background_);
}

ResultBox::ResultBox(QWidget* parent) : QTextEdit(parent) {
    setAcceptRichText(false);
    setTabChangesFocus(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QTextEdit::WidgetWidth);
}

void ResultBox::setResult(std::string_view text) {
    const auto end = text.find('\0');
    const std::string_view shown = text.substr(0, end);
    setPlainText(QString::fromUtf8(shown.data(), qsizetype(shown.size())));
}

PictureButton* makeButton(const ControlModel& control, QWidget* parent) {
    const QColor face = control.backColour ? colourOf(*control.backColour)
                                           : parent->palette().color(QPalette::Button);
    auto* button = new PictureButton(decodePicture(control.picture), face, parent);
    if (const auto* row = design::findControl(control.name))
        button->setAccessibleName(
            QString::fromUtf8(row->lettering.data(), qsizetype(row->lettering.size())));
    return button;
}

QLabel* makeLabel(const ControlModel& control, QWidget* parent) {
    auto* label = new QLabel(QString::fromStdString(control.caption), parent);
    label->setAlignment(alignmentOf(control.alignment));
    label->setFocusPolicy(Qt::NoFocus);
    if (control.borderStyle == design::fixedSingleBorder)
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    const bool opaque = control.backStyle != design::transparent;
    label->setAutoFillBackground(opaque);
    if (opaque && control.backColour)
        fillWith(label, QPalette::Window, colourOf(*control.backColour));
    return label;
}

void fitCaption(QLabel* label) {
    constexpr qreal smallestPoint = 6.0;
    const int room = label->contentsRect().width();
    QFont font = label->font();
    while (QFontMetrics(font).horizontalAdvance(label->text()) > room &&
           font.pointSizeF() > smallestPoint)
        font.setPointSizeF(font.pointSizeF() - 0.5);
    label->setFont(font);
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
