#pragma once

#include "controls/ImgLayout.h"
#include "controls/TImgManager.h"

#include <QImage>
#include <QPointer>
#include <QWidget>

namespace mirel {

// A button drawn entirely from pictures, one per face, with an optional caption beside, above,
// below or over the picture. It takes no keyboard focus and paints over its parent: where the
// face picture is empty nothing is drawn and the parent shows through.
//
// Mouse handling: OnMouseDown / OnMouseUp fire before the control's own handling of a press or a
// release, and OnClick (left button pressed on the control and released inside it) fires before
// the release handling. While the left button is held the control keeps the mouse.
class TImgControl : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(int Tag READ Tag WRITE setTag)

public:
    explicit TImgControl(QWidget *parent = nullptr);
    ~TImgControl() override;

    const QImage &ImgNormal() const { return m_normal; }
    const QImage &ImgEnter() const { return m_enter; }
    const QImage &ImgDown() const { return m_down; }
    const QImage &ImgDisable() const { return m_disable; }
    const QImage &ImgCheck() const { return m_check; }
    // Copies the picture, sizes the control to it when AutoSize is on, repaints. The manager's
    // pictures still override the control's own, and the enter, down and disable faces left
    // empty take a lasting copy of the normal one.
    void setImgNormal(const QImage &image);
    void setImgEnter(const QImage &image);
    void setImgDown(const QImage &image);
    void setImgDisable(const QImage &image);
    // Copies the picture only: the new face shows at the next repaint.
    void setImgCheck(const QImage &image);

    // Shared pictures copied over the control's own when it is set and whenever one of them
    // changes (shown from the next repaint on). Not owned; a manager that is destroyed is simply
    // no longer used.
    TImgManager *ImgManager() const { return m_manager; }
    void setImgManager(TImgManager *manager);

    TImgControlLayout ImgButtonLayout() const { return m_layout; }
    void setImgButtonLayout(TImgControlLayout layout);
    int Spacing() const { return m_spacing; }
    void setSpacing(int spacing);
    // Both offsets are used from the next repaint on.
    int OnEnterOffset() const { return m_enterOffset; }
    void setOnEnterOffset(int offset) { m_enterOffset = offset; }
    int OnDownOffset() const { return m_downOffset; }
    void setOnDownOffset(int offset) { m_downOffset = offset; }

    bool AutoRepaintParent() const { return m_autoRepaintParent; }
    void setAutoRepaintParent(bool on) { m_autoRepaintParent = on; }
    bool AutoSize() const { return m_autoSize; }
    // Only a change of value acts; switching on sizes the control to ImgNormal.
    void setAutoSize(bool on);

    QString Caption() const { return m_caption; }
    void setCaption(const QString &caption);
    int Tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }

    TImgFaceState FaceState() const { return m_face; }
    bool Pressed() const { return m_pressed; }
    // How many times the control has painted itself (grabs included).
    int paintCount() const { return m_paintCount; }

signals:
    void OnClick();
    void OnDblClick();
    void OnMouseDown(Qt::MouseButton button, QPoint pos);
    void OnMouseUp(Qt::MouseButton button, QPoint pos);

protected:
    // Fires OnClick; the check button adds checking itself.
    virtual void Click();

    void setFaceState(TImgFaceState face) { m_face = face; }
    void setPressed(bool pressed) { m_pressed = pressed; }
    // Asks for a repaint: of the parent as a whole when AutoRepaintParent is on, else of the
    // control.
    void updateFace();

    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    // Copies the manager's pictures that are not empty over the control's own, then fills the
    // empty enter, down and disable faces from the normal one.
    void settleFaces();
    void applyAutoSize();
    const QImage &currentFace() const;
    bool isTopmostAt(QPoint pos) const;

    QImage m_normal;
    QImage m_enter;
    QImage m_down;
    QImage m_disable;
    QImage m_check;
    QPointer<TImgManager> m_manager;
    QMetaObject::Connection m_managerChanges;
    TImgControlLayout m_layout = iclImgTop;
    int m_spacing = 2;
    int m_enterOffset = 1;
    int m_downOffset = 1;
    bool m_autoRepaintParent = false;
    bool m_autoSize = false;
    QString m_caption;
    int m_tag = 0;
    TImgFaceState m_face = ifsNormal;
    bool m_pressed = false;
    bool m_clickArmed = false;
    int m_paintCount = 0;
};

} // namespace mirel
