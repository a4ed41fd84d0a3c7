#pragma once

#include "../app/RecordingPresenter.h"
#include "app/MirelMain.h"

#include <memory>

namespace mirel::test {

// The real window on the site server at the port, its boxes recorded by the presenter, no
// browser started; shown.
std::unique_ptr<TMirelMain> windowOnServer(int port, const QString &webFolder,
                                           std::shared_ptr<RecordingPresenter> presenter);

// Picks the engine and the two languages by their shown names, types the passage and
// clicks Translate.
void translateInWindow(TMirelMain &window, const QString &engine, const QString &source,
                       const QString &target, const QString &passage);

} // namespace mirel::test
