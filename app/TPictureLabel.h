#pragma once

#include <QLabel>

namespace mirel {

// A picture drawn at its top-left corner, not stretched, that reports left clicks. A
// double click is one click: its second press brings none.
class TPictureLabel : public QLabel
{
    Q_OBJECT
public:
    explicit TPictureLabel(QWidget *parent = nullptr);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool m_clickArmed = false; // a left press that a release inside completes
};

} // namespace mirel
