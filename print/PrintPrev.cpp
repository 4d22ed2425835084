#include "print/PrintPrev.h"

#include "engine/ResourceManager.h"
#include "engine/VBConversions.h"
#include "platform/LocaliseForm.h"
#include "platform/ModalWindow.h"
#include "platform/Twips.h"
#include "platform/WindowSettings.h"
#include "print/Logo.h"
#include "print/PageSurface.h"
#include "print/PrintPreview.h"
#include "print/PrintPrint.h"
#include "print/SpoolInterpreter.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

namespace {

// The page in twips: A4 landscape, 29.7 x 21 cm at 567 twips per cm.
constexpr double kPageWidthTwips = 16839.9;
constexpr double kPageHeightTwips = 11907;
constexpr float kDefaultZoom = 0.65f;
// What the scroll bars give beyond the page, in twips.
constexpr double kHScrollMargin = 40;
constexpr double kVScrollMargin = 70;

// The button pictures, drawn: magnifier with + or -, printer, printer with a gear
// tooth, and the arrows of paging.
QIcon ButtonIcon(int index)
{
    QPixmap pm(24, 24);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(30, 30, 30), 2));
    const auto triangle = [&p](double x, bool left) {
        QPainterPath t;
        const double tip = left ? x : x + 8, base = left ? x + 8 : x;
        t.moveTo(tip, 12);
        t.lineTo(base, 5);
        t.lineTo(base, 19);
        t.closeSubpath();
        p.fillPath(t, QColor(30, 30, 30));
    };
    switch (index) {
    case 1:
    case 2:
        p.drawEllipse(QRectF(3, 3, 13, 13));
        p.drawLine(QPointF(14, 14), QPointF(21, 21));
        p.drawLine(QPointF(6, 9.5), QPointF(13, 9.5));
        if (index == 1)
            p.drawLine(QPointF(9.5, 6), QPointF(9.5, 13));
        break;
    case 3:
    case 4:
        p.drawRect(QRectF(3, 9, 18, 9));
        p.drawRect(QRectF(7, 3, 10, 6));
        p.fillRect(QRectF(7, 15, 10, 6), Qt::white);
        p.drawRect(QRectF(7, 15, 10, 6));
        if (index == 4) {
            p.setBrush(QColor(30, 30, 30));
            p.drawEllipse(QPointF(18, 12), 2, 2);
        }
        break;
    case 5: p.drawLine(QPointF(5, 5), QPointF(5, 19)); triangle(7, true); triangle(14, true); break;
    case 6: triangle(8, true); break;
    case 7: triangle(8, false); break;
    case 8: triangle(3, false); triangle(10, false); p.drawLine(QPointF(19, 5), QPointF(19, 19)); break;
    default: break;
    }
    return QIcon(pm);
}

int Pixels(double twips)
{
    return static_cast<int>(std::lround(twips / kTwipsPerPixel));
}

} // namespace

PrintPrev::PrintPrev(QWidget *parent) : QWidget(parent, Qt::Window), Apre(this)
{
    setObjectName(QStringLiteral("PrintPrev"));
    setAttribute(Qt::WA_DeleteOnClose);

    bBar = new QWidget(this);
    bBar->setObjectName(QStringLiteral("bBar"));
    auto *bar = new QHBoxLayout(bBar);
    bar->setContentsMargins(4, 2, 4, 2);
    for (int i : {1, 2, 3, 4, 5, 6, 7, 8, 10}) {
        auto *button = new QToolButton(bBar);
        button->setObjectName(QStringLiteral("Cmd%1").arg(i));
        button->setProperty("ToolTipText", IdText(static_cast<int16_t>(2200 + i)));
        if (i == 10) {
            button->setProperty("Tag", IdText(2210));
            button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        } else {
            button->setIcon(ButtonIcon(i));
            button->setIconSize(QSize(24, 24));
        }
        button->setAutoRaise(true);
        connect(button, &QToolButton::clicked, this, [this, i] { Cmd_Click(i); });
        Cmd[i] = button;
        bar->addWidget(button);
        if (i == 2 || i == 4 || i == 8)
            bar->addSpacing(12);
        if (i == 8) {
            Label2 = new QLabel(bBar);
            Label2->setObjectName(QStringLiteral("Label2"));
            bar->addWidget(Label2);
            bar->addStretch(1);
        }
    }

    Picture1 = new QWidget(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setAutoFillBackground(true);
    QPalette grey = Picture1->palette();
    grey.setColor(QPalette::Window, QColor(128, 128, 128));
    Picture1->setPalette(grey);
    Picture1->installEventFilter(this);
    Prv = new PageSurface(Picture1);
    Prv->setObjectName(QStringLiteral("Prv"));
    HScroll1 = new QScrollBar(Qt::Horizontal, Picture1);
    HScroll1->setObjectName(QStringLiteral("HScroll1"));
    VScroll1 = new QScrollBar(Qt::Vertical, Picture1);
    VScroll1->setObjectName(QStringLiteral("VScroll1"));
    HScroll1->hide();
    VScroll1->hide();
    connect(HScroll1, &QScrollBar::valueChanged, this, &PrintPrev::HScroll1_Change);
    connect(VScroll1, &QScrollBar::valueChanged, this, &PrintPrev::VScroll1_Change);

    Img = new QLabel(this);
    Img->setObjectName(QStringLiteral("Img"));
    Img->setPixmap(QPixmap::fromImage(DolvLogo()));
    Img->hide();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bBar);
    layout->addWidget(Picture1, 1);

    Form_Load();
}

PrintPrev::~PrintPrev() = default;

void PrintPrev::Form_Load()
{
    LocaliseForm(this);

    const QSize screen = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableGeometry().size()
                                                          : QSize(1024, 768);
    QString width = GetSetting(QStringLiteral("Preview"), QStringLiteral("Width"),
                               QString::number((screen.width() * kTwipsPerPixel) - 300));
    QString height = GetSetting(QStringLiteral("Preview"), QStringLiteral("Height"),
                                QString::number((screen.height() * kTwipsPerPixel) - 1500));
    resize(std::max(Pixels(ValDecimal(width)), 200), std::max(Pixels(ValDecimal(height)), 150));

    // A zoom that is no zoom (0, negative, not a number) or beyond 1.5 starts at 0.65.
    QString zoom = GetSetting(QStringLiteral("Preview"), QStringLiteral("ZoomFactor"), QStringLiteral("0.65"));
    zoom_ = ValDecimal(zoom);
    if (!(zoom_ > 0 && zoom_ <= 1.5f))
        zoom_ = kDefaultZoom;

    SetA4Landscape();
    Prv->move(0, 0);
    pageNr_ = 1;
    UpdatePageLabel();
    loaded_ = true;
}

QSize PrintPrev::PageSizePixels() const
{
    return {Pixels(zoom_ * pageWidth_), Pixels(zoom_ * pageHeight_)};
}

void PrintPrev::SetPageTwips(double width, double height)
{
    pageWidth_ = width;
    pageHeight_ = height;
    Prv->SetPageSize(PageSizePixels());
    gPreviewScale = zoom_;
}

void PrintPrev::SetA4()
{
    SetPageTwips(kPageHeightTwips, kPageWidthTwips);
}

void PrintPrev::SetA4Landscape()
{
    SetPageTwips(kPageWidthTwips, kPageHeightTwips);
}

void PrintPrev::SetA5()
{
    SetPageTwips(8505, 11907); // 15 x 21 cm
}

void PrintPrev::SetA3Landscape()
{
    SetPageTwips(23814, kPageWidthTwips); // 42 x 29.7 cm
}

void PrintPrev::SetA4Portrait2()
{
    SetA4();
}

void PrintPrev::Form_Resize()
{
    if (isMinimized())
        return;
    if (zoom_ <= 0)
        zoom_ = kDefaultZoom;
    MostraPagina();
}

void PrintPrev::MostraPagina()
{
    SetA4Landscape();
    const QSize page = Prv->size();
    const QSize view = Picture1->size();
    // A page smaller than the view stands in its middle.
    const int offX = view.width() > page.width() ? (view.width() - page.width()) / 2 : 0;
    const int offY = view.height() > page.height() ? (view.height() - page.height()) / 2 : 0;
    SetHScroll();
    SetVScroll();
    Prv->move(offX, offY);
    ShowPreviewPage(static_cast<float>(-offX), static_cast<float>(-offY));
}

void PrintPrev::SetHScroll()
{
    const QSize page = Prv->size();
    const QSize view = Picture1->size();
    const bool needed = page.width() >= view.width();
    const bool otherNeeded = page.height() >= view.height();
    if (!needed) {
        HScroll1->hide();
        return;
    }
    const int thickness = HScroll1->sizeHint().height();
    const int other = otherNeeded ? VScroll1->sizeHint().width() : 0;
    HScroll1->setGeometry(0, view.height() - thickness, view.width() - other, thickness);
    // The other bar covers a strip of the view: the page can scroll past it too.
    const int range = page.width() - view.width() + other + Pixels(kHScrollMargin);
    const QSignalBlocker quiet(HScroll1);
    HScroll1->setRange(0, std::max(range, 0));
    HScroll1->setSingleStep(std::max(1, static_cast<int>(std::lround(range / 10.0))));
    HScroll1->setPageStep(std::max(1, static_cast<int>(std::lround(range / 3.0))));
    HScroll1->setValue(0);
    HScroll1->show();
    HScroll1->raise();
}

void PrintPrev::SetVScroll()
{
    const QSize page = Prv->size();
    const QSize view = Picture1->size();
    const bool needed = page.height() >= view.height();
    const bool otherNeeded = page.width() >= view.width();
    if (!needed) {
        VScroll1->hide();
        return;
    }
    const int thickness = VScroll1->sizeHint().width();
    const int other = otherNeeded ? HScroll1->sizeHint().height() : 0;
    VScroll1->setGeometry(view.width() - thickness, 0, thickness, view.height() - other);
    const int range = page.height() - view.height() + other + Pixels(kVScrollMargin);
    const QSignalBlocker quiet(VScroll1);
    VScroll1->setRange(0, std::max(range, 0));
    VScroll1->setSingleStep(std::max(1, static_cast<int>(std::lround(range / 10.0))));
    VScroll1->setPageStep(std::max(1, static_cast<int>(std::lround(range / 3.0))));
    VScroll1->setValue(0);
    VScroll1->show();
    VScroll1->raise();
}

void PrintPrev::HScroll1_Change(int value)
{
    Prv->move(-value, Prv->y());
}

void PrintPrev::VScroll1_Change(int value)
{
    Prv->move(Prv->x(), -value);
}

QString PrintPrev::getZoomFactor() const
{
    return QString::fromStdString(JoinStr(zoom_));
}

QString PrintPrev::getPageNr() const
{
    return QString::number(pageNr_);
}

QString PrintPrev::getPageMax() const
{
    return QString::number(pageMax_);
}

void PrintPrev::setPageMax(int16_t n)
{
    pageMax_ = n;
}

void PrintPrev::UpdatePageLabel()
{
    Label2->setText(QString::fromStdString(GetLangString(2211)) + getPageNr() +
                    QString::fromStdString(GetLangString(2212)) + getPageMax());
}

void PrintPrev::DoPrint()
{
    PrintPrint dialog(this);
    ShowModal(&dialog);
}

void PrintPrev::Cmd_Click(int index)
{
    switch (index) {
    case 1:
        if (zoom_ < 1.0f) {
            zoom_ = static_cast<float>(zoom_ / 0.9);
            MostraPagina();
        }
        break;
    case 2:
        if (zoom_ > 0.1f) {
            zoom_ = static_cast<float>(zoom_ * 0.9);
            MostraPagina();
        }
        break;
    case 3: DoPrint(); break;
    case 4:
        Apre.Flags = CommonDialog::cdlPDPrintSetup;
        Apre.ShowPrinter(Printer());
        break;
    case 5: pageNr_ = 1; break;
    case 6:
        if (pageNr_ >= 2)
            --pageNr_;
        break;
    case 7:
        if (pageNr_ < pageMax_)
            ++pageNr_;
        break;
    case 8: pageNr_ = pageMax_; break;
    case 10: close(); return;
    default: return;
    }
    if (index >= 5 && index <= 8) {
        UpdatePageLabel();
        MostraPagina();
    }
}

void PrintPrev::closeEvent(QCloseEvent *event)
{
    SaveSetting(QStringLiteral("Preview"), QStringLiteral("ZoomFactor"), QString::fromStdString(FormatFixed(zoom_, 2)));
    SaveSetting(QStringLiteral("Preview"), QStringLiteral("Width"), QString::number(width() * kTwipsPerPixel));
    SaveSetting(QStringLiteral("Preview"), QStringLiteral("Height"), QString::number(height() * kTwipsPerPixel));
    event->accept();
}

void PrintPrev::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool PrintPrev::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Picture1 && event->type() == QEvent::Resize && loaded_)
        Form_Resize();
    return QWidget::eventFilter(watched, event);
}
