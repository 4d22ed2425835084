#pragma once
// A drawing surface in twips, the way the editor's plot and chart are written: a
// back-buffer image that keeps what was drawn (repainted from it), a current drawing
// position, lines, boxes, circles and text in the pen, fill and text colours set on
// the box, copy-pen or exclusive-or drawing, solid or dotted lines. Mouse events report
// the button (1 left, 2 right, 4 middle), the shift keys (1 Shift, 2 Ctrl, 4 Alt) and
// the position in twips.

#include <QColor>
#include <QFont>
#include <QFrame>
#include <QImage>

class PictureBox : public QFrame {
    Q_OBJECT
public:
    enum FillStyles { FillSolid = 0, FillTransparent = 1 };
    enum DrawModes { CopyPen = 13, XorPen = 7 };
    enum DrawStyles { DrawSolid = 0, DrawDot = 2 };

    explicit PictureBox(QWidget *parent = nullptr);

    // Outer position and size in the parent, in twips.
    float Left() const;
    float Top() const;
    float Width() const;
    float Height() const;
    void Move(float left, float top);
    void Move(float left, float top, float width, float height);
    void SetWidth(float width);
    void SetHeight(float height);

    // The drawing area inside the border, in twips.
    float ScaleWidth() const;
    float ScaleHeight() const;

    // 0 none, 1 a thin sunken border.
    void SetBorderStyle(int style);
    void SetBackColor(const QColor &c);
    QColor BackColor() const { return backColor_; }

    QColor ForeColor = QColor(0, 0, 0);
    QColor FillColor = QColor(0, 0, 0);
    int FillStyle = FillTransparent;
    int DrawMode = CopyPen;
    int DrawStyle = DrawSolid;
    int DrawWidth = 1;
    float CurrentX = 0;
    float CurrentY = 0;

    void SetFontBold(bool bold);
    bool FontBold() const { return font().bold(); }

    // Clears to the back colour; the current position goes to the top left.
    void Cls();
    // A line in the given colour; the current position moves to its end.
    void Line(float x1, float y1, float x2, float y2, const QColor &color);
    // The outline, or the filled area, of the box with these corners.
    void Box(float x1, float y1, float x2, float y2, const QColor &color);
    void BoxFilled(float x1, float y1, float x2, float y2, const QColor &color);
    // A circle outlined in `color`, filled with FillColor when FillStyle is solid.
    void Circle(float x, float y, float radius, const QColor &color);
    // Text in ForeColor with its top left at the current position, which then moves to
    // the start of the next line.
    void Print(const QString &text);
    float TextWidth(const QString &text) const;
    float TextHeight(const QString &text) const;

    const QImage &Image() const { return image_; }
    // The colour drawn at a point given in twips (tests look at what was drawn).
    QColor PointColor(float x, float y) const;

signals:
    void MouseDown(int Button, int Shift, float X, float Y);
    void MouseMove(int Button, int Shift, float X, float Y);
    void MouseUp(int Button, int Shift, float X, float Y);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void beginPaint(class QPainter &p, const QColor &penColor) const;
    void fitImage();
    // Where a mouse event happened, in twips of the drawing area.
    QPointF twipsOf(const QMouseEvent *event) const;
    QPointF toPixels(float x, float y) const;

    QImage image_;
    QColor backColor_ = QColor(255, 255, 255);
};
