#include "app/TPictureLabel.h"

#include <QMouseEvent>

namespace mirel {

TPictureLabel::TPictureLabel(QWidget *parent) : QLabel(parent)
{
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setScaledContents(false);
}

void TPictureLabel::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_clickArmed = true;
    QLabel::mousePressEvent(event);
}

void TPictureLabel::mouseDoubleClickEvent(QMouseEvent *event)
{
    // Not a press: the release that follows it is no click.
    if (event->button() == Qt::LeftButton)
        m_clickArmed = false;
    event->accept();
}

void TPictureLabel::mouseReleaseEvent(QMouseEvent *event)
{
    const bool armed = m_clickArmed && event->button() == Qt::LeftButton;
    if (event->button() == Qt::LeftButton)
        m_clickArmed = false;
    if (armed && rect().contains(event->position().toPoint()))
        emit clicked();
    QLabel::mouseReleaseEvent(event);
}

} // namespace mirel
