#include "linux/ui/preview/preview_reference.h"

PreviewReference::~PreviewReference() {
    delete m_window.data();
}

void PreviewReference::StartProj(const std::string& path) {
    if (m_window.isNull()) {
        m_window = new FrmPrev();
        FrmPrev* opened = m_window;
        connect(opened, &FrmPrev::closed, this, [this, opened] {
            if (m_window == opened) {
                m_window = nullptr;
            }
            opened->deleteLater();
            emit windowClosed();
        });
    }
    m_window->StartProj(path);
}
