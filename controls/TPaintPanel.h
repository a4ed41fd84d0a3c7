#pragma once

#include "controls/StretchPicture.h"

#include <QColor>
#include <QImage>
#include <QWidget>

class QPainter;

namespace mirel {

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TVerticalAlignment { taAlignTop, taAlignBottom, taVerticalCenter };
enum TBorderStyle { bsNone, bsSingle };

// A container whose background is a picture fitted to its size by one horizontal and one
// vertical rule (see DrawStretchPicture). The caption is drawn over the picture with a
// transparent background, then the outline, then OnPaint fires; children paint on top.
class TPaintPanel : public QWidget
{
    Q_OBJECT
public:
    explicit TPaintPanel(QWidget *parent = nullptr);

    const QImage &Picture() const { return m_picture; }
    // Copies the picture, applies AutoWidth / AutoHeight and repaints.
    void setPicture(const QImage &picture);

    THorzStretchType PicHorzStretch() const { return m_horz; }
    void setPicHorzStretch(THorzStretchType rule);
    TVertStretchType PicVertStretch() const { return m_vert; }
    void setPicVertStretch(TVertStretchType rule);

    // Taken only while the panel has a picture, and only a change of value acts;
    // switching on sizes the panel to the picture.
    bool AutoWidth() const { return m_autoWidth; }
    void setAutoWidth(bool on);
    bool AutoHeight() const { return m_autoHeight; }
    void setAutoHeight(bool on);

    TBorderStyle BevelStyle() const { return m_bevelStyle; }
    void setBevelStyle(TBorderStyle style);
    QColor BevelColor() const { return m_bevelColor; }
    void setBevelColor(const QColor &color);
    int BevelWidth() const { return m_bevelWidth; }
    void setBevelWidth(int width);

    QString Caption() const { return m_caption; }
    void setCaption(const QString &caption);
    TAlignment Alignment() const { return m_alignment; }
    void setAlignment(TAlignment alignment);
    TVerticalAlignment VerticalAlignment() const { return m_verticalAlignment; }
    void setVerticalAlignment(TVerticalAlignment alignment);

    // Fills the panel where there is no picture, unless ParentBackground is on.
    QColor Color() const { return m_color; }
    void setColor(const QColor &color);
    bool ParentBackground() const { return m_parentBackground; }
    void setParentBackground(bool on);

    int paintCount() const { return m_paintCount; }

signals:
    // Fired at the end of every paint, after picture, caption and outline, with the panel's
    // painter still open so that a handler can draw over them (direct connections only).
    void OnPaint(mirel::TPaintPanel *sender, QPainter *painter);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void applyAutoSize();
    void drawBevel(QPainter &painter, const QRect &client) const;

    QImage m_picture;
    THorzStretchType m_horz = hstNone;
    TVertStretchType m_vert = vstNone;
    bool m_autoWidth = false;
    bool m_autoHeight = false;
    TBorderStyle m_bevelStyle = bsNone;
    QColor m_bevelColor = Qt::black;
    int m_bevelWidth = 1;
    QString m_caption;
    TAlignment m_alignment = taCenter;
    TVerticalAlignment m_verticalAlignment = taVerticalCenter;
    QColor m_color = QColor(0xF0, 0xF0, 0xF0);
    bool m_parentBackground = false;
    int m_paintCount = 0;
};

} // namespace mirel
