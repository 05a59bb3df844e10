#pragma once

namespace lumora {

// Qt takes the first thread that asks for its thread data as the application's main thread, and
// an application object made on any other thread then never gets its events right (the menu stops
// answering). The program's own threads use Qt (QImage hands work to the global thread pool),
// one of them before the application object exists: the thread that is to make it calls this
// first, so it has the role, and the pool, whatever another thread does next. Cheap; may be called
// again.
void claimQtMainThread();

} // namespace lumora
