#include "linux/ui/preview/frm_prev.h"

#include "core/text/texts.h"
#include "core/text/translation.h"
#include "core/viewer/load_errors.h"
#include "core/viewer/preview_caption.h"
#include "linux/platform/picture_file.h"
#include "linux/ui/auxiliary/placement.h"
#include "linux/ui/auxiliary/sys_mod.h"
#include "linux/ui/settings_window/qt_dialogs.h"
#include "linux/ui/text/translation.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QImageReader>
#include <QLocale>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>

#include <cerrno>
#include <cmath>
#include <sys/stat.h>

using lumora::viewer::RectF;
using lumora::viewer::SizeF;

namespace {

using lumora::viewer::LoadError;
using lumora::viewer::loadFailure;
using lumora::viewer::LoadFailure;

LoadFailure statFailure(int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return loadFailure(LoadError::FileNotFound);
    case EACCES:
        return loadFailure(LoadError::PermissionDenied);
    default:
        return loadFailure(LoadError::AccessError);
    }
}

// Reads a picture at its own size. Only regular files are opened, so a pipe or a device named
// as a day's picture never blocks the window.
QImage loadPicture(const std::string& file, LoadFailure& failure) {
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0) {
        failure = statFailure(errno);
        return {};
    }
    if (!S_ISREG(st.st_mode)) {
        failure = loadFailure(LoadError::AccessError);
        return {};
    }
    lumora::PictureReader picture(file);
    if (!picture.isOpen()) {
        failure = loadFailure(
            LoadError::AccessError); // replaced by a pipe or device since the look above
        return {};
    }
    QImageReader& reader = picture.reader();
    const QSize size = picture.size();
    const qint64 limit = qint64{QImageReader::allocationLimit()} << 20;
    if (size.isValid() && ((limit > 0 && qint64{size.width()} * size.height() * 4 > limit) ||
                           !lumora::PictureReader::withinLimit(size))) {
        failure = loadFailure(LoadError::OutOfMemory);
        return {};
    }
    QImage image = reader.read();
    if (image.isNull()) {
        switch (reader.error()) {
        case QImageReader::FileNotFoundError:
            failure = loadFailure(LoadError::FileNotFound);
            break;
        case QImageReader::DeviceError:
            failure = loadFailure(LoadError::DeviceError);
            break;
        default:
            failure = loadFailure(LoadError::InvalidPicture);
        }
        return {};
    }
    // The formats the raster engine scales without converting the whole picture at every paint.
    image.convertTo(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                            : QImage::Format_RGB32);
    return image;
}

// Pixels are whole only on the screen: halves to even, as the scroll values are.
int pixel(float value) {
    return static_cast<int>(std::lrint(value));
}

QRect pixelRect(const RectF& r) {
    return {pixel(r.left), pixel(r.top), pixel(r.width), pixel(r.height)};
}

QPushButton* makeButton(QWidget* parent, const char* name, const char* text, const char* tip,
                        QRect geometry) {
    auto* button = new QPushButton(lumora::shownText(text), parent);
    button->setObjectName(QString::fromUtf8(name));
    button->setToolTip(lumora::shownText(tip));
    button->setAccessibleName(lumora::shownText(text));
    button->setGeometry(geometry);
    return button;
}

QScrollBar* makeBar(QWidget* parent, const char* name, Qt::Orientation orientation) {
    auto* bar = new QScrollBar(orientation, parent);
    bar->setObjectName(QString::fromUtf8(name));
    bar->setRange(0, 0);
    bar->setSingleStep(lumora::viewer::kArrowStep);
    bar->setPageStep(lumora::viewer::kPageStep);
    bar->hide();
    return bar;
}

} // namespace

PicCont::PicCont(FrmPrev& owner, QWidget* parent) : QFrame(parent), m_owner(owner) {
    setObjectName(QStringLiteral("picCont"));
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(static_cast<int>(lumora::viewer::kBorder));
}

void PicCont::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    if (!m_owner.m_canvasShown || !m_owner.m_canvasDrawn || m_owner.m_source.isNull()) {
        return;
    }
    const QRect inner = contentsRect();
    const QRect target = pixelRect(m_owner.m_layout.canvas).translated(inner.topLeft());
    if (target.isEmpty()) {
        return; // shrunk below a pixel
    }
    // Only the visible part is drawn, whatever the canvas's size; no smoothing.
    QPainter painter(this);
    painter.setClipRect(inner & event->rect());
    painter.drawImage(target, m_owner.m_source);
}

FrmPrev::FrmPrev(lumora::Dialogs* dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), m_dialogs(dialogs) {
    if (m_dialogs == nullptr) {
        m_ownDialogs = std::make_unique<QtDialogs>(this);
        m_dialogs = m_ownDialogs.get();
    }
    setObjectName(QStringLiteral("frmPrev"));
    setWindowTitle(QString::fromUtf8(lumora::kProductName));
    setWindowIcon(lumora::programIcon());
    setFont(lumora::windowFont());

    m_hScroll1 = makeBar(this, "HScroll1", Qt::Horizontal);
    m_vScroll1 = makeBar(this, "VScroll1", Qt::Vertical);
    connect(m_hScroll1, &QScrollBar::valueChanged, this,
            [this] { moveCanvas(true, static_cast<float>(canvasValue(m_hScroll1))); });
    connect(m_vScroll1, &QScrollBar::valueChanged, this,
            [this] { moveCanvas(false, static_cast<float>(canvasValue(m_vScroll1))); });

    m_picture1 = new QWidget(this);
    m_picture1->setObjectName(QStringLiteral("Picture1"));
    m_chkExact = new QCheckBox(m_picture1);
    m_chkExact->setObjectName(QStringLiteral("chkExact"));
    const QString exactTip =
        lumora::shownText(LUMORA_TR("Lumora", "Always display picture at its original size"));
    m_chkExact->setToolTip(exactTip);
    m_chkExact->setAccessibleName(exactTip);
    m_chkExact->setGeometry(232, 10, 13, 13);
    m_chkExact->hide();
    m_cExact = makeButton(m_picture1, "cExact", LUMORA_TR("Lumora", "Original Size"),
                          LUMORA_TR("Lumora", "Original Size"), {229, 1, 123, 33});
    QFont bold = m_cExact->font();
    bold.setBold(true);
    m_cExact->setFont(bold);
    m_cMinus = makeButton(m_picture1, "cMinus", LUMORA_TR("Lumora", "Zoom Out"),
                          LUMORA_TR("Lumora", "Zoom Out"), {153, 1, 75, 33});
    m_cEqual = makeButton(m_picture1, "cEqual", LUMORA_TR("Lumora", "Fit Screen"),
                          LUMORA_TR("Lumora", "Fit"), {77, 1, 75, 33});
    m_cPlus = makeButton(m_picture1, "cPlus", LUMORA_TR("Lumora", "Zoom In"),
                         LUMORA_TR("Lumora", "Zoom In"), {1, 1, 75, 33});
    connect(m_cExact, &QPushButton::clicked, this, &FrmPrev::cExact_Click);
    connect(m_cMinus, &QPushButton::clicked, this, &FrmPrev::cMinus_Click);
    connect(m_cEqual, &QPushButton::clicked, this, &FrmPrev::cEqual_Click);
    connect(m_cPlus, &QPushButton::clicked, this, &FrmPrev::cPlus_Click);

    m_picCont = new PicCont(*this, this);
    m_picture1->resize(pixel(m_layout.panel.width), pixel(m_layout.panel.height));
    applyLayout();
    resize(kClientWidth, kClientHeight); // laid out when first shown
}

FrmPrev::~FrmPrev() = default;

SizeF FrmPrev::viewportInner() const {
    return lumora::viewer::innerSize(m_layout.viewport);
}

int FrmPrev::canvasValue(const QScrollBar* bar) {
    // The bar runs from 0 at its left (top) end to the range's size at the other end; the canvas
    // moves the other way.
    return -bar->value();
}

void FrmPrev::StartProj(const std::string& path) {
    m_currentFile = path;
    const QPointer<FrmPrev> self(this);
    File1_Click();
    if (self.isNull()) {
        return;
    }
    if (!isVisible() && !testAttribute(Qt::WA_Moved)) {
        lumora::centreOnScreen(this);
    }
    show();
    lumora::SetTopMost(this, lumora::kTopMostTrue);
}

void FrmPrev::File1_Click() {
    LoadFailure failure;
    QImage picture = loadPicture(GetFile(), failure); // the name's own bytes, never a QString
    if (picture.isNull()) {
        showError(failure.number, QString::fromUtf8(failure.description));
        setCanvasVisible(true);
        return;
    }
    m_source = std::move(picture);
    setCanvasVisible(false);
    const QPointer<FrmPrev> self(this);
    if (m_chkExact->isChecked()) {
        cExact_Click();
    } else {
        ResizeViewPort();
        RenderPicture();
    }
    if (self.isNull()) {
        return;
    }
    UpdateScrollBars();
    setCanvasVisible(true);

    struct stat st {};
    if (::stat(GetFile().c_str(), &st) != 0) {
        const LoadFailure gone = statFailure(errno);
        showError(gone.number, QString::fromUtf8(gone.description));
        return;
    }
    const std::string separator = QLocale().groupSeparator().toStdString();
    setWindowTitle(QString::fromStdString(
        lumora::viewer::previewCaption(GetFile(), m_source.width(), m_source.height(),
                                       static_cast<std::uintmax_t>(st.st_size), separator)));
}

void FrmPrev::ResizeViewPort() {
    if (m_source.isNull()) {
        return;
    }
    m_picCont->update();
    const SizeF picture{static_cast<float>(m_source.width()),
                        static_cast<float>(m_source.height())};
    m_layout.canvas = lumora::viewer::fit(picture, viewportInner());
}

void FrmPrev::RenderPicture() {
    const SizeF size{m_layout.canvas.width, m_layout.canvas.height};
    m_canvasDrawn = false;
    m_picCont->update();
    setCursor(Qt::WaitCursor);
    const QPointer<FrmPrev> self(this);
    if (!lumora::viewer::withinCanvasLimit(size)) {
        reachedLimit();
        if (!self.isNull()) {
            unsetCursor();
        }
        return;
    }
    for (int pass = 0; pass < 2; ++pass) {
        m_canvasDrawn = true;
        if (m_canvasShown && m_picCont->isVisible()) {
            m_picCont->repaint();
        }
        QCoreApplication::processEvents();
        if (self.isNull()) {
            return;
        }
    }
    unsetCursor();
}

void FrmPrev::placeCanvas(SizeF size) {
    m_layout.canvas = lumora::viewer::centred(size, viewportInner());
}

void FrmPrev::zoom(SizeF size) {
    setCanvasVisible(false);
    placeCanvas(size);
    renderAndShow();
}

void FrmPrev::renderAndShow() {
    const QPointer<FrmPrev> self(this);
    RenderPicture();
    if (self.isNull()) {
        return;
    }
    UpdateScrollBars();
    setCanvasVisible(true);
}

void FrmPrev::cPlus_Click() {
    const SizeF next = lumora::viewer::zoomedIn({m_layout.canvas.width, m_layout.canvas.height});
    // Beyond what the scroll bars can reach the picture could not be seen whole: the canvas
    // stays as it is.
    if (!lumora::viewer::withinCanvasLimit(next)) {
        reachedLimit();
        return;
    }
    zoom(next);
}

void FrmPrev::cMinus_Click() {
    zoom(lumora::viewer::zoomedOut({m_layout.canvas.width, m_layout.canvas.height}));
}

void FrmPrev::cEqual_Click() {
    setCanvasVisible(false);
    ResizeViewPort();
    renderAndShow();
}

void FrmPrev::cExact_Click() {
    zoom({static_cast<float>(m_source.width()), static_cast<float>(m_source.height())});
}

void FrmPrev::UpdateScrollBars() {
    updateBar(m_hScroll1, true);
    updateBar(m_vScroll1, false);
}

void FrmPrev::updateBar(QScrollBar* bar, bool horizontal) {
    const SizeF inner = viewportInner();
    const auto axis =
        lumora::viewer::scrollAxis(horizontal ? m_layout.canvas.width : m_layout.canvas.height,
                                   horizontal ? inner.width : inner.height);
    if (!axis.needed) {
        bar->setValue(bar->minimum()); // moves the canvas when the value changes
        bar->setEnabled(false);
        moveCanvas(horizontal, axis.position);
        return;
    }
    bar->show();
    bar->setEnabled(true);
    bar->setRange(0, -axis.maximum);
    // Only a changed value moves the canvas; an unchanged one leaves it where the action put it.
    bar->setValue(-axis.value);
}

void FrmPrev::moveCanvas(bool horizontal, float position) {
    (horizontal ? m_layout.canvas.left : m_layout.canvas.top) = position;
    m_picCont->update();
}

void FrmPrev::setCanvasVisible(bool shown) {
    m_canvasShown = shown;
    m_picCont->update();
}

void FrmPrev::applyLayout() {
    m_picCont->setGeometry(pixelRect(m_layout.viewport));
    m_hScroll1->setGeometry(pixelRect(m_layout.hScroll));
    m_vScroll1->setGeometry(pixelRect(m_layout.vScroll));
    m_picture1->move(pixel(m_layout.panel.left), pixel(m_layout.panel.top));
    m_picCont->update();
}

void FrmPrev::Form_Resize() {
    if (isMinimized()) {
        return;
    }
    m_layout = lumora::viewer::layoutPass(m_layout, static_cast<float>(width()),
                                          static_cast<float>(height()));
    applyLayout();
    UpdateScrollBars();
}

void FrmPrev::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Form_Resize();
}

void FrmPrev::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange &&
        (static_cast<QWindowStateChangeEvent*>(event)->oldState() & Qt::WindowMinimized) &&
        !isMinimized()) {
        Form_Resize(); // restored
    }
}

void FrmPrev::closeEvent(QCloseEvent* event) {
    event->accept();
    emit closed();
}

void FrmPrev::reachedLimit() {
    m_dialogs->messageBox(LUMORA_TR("Lumora", "You reached the limit"), lumora::kProductName,
                          lumora::MessageIcon::None);
}

void FrmPrev::showError(int number, const QString& description) {
    m_dialogs->messageBox(lumora::compose(LUMORA_TR("Lumora", "error %1 : %2"),
                                          {std::to_string(number), description.toStdString()}),
                          lumora::kProductName, lumora::MessageIcon::Critical);
}
