#include "controls/TImgManager.h"

namespace mirel {

TImgManager::TImgManager(QObject *parent) : QObject(parent) {}

} // namespace mirel
