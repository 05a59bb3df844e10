#pragma once
// The one reference to the preview window: created on the first thumbnail click, reused while the
// window is open, released when it closes (the next click opens a fresh window).
#include "core/ports/windows.h"
#include "linux/ui/preview/frm_prev.h"

#include <QObject>
#include <QPointer>

class PreviewReference : public QObject, public lumora::PreviewWindow {
    Q_OBJECT
public:
    explicit PreviewReference(QObject* parent = nullptr) : QObject(parent) {}
    ~PreviewReference() override;

    void StartProj(const std::string& path) override;
    // The open window, or null.
    FrmPrev* window() const { return m_window; }

signals:
    void windowClosed();

private:
    QPointer<FrmPrev> m_window;
};
