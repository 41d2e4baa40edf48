#include "WaypointList.h"

#include <QApplication>
#include <QDrag>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

const char* TWaypointList::MimeType = "application/x-zielmark-missile";

namespace {

class TOwnerDrawDelegate : public QStyledItemDelegate {
public:
    explicit TOwnerDrawDelegate(TWaypointList* list) : QStyledItemDelegate(list), List(list) {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        painter->save();
        List->PaintItem(*painter, index.row(), option.rect, option.state & QStyle::State_Selected);
        painter->restore();
        // The keyboard's place in the list, while it has the focus: a dotted frame on the row's edge, which
        // leaves its colour and its text as they are.
        if ((option.state & QStyle::State_HasFocus) && List->hasFocus()) {
            painter->save();
            painter->setPen(QPen(option.palette.color(QPalette::Text), 1, Qt::DotLine));
            painter->setBrush(Qt::NoBrush);
            painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
            painter->restore();
        }
    }
    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
        return {List->viewport()->width(), TWaypointList::ItemHeight};
    }

private:
    TWaypointList* List;
};

} // namespace

TWaypointList::TWaypointList(QWidget* parent, int left, int top, int width, int height)
    : QListWidget(parent) {
    setGeometry(left, top, width, height);
    setItemDelegate(new TOwnerDrawDelegate(this));
    setUniformItemSizes(true);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setFrameStyle(QFrame::NoFrame); // rows line up with the row controls and the links image
    setEditTriggers(QAbstractItemView::NoEditTriggers);
}

void TWaypointList::MakeDragSource() {
    IsDragSource = true;
}

void TWaypointList::MakeDropTarget(TDragOver over, TDragDrop drop) {
    DragOver = std::move(over);
    DragDrop = std::move(drop);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDropIndicatorShown(false);
}

int TWaypointList::ItemAtPoint(int x, int y) const {
    const QModelIndex index = indexAt(QPoint(x, y));
    return index.isValid() ? index.row() : -1;
}

void TWaypointList::PaintItem(QPainter& painter, int index, const QRect& rect, bool selected) const {
    if (DrawItem) DrawItem(painter, index, rect, selected);
}

void TWaypointList::mousePressEvent(QMouseEvent* event) {
    QListWidget::mousePressEvent(event); // the pressed missile becomes the selected one
    PressPos = event->position().toPoint();
    // Only the row under the press is dragged: the current row stays set after a press on the empty part.
    PressedRow = event->button() == Qt::LeftButton ? ItemAtPoint(PressPos.x(), PressPos.y()) : -1;
}

void TWaypointList::mouseMoveEvent(QMouseEvent* event) {
    if (!IsDragSource) {
        QListWidget::mouseMoveEvent(event);
        return;
    }
    if (PressedRow < 0 || !(event->buttons() & Qt::LeftButton)) return;
    if ((event->position().toPoint() - PressPos).manhattanLength() < QApplication::startDragDistance())
        return;
    const int row = PressedRow;
    PressedRow = -1;
    auto* mime = new QMimeData;
    mime->setData(MimeType, QByteArray::number(row));
    auto* drag = new QDrag(this);
    drag->setMimeData(mime);
    QApplication::setOverrideCursor(Qt::PointingHandCursor);
    drag->exec(Qt::LinkAction);
    drag->deleteLater(); // one drag object per drag, whatever the platform did with it
    QApplication::restoreOverrideCursor();
}

void TWaypointList::dragEnterEvent(QDragEnterEvent* event) {
    if (DragOver && DragOver())
        event->acceptProposedAction();
    else
        event->ignore();
}

void TWaypointList::dragMoveEvent(QDragMoveEvent* event) {
    if (DragOver && DragOver())
        event->acceptProposedAction();
    else
        event->ignore();
}

void TWaypointList::keyPressEvent(QKeyEvent* event) {
    if ((event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && KeyPress && KeyPress(event->key())) {
        event->accept();
        return;
    }
    QListWidget::keyPressEvent(event);
}

void TWaypointList::focusInEvent(QFocusEvent* event) {
    QListWidget::focusInEvent(event);
    // The list's current row, which the keyboard's drop takes, is shown as the selected one (bold), also when
    // the focus came in by Tab and only set the current row.
    if (QListWidgetItem* current = currentItem(); current && !current->isSelected())
        current->setSelected(true);
}

void TWaypointList::dropEvent(QDropEvent* event) {
    const QPoint at = event->position().toPoint();
    event->acceptProposedAction();
    bool isRow = false;
    const QMimeData* mime = event->mimeData();
    const int row = mime && mime->hasFormat(MimeType) ? mime->data(MimeType).toInt(&isRow) : -1;
    if (DragDrop) DragDrop(isRow ? row : -1, at.x(), at.y());
}
