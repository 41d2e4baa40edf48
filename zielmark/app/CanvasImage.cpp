#include "CanvasImage.h"

#include <QPainter>

TCanvasImage::TCanvasImage(QWidget* parent, int left, int top, int width, int height)
    : QWidget(parent), Image(width, height, QImage::Format_RGB32) {
    setGeometry(left, top, width, height);
    Image.fill(palette().color(QPalette::Window));
}

void TCanvasImage::Fill(const QColor& colour) {
    Image.fill(colour);
    update();
}

void TCanvasImage::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, Image);
}
