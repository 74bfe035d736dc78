#include "resources/Resources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE must be used outside any namespace.
static void registerPictures() {
    Q_INIT_RESOURCE(resources);
}

namespace tablor {

void initResources() {
    static const bool registered = (registerPictures(), true);
    (void)registered;
}

} // namespace tablor
