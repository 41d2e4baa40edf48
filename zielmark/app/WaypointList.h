// The missile and target lists of the planning page: owner-drawn rows of fixed height, never scrolling;
// the missile list is a drag source, the target list a drop target; keys the page handles (the keyboard's
// drop) go to its handler, the others move through the list.
#pragma once
#include <QListWidget>

#include <functional>

class TWaypointList : public QListWidget {
public:
    static constexpr int ItemHeight = 21;
    using TDrawItem = std::function<void(QPainter&, int index, const QRect& rect, bool selected)>;
    using TDragOver = std::function<bool()>;
    // The dragged row of the source list (-1 when the drop carries none) and the drop point.
    using TDragDrop = std::function<void(int draggedRow, int x, int y)>;
    // A key pressed in the list; true when the page took it.
    using TKeyPress = std::function<bool(int key)>;

    TWaypointList(QWidget* parent, int left, int top, int width, int height);

    void SetDrawItem(TDrawItem handler) { DrawItem = std::move(handler); }
    void MakeDragSource();
    void MakeDropTarget(TDragOver over, TDragDrop drop);
    void SetKeyPress(TKeyPress handler) { KeyPress = std::move(handler); }
    // The item at a point of the list's client area, -1 below the last item.
    int ItemAtPoint(int x, int y) const;
    // Paint a row through the owner-draw handler (the delegate calls it).
    void PaintItem(QPainter& painter, int index, const QRect& rect, bool selected) const;

    static const char* MimeType;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    TDrawItem DrawItem;
    TDragOver DragOver;
    TDragDrop DragDrop;
    TKeyPress KeyPress;
    bool IsDragSource = false;
    QPoint PressPos;
    int PressedRow = -1; // the row under the left button's press; -1: none, or the empty part of the list
};
