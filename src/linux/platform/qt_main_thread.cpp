#include "linux/platform/qt_main_thread.h"

#include <QThread>
#include <QThreadPool>

namespace lumora {

void claimQtMainThread() {
    QThread::currentThread();
    QThreadPool::globalInstance();
}

} // namespace lumora
