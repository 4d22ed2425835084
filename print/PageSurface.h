#pragma once
// The preview's page surface: one page drawn into an image the size of the page at the
// preview's zoom (unlike the editor's PictureBox, whose scale is fixed).

#include <QImage>
#include <QWidget>

class PageSurface : public QWidget {
    Q_OBJECT
public:
    explicit PageSurface(QWidget *parent = nullptr);

    // Resizes the surface and its image (white) to `size` pixels.
    void SetPageSize(const QSize &size);
    // Clears the page to white.
    void Cls();
    // The page image the replay draws into; update() shows it.
    QImage &Image() { return image_; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage image_;
};
