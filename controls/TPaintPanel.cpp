#include "controls/TPaintPanel.h"

#include <QPainter>
#include <QStyle>

namespace mirel {

TPaintPanel::TPaintPanel(QWidget *parent) : QWidget(parent)
{
    // No background erase of our own: paintEvent covers the panel (picture or Color), and where
    // it does not the parent shows through.
    setAutoFillBackground(false);
}

void TPaintPanel::setPicture(const QImage &picture)
{
    m_picture = picture;
    applyAutoSize();
    update();
}

void TPaintPanel::applyAutoSize()
{
    if (m_picture.isNull())
        return;
    if (m_autoWidth)
        resize(m_picture.width(), height());
    if (m_autoHeight)
        resize(width(), m_picture.height());
}

void TPaintPanel::setPicHorzStretch(THorzStretchType rule)
{
    if (rule == m_horz)
        return;
    m_horz = rule;
    update();
}

void TPaintPanel::setPicVertStretch(TVertStretchType rule)
{
    if (rule == m_vert)
        return;
    m_vert = rule;
    update();
}

void TPaintPanel::setAutoWidth(bool on)
{
    if (m_picture.isNull() || on == m_autoWidth)
        return;
    m_autoWidth = on;
    applyAutoSize();
}

void TPaintPanel::setAutoHeight(bool on)
{
    if (m_picture.isNull() || on == m_autoHeight)
        return;
    m_autoHeight = on;
    applyAutoSize();
}

void TPaintPanel::setBevelStyle(TBorderStyle style)
{
    if (style == m_bevelStyle)
        return;
    m_bevelStyle = style;
    update();
}

void TPaintPanel::setBevelColor(const QColor &color)
{
    if (color == m_bevelColor)
        return;
    m_bevelColor = color;
    update();
}

void TPaintPanel::setBevelWidth(int width)
{
    if (width == m_bevelWidth || width < 1)
        return;
    m_bevelWidth = width;
    update();
}

void TPaintPanel::setCaption(const QString &caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    update();
}

void TPaintPanel::setAlignment(TAlignment alignment)
{
    if (alignment == m_alignment)
        return;
    m_alignment = alignment;
    update();
}

void TPaintPanel::setVerticalAlignment(TVerticalAlignment alignment)
{
    if (alignment == m_verticalAlignment)
        return;
    m_verticalAlignment = alignment;
    update();
}

void TPaintPanel::setColor(const QColor &color)
{
    if (color == m_color)
        return;
    m_color = color;
    update();
}

void TPaintPanel::setParentBackground(bool on)
{
    if (on == m_parentBackground)
        return;
    m_parentBackground = on;
    update();
}

void TPaintPanel::paintEvent(QPaintEvent *)
{
    ++m_paintCount;
    QPainter painter(this);
    QRect client = rect();

    if (!m_picture.isNull())
        DrawStretchPicture(m_picture, painter, client.width(), client.height(), m_horz, m_vert);
    else if (!m_parentBackground)
        painter.fillRect(client, m_color);

    if (!m_caption.isEmpty()) {
        Qt::Alignment flags;
        switch (m_alignment) {
        case taLeftJustify:
            flags |= Qt::AlignLeft;
            break;
        case taRightJustify:
            flags |= Qt::AlignRight;
            break;
        case taCenter:
            flags |= Qt::AlignHCenter;
            break;
        }
        switch (m_verticalAlignment) {
        case taAlignTop:
            flags |= Qt::AlignTop;
            break;
        case taAlignBottom:
            flags |= Qt::AlignBottom;
            break;
        case taVerticalCenter:
            flags |= Qt::AlignVCenter;
            break;
        }
        painter.setBackgroundMode(Qt::TransparentMode);
        painter.setFont(font());
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(client,
                         int(QStyle::visualAlignment(layoutDirection(), flags)) |
                             Qt::TextSingleLine | Qt::TextExpandTabs,
                         m_caption);
    }

    if (m_bevelStyle == bsSingle) {
        if (m_bevelWidth % 2 == 0)
            client.adjust(1, 1, 0, 0);
        drawBevel(painter, client);
    }

    emit OnPaint(this, &painter);
}

// The outline of `client` drawn with a pen BevelWidth pixels wide: on each axis the pen covers
// w / 2 pixels before the outline pixel and (w - 1) / 2 after it. Drawn as four filled bands so
// the result is exact.
void TPaintPanel::drawBevel(QPainter &painter, const QRect &client) const
{
    const int before = m_bevelWidth / 2;
    const int after = (m_bevelWidth - 1) / 2;
    const QRect outer(QPoint(client.left() - before, client.top() - before),
                      QPoint(client.right() + after, client.bottom() + after));
    painter.fillRect(QRect(outer.left(), outer.top(), outer.width(), m_bevelWidth), m_bevelColor);
    painter.fillRect(QRect(outer.left(), client.bottom() - before, outer.width(), m_bevelWidth),
                     m_bevelColor);
    painter.fillRect(QRect(outer.left(), outer.top(), m_bevelWidth, outer.height()), m_bevelColor);
    painter.fillRect(QRect(client.right() - before, outer.top(), m_bevelWidth, outer.height()),
                     m_bevelColor);
}

} // namespace mirel
