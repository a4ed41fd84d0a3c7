#pragma once

#include <QImage>
#include <QObject>

namespace mirel {

// One set of face pictures shared by many image controls. The controls take over each picture
// set here that is not empty; they show it at their next repaint, without being repainted.
class TImgManager : public QObject
{
    Q_OBJECT
public:
    explicit TImgManager(QObject *parent = nullptr);

    const QImage &ImgNormal() const { return m_normal; }
    const QImage &ImgEnter() const { return m_enter; }
    const QImage &ImgDown() const { return m_down; }
    const QImage &ImgDisable() const { return m_disable; }
    const QImage &ImgCheck() const { return m_check; }

    void setImgNormal(const QImage &image) { set(m_normal, image); }
    void setImgEnter(const QImage &image) { set(m_enter, image); }
    void setImgDown(const QImage &image) { set(m_down, image); }
    void setImgDisable(const QImage &image) { set(m_disable, image); }
    void setImgCheck(const QImage &image) { set(m_check, image); }

signals:
    void PicturesChanged();

private:
    void set(QImage &picture, const QImage &image)
    {
        picture = image;
        emit PicturesChanged();
    }

    QImage m_normal;
    QImage m_enter;
    QImage m_down;
    QImage m_disable;
    QImage m_check;
};

} // namespace mirel
