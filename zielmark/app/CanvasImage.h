// A fixed-size drawing area that keeps what was drawn on it (the links image and the impact-area diagram).
#pragma once
#include <QImage>
#include <QWidget>

class TCanvasImage : public QWidget {
public:
    TCanvasImage(QWidget* parent, int left, int top, int width, int height);
    QImage& Canvas() { return Image; }
    const QImage& Canvas() const { return Image; }
    void Fill(const QColor& colour);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QImage Image;
};
