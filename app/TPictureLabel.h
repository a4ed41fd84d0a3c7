#pragma once

#include <QLabel>

namespace mirel {

// A picture drawn at its top-left corner, not stretched, that reports left clicks.
class TPictureLabel : public QLabel
{
    Q_OBJECT
public:
    explicit TPictureLabel(QWidget *parent = nullptr);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};

} // namespace mirel
