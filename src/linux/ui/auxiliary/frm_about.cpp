#include "ui/auxiliary/frm_about.h"

#include "core/text/texts.h"
#include "core/text/translation.h"
#include "core/text/window_texts.h"
#include "ui/auxiliary/placement.h"
#include "ui/auxiliary/sys_mod.h"
#include "ui/text/translation.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QTimer>

#include <utility>

namespace {

constexpr QColor kTextColour(64, 64, 64);
constexpr QColor kBorderColour(64, 64, 64);

QLabel* makeLabel(QWidget* parent, const char* name, const QRect& where, Qt::Alignment align) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(where);
    label->setAlignment(align);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, kTextColour);
    label->setPalette(palette);
    return label;
}

} // namespace

FrmAbout::FrmAbout(const lumora::Clock& clock, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_clock(clock) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QString::fromUtf8(lumora::kProductName));
    setFont(lumora::windowFont());
    setFixedSize(kClientWidth + 2 * kBorder, kClientHeight + 2 * kBorder);

    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("clientArea"));
    m_client->setGeometry(kBorder, kBorder, kClientWidth, kClientHeight);

    m_image1 = new QLabel(m_client);
    m_image1->setObjectName(QStringLiteral("Image1"));
    m_image1->setGeometry(0, 0, kClientWidth, kClientHeight);
    m_image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPixmap logo =
        QPixmap::fromImage(lumora::builtInImage(QStringLiteral(":/lumora/logo.bmp"), "bmp"));
    if (logo.isNull()) {
        logo = QPixmap(kClientWidth, kClientHeight);
        logo.fill(Qt::white);
    }
    m_image1->setPixmap(logo);

    m_label1 =
        makeLabel(m_client, "Label1", QRect(87, 292, 316, 13), Qt::AlignRight | Qt::AlignVCenter);
    m_label2 =
        makeLabel(m_client, "Label2", QRect(14, 292, 50, 13), Qt::AlignLeft | Qt::AlignVCenter);
    m_label3 = makeLabel(m_client, "Label3", QRect(38, 264, 103, 21), Qt::AlignLeft);
    m_label3->setToolTip(QString::fromStdString(lumora::aboutContactTip()));

    m_timer1 = new QTimer(this);
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setInterval(kClockInterval);
    connect(m_timer1, &QTimer::timeout, this, &FrmAbout::Timer1_Timer);

    m_timer2 = new QTimer(this);
    m_timer2->setObjectName(QStringLiteral("Timer2"));
    m_timer2->setInterval(kAutoCloseInterval);
    m_timer2->setSingleShot(true);
    connect(m_timer2, &QTimer::timeout, this, &FrmAbout::Timer2_Timer);
}

void FrmAbout::StrtPrg(std::int16_t timShw, bool oldStatus) {
    m_timShw = timShw;
    // Enabling the clock is the first use of the window: it loads it, with TimShw already stored.
    if (!m_loaded) {
        Form_Load();
    }
    if (!m_timer1->isActive()) {
        m_timer1->start();
    }
    m_oldStatus = oldStatus;
    if (timShw == 0) {
        m_timer2->stop();
        show();
    } else {
        show();
        if (!m_timer2->isActive()) {
            m_timer2->start();
        }
    }
    lumora::SetTopMost(this, lumora::kTopMostTrue);
}

void FrmAbout::Form_Load() {
    m_loaded = true;
    showLabel1();
    m_label2->setText(QString::fromStdString(lumora::aboutVersionText()));
    lumora::centreOnScreen(this);
}

void FrmAbout::showLabel1() {
    m_label1->setText(
        QString::fromStdString(lumora::aboutClockText(m_timShw, m_clock.now(), m_clock)));
}

void FrmAbout::Timer1_Timer() {
    if (m_loaded) {
        showLabel1();
    }
}

void FrmAbout::Timer2_Timer() {
    unload();
}

void FrmAbout::unload() {
    if (!m_loaded) {
        return;
    }
    close(); // closeEvent runs Form_Unload
    if (m_loaded) {
        // close() refused (a close already in progress): unload all the same.
        Form_Unload();
        hide();
    }
}

void FrmAbout::Form_Unload() {
    const bool bringBackSettings = m_oldStatus;
    m_timer1->stop();
    m_timer2->stop();
    m_loaded = false;
    m_pressed = false;
    m_timShw = 0;
    m_oldStatus = false;
    m_label1->clear();
    if (bringBackSettings) {
        emit settingsWindowWanted();
    }
    emit unloaded();
}

void FrmAbout::closeEvent(QCloseEvent* event) {
    event->accept();
    if (m_loaded) {
        Form_Unload();
    }
}

void FrmAbout::mousePressEvent(QMouseEvent* event) {
    // A click on the window, the picture or any label: presses on the labels come here too.
    m_pressed = event->button() == Qt::LeftButton || event->button() == Qt::RightButton ||
                event->button() == Qt::MiddleButton;
    event->accept();
}

void FrmAbout::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    const bool click = m_pressed && rect().contains(event->position().toPoint());
    m_pressed = false;
    if (click) {
        unload();
    }
}

void FrmAbout::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setPen(kBorderColour);
    painter.drawRect(0, 0, width() - 1, height() - 1);
}
