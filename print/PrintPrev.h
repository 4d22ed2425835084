#pragma once
// The print preview: one page of the current job at a chosen zoom, paging, zoom in and
// out, scroll bars, the print dialog and the printer set-up. One window at a time,
// loaded hidden by the writers (PrintPrevWindow(), print/PrintPreview.h), shown by the
// job's ShowPrintPreview(caption) and closed when the next job is complete. Its size and zoom
// live in settings.ini, section "Preview" (size in twips, zoom with ".").

#include "platform/CommonDialog.h"

#include <QWidget>

#include <array>
#include <cstdint>

class PageSurface;
class QLabel;
class QScrollBar;
class QToolButton;

class PrintPrev : public QWidget {
    Q_OBJECT
public:
    explicit PrintPrev(QWidget *parent = nullptr);
    ~PrintPrev() override;

    // Page sizes of the surface; the window lays its pages out as A4 landscape.
    void SetA4();
    void SetA4Landscape();
    // Further sizes of the surface: A5 portrait (15 x 21 cm), A3 landscape, A4 portrait.
    void SetA5();
    void SetA3Landscape();
    void SetA4Portrait2();
    // Lays out and draws the current page.
    void MostraPagina();
    QString getZoomFactor() const;
    QString getPageNr() const;
    QString getPageMax() const;
    void setPageMax(int16_t n);
    void SistemaHBAR() {}
    void SistemaVBAR() {}
    // The print dialog, modal.
    void DoPrint();

    float ZoomFactor() const { return zoom_; }

    QWidget *bBar;
    std::array<QToolButton *, 11> Cmd{}; // buttons 1 to 8 and 10
    QLabel *Label2;
    QWidget *Picture1;
    PageSurface *Prv;
    QScrollBar *HScroll1;
    QScrollBar *VScroll1;
    QLabel *Img; // hidden: DOLV's logo for the table pages
    CommonDialog Apre;

    void Cmd_Click(int index);

protected:
    void closeEvent(QCloseEvent *event) override;
    // Esc closes the window.
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Form_Load();
    void Form_Resize();
    void SetHScroll();
    void SetVScroll();
    void HScroll1_Change(int value);
    void VScroll1_Change(int value);
    void UpdatePageLabel();
    QSize PageSizePixels() const;
    void SetPageTwips(double width, double height);

    float zoom_ = 0.65f;
    int16_t pageNr_ = 1;
    int16_t pageMax_ = 0;
    double pageWidth_ = 16839.9; // the surface's page in twips
    double pageHeight_ = 11907;
    bool loaded_ = false;
};
