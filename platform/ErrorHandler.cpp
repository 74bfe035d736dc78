#include "platform/ErrorHandler.h"

#include "platform/Errors.h"

#include <new>

namespace tablor {

bool guarded(Platform& platform, const std::function<void()>& command) {
    std::string message;
    try {
        command();
        return true;
    } catch (const TablorError& e) {
        message = e.what();
    } catch (const std::bad_alloc&) {
        message = "Mémoire insuffisante";
    } catch (const std::exception& e) {
        message = e.what();
    } catch (...) {
        message = "Erreur inattendue";
    }
    platform.errorBox(QString::fromStdString(withFullStop(message)));
    return false;
}

} // namespace tablor
