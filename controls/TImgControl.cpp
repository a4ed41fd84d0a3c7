#include "controls/TImgControl.h"

#include "controls/TImgManager.h"

#include <QMouseEvent>
#include <QPainter>

namespace mirel {

TImgControl::TImgControl(QWidget *parent) : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setAutoFillBackground(false);
}

TImgControl::~TImgControl() = default;

void TImgControl::setImgNormal(const QImage &image)
{
    m_normal = image;
    applyAutoSize();
    settleFaces();
    update();
}

void TImgControl::setImgEnter(const QImage &image)
{
    m_enter = image;
    settleFaces();
    update();
}

void TImgControl::setImgDown(const QImage &image)
{
    m_down = image;
    settleFaces();
    update();
}

void TImgControl::setImgDisable(const QImage &image)
{
    m_disable = image;
    settleFaces();
    update();
}

void TImgControl::setImgCheck(const QImage &image)
{
    m_check = image;
    settleFaces();
}

void TImgControl::setImgManager(TImgManager *manager)
{
    disconnect(m_managerChanges);
    m_manager = manager;
    if (manager)
        m_managerChanges =
            connect(manager, &TImgManager::PicturesChanged, this, &TImgControl::settleFaces);
    settleFaces();
    updateFace();
}

void TImgControl::setImgButtonLayout(TImgControlLayout layout)
{
    if (layout == m_layout)
        return;
    m_layout = layout;
    update();
}

void TImgControl::setSpacing(int spacing)
{
    if (spacing == m_spacing)
        return;
    m_spacing = spacing;
    update();
}

void TImgControl::setAutoSize(bool on)
{
    if (on == m_autoSize)
        return;
    m_autoSize = on;
    applyAutoSize();
}

void TImgControl::setCaption(const QString &caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    update();
}

void TImgControl::Click()
{
    emit OnClick();
}

void TImgControl::updateFace()
{
    if (m_autoRepaintParent && parentWidget())
        parentWidget()->update();
    else
        update();
}

void TImgControl::applyAutoSize()
{
    if (m_autoSize && !m_normal.isNull())
        resize(m_normal.size());
}

void TImgControl::settleFaces()
{
    if (m_manager) {
        const auto take = [](QImage &own, const QImage &shared) {
            if (!shared.isNull())
                own = shared;
        };
        take(m_normal, m_manager->ImgNormal());
        take(m_enter, m_manager->ImgEnter());
        take(m_down, m_manager->ImgDown());
        take(m_disable, m_manager->ImgDisable());
        take(m_check, m_manager->ImgCheck());
    }
    for (QImage *face : {&m_enter, &m_down, &m_disable}) {
        if (face->isNull())
            *face = m_normal;
    }
}

const QImage &TImgControl::currentFace() const
{
    if (!isEnabled())
        return m_disable;
    switch (m_face) {
    case ifsEnter:
        return m_enter;
    case ifsDown:
        return m_down;
    case ifsCheck:
        return m_check;
    case ifsNormal:
        break;
    }
    return m_normal;
}

void TImgControl::paintEvent(QPaintEvent *)
{
    ++m_paintCount;
    const QImage &face = currentFace();
    if (face.isNull())
        return;

    const QFontMetrics metrics(font());
    const QSize captionSize = m_caption.isEmpty()
                                  ? QSize(0, 0)
                                  : QSize(metrics.horizontalAdvance(m_caption), metrics.height());
    const ImgPlacement place =
        ImgLayout(size(), face.size(), captionSize, m_layout, m_spacing,
                  isEnabled() ? m_face : ifsNormal, m_enterOffset, m_downOffset);

    QPainter painter(this);
    painter.drawImage(place.picture, face);
    if (!m_caption.isEmpty()) {
        painter.setFont(font());
        painter.setPen(palette().color(QPalette::WindowText));
        painter.setBackgroundMode(Qt::TransparentMode);
        painter.drawText(place.caption + QPoint(0, metrics.ascent()), m_caption);
    }
}

bool TImgControl::isTopmostAt(QPoint pos) const
{
    if (!rect().contains(pos))
        return false;
    const QWidget *parent = parentWidget();
    if (!parent)
        return true;
    const QWidget *top = parent->childAt(mapToParent(pos));
    return top == this || isAncestorOf(top);
}

void TImgControl::mousePressEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    QPointer<TImgControl> self(this);
    emit OnMouseDown(event->button(), pos);
    if (!self || !isEnabled() || event->button() != Qt::LeftButton)
        return;
    m_clickArmed = true;
    if (m_face != ifsCheck) {
        m_face = ifsDown;
        m_pressed = true;
        updateFace();
    }
}

void TImgControl::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    const bool left = event->button() == Qt::LeftButton;
    QPointer<TImgControl> self(this);
    if (left && m_clickArmed) {
        m_clickArmed = false;
        if (rect().contains(pos))
            Click();
        if (!self)
            return;
    }
    emit OnMouseUp(event->button(), pos);
    if (!self || !left)
        return;
    m_clickArmed = false;
    m_pressed = false;
    if (isEnabled() && m_face != ifsCheck) {
        m_face = isTopmostAt(pos) ? ifsEnter : ifsNormal;
        updateFace();
    }
}

void TImgControl::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The second press of a double click shows no pressed face and brings no click.
    QPointer<TImgControl> self(this);
    if (event->button() == Qt::LeftButton)
        emit OnDblClick();
    if (self)
        emit OnMouseDown(event->button(), event->position().toPoint());
}

void TImgControl::enterEvent(QEnterEvent *)
{
    if (isEnabled() && !m_pressed && m_face != ifsCheck) {
        m_face = ifsEnter;
        updateFace();
    }
}

void TImgControl::leaveEvent(QEvent *)
{
    if (isEnabled() && !m_pressed && m_face != ifsCheck) {
        m_face = ifsNormal;
        updateFace();
    }
}

void TImgControl::changeEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::EnabledChange:
        m_face = ifsNormal;
        m_pressed = false;
        m_clickArmed = false;
        updateFace();
        break;
    case QEvent::FontChange:
        update();
        break;
    default:
        break;
    }
    QWidget::changeEvent(event);
}

} // namespace mirel
