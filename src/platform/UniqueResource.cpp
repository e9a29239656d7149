#include "platform/UniqueResource.h"

#include <atomic>

namespace platform {

namespace {
std::atomic<MsiHandleCloser> g_msiHandleCloser{nullptr};
}

void SetMsiHandleCloser(MsiHandleCloser closer) noexcept { g_msiHandleCloser.store(closer); }

MsiHandleCloser GetMsiHandleCloser() noexcept { return g_msiHandleCloser.load(); }

}  // namespace platform
