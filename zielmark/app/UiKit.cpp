#include "UiKit.h"

#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPushButton>

QFrame* MakePanel(QWidget* parent, int left, int top, int width, int height, TFrameLook look) {
    auto* frame = new QFrame(parent);
    frame->setFrameStyle(QFrame::Panel | (look == TFrameLook::Raised ? QFrame::Raised : QFrame::Sunken));
    frame->setLineWidth(1);
    frame->setGeometry(left, top, width, height);
    return frame;
}

QLabel* MakeLabel(QWidget* parent, const QString& text, int left, int top) {
    auto* label = new QLabel(text, parent);
    label->move(left, top);
    label->adjustSize();
    return label;
}

QLabel* MakeBoldLabel(QWidget* parent, const QString& text, int left, int top, int pixelSize) {
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    if (pixelSize > 0) font.setPixelSize(pixelSize);
    label->setFont(font);
    label->move(left, top);
    label->adjustSize();
    return label;
}

QLabel* MakeStaticText(QWidget* parent, int left, int top, int width, int height) {
    auto* text = new QLabel(parent);
    text->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    text->setWordWrap(true);
    text->setTextFormat(Qt::PlainText);
    text->setGeometry(left, top, width, height);
    return text;
}

QPushButton* MakeButton(QWidget* parent, const QString& caption, int left, int top, int width, int height) {
    auto* button = new QPushButton(caption, parent);
    button->setGeometry(left, top, width, height);
    return button;
}

namespace {

QPixmap DrawIcon(TIcon icon) {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    switch (icon) {
    case TIcon::GoogleEarth: { // a globe with a land mass
        p.setPen(QPen(QColor(20, 60, 140), 1));
        p.setBrush(QColor(60, 120, 220));
        p.drawEllipse(2, 2, 28, 28);
        QPainterPath land;
        land.moveTo(9, 8);
        land.cubicTo(18, 4, 24, 12, 17, 16);
        land.cubicTo(12, 19, 20, 26, 12, 27);
        land.cubicTo(6, 22, 4, 14, 9, 8);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(70, 160, 70));
        p.drawPath(land);
        break;
    }
    case TIcon::Orbiter: { // a planet with an orbit and a craft on it
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(40, 90, 170));
        p.drawEllipse(9, 9, 14, 14);
        p.setPen(QPen(QColor(200, 200, 200), 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(2, 10, 28, 12);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(230, 60, 30));
        p.drawEllipse(25, 12, 5, 5);
        break;
    }
    case TIcon::FlightResults: { // a target with an impact mark
        p.setBrush(Qt::NoBrush);
        for (int r = 14, i = 0; r > 0; r -= 5, ++i) {
            p.setPen(QPen(i % 2 ? Qt::white : QColor(200, 30, 30), 3));
            p.drawEllipse(QPointF(16, 16), r, r);
        }
        p.setPen(QPen(Qt::black, 2));
        p.drawLine(20, 7, 26, 13);
        p.drawLine(26, 7, 20, 13);
        break;
    }
    }
    return pixmap;
}

} // namespace

QLabel* MakePicture(QWidget* parent, TIcon icon, int left, int top) {
    auto* picture = new QLabel(parent);
    picture->setPixmap(DrawIcon(icon));
    picture->setGeometry(left, top, 32, 32);
    picture->setAttribute(Qt::WA_TranslucentBackground);
    return picture;
}
