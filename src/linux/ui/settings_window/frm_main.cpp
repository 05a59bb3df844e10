#include "linux/ui/settings_window/frm_main.h"

#include "core/text/texts.h"
#include "core/text/translation.h"
#include "linux/platform/memory.h"
#include "linux/ui/auxiliary/placement.h"
#include "linux/ui/auxiliary/sys_mod.h"
#include "linux/ui/text/translation.h"

#include <QByteArray>
#include <QCloseEvent>
#include <QFile>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

using namespace lumora;

namespace {

QColor qtColour(Colorref c) {
    return QColor(c.red(), c.green(), c.blue());
}

QRect qtRect(const LayoutRect& r) {
    return {r.left, r.top, r.width, r.height};
}

} // namespace

ControlLabel::ControlLabel(QWidget* parent) : QLabel(parent) {
    setMouseTracking(true);
    setAttribute(Qt::WA_TranslucentBackground);
}

void ControlLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        emit clicked();
    }
    event->accept();
}

void ControlLabel::mouseMoveEvent(QMouseEvent* event) {
    emit moved();
    event->accept();
}

FrmMain::FrmMain(QWidget* parent)
    : QWidget(parent), m_captionTimer(new QTimer(this)), m_blinkTimer(new QTimer(this)) {
    // Nothing ticks while the window is hidden: an idle program stays asleep.
    m_captionTimer->setObjectName(QStringLiteral("Timer1"));
    m_captionTimer->setInterval(1000);
    m_blinkTimer->setObjectName(QStringLiteral("Timer2"));
    m_blinkTimer->setInterval(500);
    connect(m_captionTimer, &QTimer::timeout, this, &FrmMain::captionTick);
    connect(m_blinkTimer, &QTimer::timeout, this, &FrmMain::blinkTick);
    setObjectName(QStringLiteral("FrmMain"));
    setWindowTitle(QString::fromUtf8(kProductName));
    setWindowIcon(lumora::programIcon());
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(kClientWidth, kClientHeight);
    setMouseTracking(true);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, qtColour(kSettingsBackground));
    setPalette(pal);
    connect(qGuiApp, &QGuiApplication::focusWindowChanged, this, &FrmMain::onFocusWindowChanged);
    render(buildSettingsView(SettingsWindowModel{}));
}

FrmMain& FrmMain::controls() {
    if (m_built) {
        return *this;
    }
    m_built = true;
    setFont(windowFont());
    // Built from the layout table, in its order: each day's name, thumbnail, letter and mark,
    // then the information column.
    for (const LayoutControl& control : settingsControls()) {
        auto* label = new ControlLabel(this);
        label->setObjectName(QString::fromStdString(controlName(control.array, control.index)));
        label->setGeometry(qtRect(control.rect));
        label->setAlignment(
            (control.align == CaptionAlign::Centre ? Qt::AlignHCenter : Qt::AlignLeft) |
            Qt::AlignTop);
        const int i = control.index;
        const auto slot = static_cast<std::size_t>(i);
        switch (control.array) {
        case ControlArray::Label1:
            m_label1[slot] = label;
            connect(label, &ControlLabel::clicked, this, [this, i] { emit label1Clicked(i); });
            connect(label, &ControlLabel::moved, this, &FrmMain::label1Moved);
            break;
        case ControlArray::Label2:
            m_label2[slot] = label;
            connect(label, &ControlLabel::clicked, this, [this, i] { emit label2Clicked(i); });
            break;
        case ControlArray::Label3:
            m_label3[slot] = label;
            connect(label, &ControlLabel::clicked, this, [this, i] { emit label3Clicked(i); });
            break;
        case ControlArray::Image1:
            m_image1[slot] = label;
            label->setScaledContents(true);
            connect(label, &ControlLabel::clicked, this, [this, i] { emit image1Clicked(i); });
            connect(label, &ControlLabel::moved, this, [this, i] { emit image1Moved(i); });
            break;
        }
    }
    applyView();
    return *this;
}

void FrmMain::setVisible(bool visible) {
    if (visible) {
        controls();
    }
    QWidget::setVisible(visible);
}

void FrmMain::applyLabel(ControlLabel* label, const LabelView& view) {
    const QString caption = shownText(view.caption);
    const QString tip = shownText(view.toolTip);
    if (label->text() != caption) {
        label->setText(caption);
    }
    if (label->toolTip() != tip) {
        label->setToolTip(tip);
    }
    // Screen readers read the caption and the tooltip; a blinking name keeps its name.
    if (!caption.isEmpty()) {
        label->setAccessibleName(caption);
    }
    label->setAccessibleDescription(tip);
    QPalette pal = label->palette();
    if (pal.color(QPalette::WindowText) != qtColour(view.colour)) {
        pal.setColor(QPalette::WindowText, qtColour(view.colour));
        label->setPalette(pal);
    }
    if (label->font().bold() != view.bold) {
        QFont f = label->font();
        f.setBold(view.bold);
        label->setFont(f);
    }
    label->setVisible(view.visible);
}

void FrmMain::render(const SettingsView& view) {
    const QString title = shownText(view.caption);
    if (windowTitle() != title) {
        setWindowTitle(title);
    }
    m_view = view;
    if (m_built) {
        applyView();
    }
}

void FrmMain::applyView() {
    const SettingsView& view = m_view;
    for (std::size_t i = 1; i < m_label1.size(); ++i) {
        applyLabel(m_label1[i], view.label1[i]);
    }
    static const QImage noPicture =
        lumora::builtInImage(QStringLiteral(":/lumora/nopicture.bmp"), "bmp");
    for (std::size_t i = 1; i <= 7; ++i) {
        applyLabel(m_label2[i], view.label2[i]);
        applyLabel(m_label3[i], view.label3[i]);
        ControlLabel* image = m_image1[i];
        const QString tip = shownText(view.image1[i].toolTip);
        image->setToolTip(tip);
        image->setAccessibleDescription(tip);
        switch (view.image1[i].shows) {
        case DayPanelState::Thumbnail::Picture:
            image->setPixmap(QPixmap::fromImage(m_thumbnails[i]));
            break;
        case DayPanelState::Thumbnail::NoPicture:
            image->setPixmap(QPixmap::fromImage(noPicture));
            break;
        case DayPanelState::Thumbnail::Empty:
            image->clear();
            break;
        }
    }
}

void FrmMain::prepareThumbnails(const std::vector<std::pair<int, std::string>>& days) {
    const QSize size(kThumbWidth, kThumbHeight);
    for (const auto& [day, path] : days) {
        auto& pending = m_pending.at(static_cast<std::size_t>(day));
        pending.first = path;
        pending.second = std::async(std::launch::async, [this, day, path, size] {
            return m_cache.load(day, QByteArray::fromStdString(path), size);
        });
    }
}

std::optional<PixelSize> FrmMain::loadThumbnail(int weekdayNumber, const std::string& path) {
    const auto slot = static_cast<std::size_t>(weekdayNumber);
    auto& pending = m_pending.at(slot);
    std::optional<Thumbnail> made;
    if (pending.second.valid() && pending.first == path) {
        made = pending.second.get();
    } else {
        made = m_cache.load(weekdayNumber, QByteArray::fromStdString(path),
                            QSize(kThumbWidth, kThumbHeight));
    }
    if (pending.second.valid()) {
        pending.second.wait();
    }
    pending = {};
    m_thumbnails.at(slot) = made ? made->image : QImage();
    if (!made) {
        return std::nullopt;
    }
    return PixelSize{made->own.width(), made->own.height()};
}

void FrmMain::dropThumbnails() {
    for (QImage& image : m_thumbnails) {
        image = QImage();
    }
    for (std::size_t i = 1; m_built && i <= 7; ++i) {
        m_image1[i]->clear();
    }
    // The decoders' freed buffers go back to the system, so a closed window costs nothing.
    releaseFreedMemory();
}

std::string FrmMain::caption() const {
    return windowTitle().toStdString();
}

bool FrmMain::isShown() const {
    return isVisible();
}

void FrmMain::showWindow() {
    if (!m_destroyed) {
        show();
    }
}

void FrmMain::hideWindow() {
    hide();
}

void FrmMain::setTopMost() {
    SetTopMost(this, kTopMostTrue);
}

void FrmMain::popupMenu() {
    emit menuPopupRequested();
}

void FrmMain::menuChanged() {
    emit menuCheckMarksChanged();
}

void FrmMain::destroyWindow() {
    m_destroyed = true;
    hide();
    emit unloadedForGood();
}

void FrmMain::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    QPainter p(this);
    // The column's backgrounds, then the outline squares behind each style letter and mark.
    for (const LayoutShape& shape : settingsShapes()) {
        const QRect r = qtRect(shape.rect);
        if (shape.filled) {
            p.fillRect(r, qtColour(shape.colour));
        } else {
            p.setPen(qtColour(shape.colour));
            p.setBrush(Qt::NoBrush);
            p.drawRect(r.adjusted(0, 0, -1, -1));
        }
    }
}

void FrmMain::closeEvent(QCloseEvent* event) {
    if (m_destroyed) {
        event->accept();
        return;
    }
    // The close box never ends the program: the window is only hidden.
    event->ignore();
    emit closeRequested();
}

void FrmMain::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        emit helpKeyPressed();
        return;
    }
    QWidget::keyPressEvent(event);
}

void FrmMain::mouseMoveEvent(QMouseEvent* event) {
    // Real movement over the window background; tray events come from the tray host only.
    emit backgroundMoved();
    QWidget::mouseMoveEvent(event);
}

void FrmMain::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) {
        m_captionTimer->start();
        m_blinkTimer->start();
        emit shown();
    }
}

void FrmMain::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (!event->spontaneous()) {
        m_captionTimer->stop();
        m_blinkTimer->stop();
    }
}

void FrmMain::onFocusWindowChanged(QWindow* now) {
    QPointer<QWindow> before = m_lastFocus;
    m_lastFocus = now;
    if (before != nullptr && (before->type() == Qt::Popup || before->type() == Qt::ToolTip)) {
        return; // a menu or a tooltip closing hands the focus back; that is no activation
    }
    // Back from another window of the program; a return from another application (no focus
    // window before) does not count, and a first show is handled by showEvent.
    if (now != nullptr && now == windowHandle() && before != nullptr && before != now &&
        isVisible()) {
        emit activatedFromProgramWindow();
    }
}
